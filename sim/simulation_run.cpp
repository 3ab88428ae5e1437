// One "Plot" run: a measuring pass that finds the extremes for the automatic
// scales, then a drawing pass that hands every sample to the traces, one
// repaint, and the result texts. A sample is one time step of t seconds and
// one pixel column; no sample is kept once it is drawn.

#include "app/main_window.h"
#include "sim/circuit_types.h"
#include "sim/result_figure.h"
#include "sim/run_result.h"
#include "sim/sim_constants.h"

#include "framework/canvas.h"
#include "framework/runtime.h"
#include "framework/static_text.h"
#include "framework/text.h"
#include "framework/text_field.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace {

// The result labels, each with its caption, in the order they are written.
struct ResultLabel {
    const char* name;
    const char* caption;
};
constexpr ResultLabel kLoadVoltageLabel{"LoadVt", "Load V (min/max) ="};
constexpr ResultLabel kLoadCurrentLabel{"LoadIt", "Load I (min/max) ="};
constexpr ResultLabel kDiodePivLabel{"Dpivt", "Diode PIV ="};
constexpr ResultLabel kDiodePeakLabel{"DIpkt", "Diode Ipk ="};
constexpr ResultLabel kResultLabels[] = {kLoadVoltageLabel, kLoadCurrentLabel, kDiodePivLabel,
                                         kDiodePeakLabel};

constexpr const char* kLoadMask = "###.###"; // load figures, three decimals at most
constexpr const char* kDiodeMask = "###.##"; // diode figures, two decimals at most
constexpr const char* kSecondLine = "\r";    // puts the load figures under their caption
constexpr const char* kPairSeparator = "/";  // between minimum and maximum
// The longest integer part, sign included, that each figure can have and
// still show whole in its label, at the smallest size to which the label's
// text is fitted; a longer one shows in exponent form. The two load figures
// share one line of their label.
constexpr std::size_t kLoadFigureRoom = 29;
constexpr std::size_t kDiodeFigureRoom = 58;

// Once a load voltage is not a number the extremes stay not a number, so that
// a run with a capacitance, load or frequency of 0 reports "NAN" rather than
// the figures it started from.
double Larger(double a, double b) {
    return std::isnan(a) || std::isnan(b) ? std::numeric_limits<double>::quiet_NaN()
                                          : std::max(a, b);
}
double Smaller(double a, double b) {
    return std::isnan(a) || std::isnan(b) ? std::numeric_limits<double>::quiet_NaN()
                                          : std::min(a, b);
}

// A load empties a capacitor at most: a larger step would swing it below 0, then diverge.
double AtMostEmptying(double drop, double charge) {
    return 0 < charge && charge < drop && std::isfinite(drop) ? charge : drop;
}

// Where the minima start: above every figure, so that a minimum is always a
// sample's. Without a counted sample it stays and shows as such.
constexpr double kNoMinimum = std::numeric_limits<double>::infinity();

sim::RunResult& StoredResult() {
    static sim::RunResult result;
    return result;
}

// The run state and the two passes. The circuit parameters live in the main
// window; Phase, Es, CapI and NumSamples are written there as the passes go.
class SimulationRun {
public:
    explicit SimulationRun(MainWindow& window)
        : window_(window)
        , canvas_(fw::ControlByName<fw::Canvas>(window, "Canvas1"))
        , startPhase_(fw::ControlByName<fw::TextField>(window, "EFLinePhase")) {}

    // One pass over the width of the plot. Only the drawing pass draws;
    // which capacitor of the doubler charges carries over between passes.
    void Pass(bool drawing) {
        drawing_ = drawing;
        minV_ = minI_ = kNoMinimum;
        maxV_ = maxI_ = maxDiodeI_ = 0;
        capV1_ = capV2_ = dropV_ = 0;
        window_.CapI = 0;
        const sim::CircuitType* circuit = sim::FindCircuitType(window_.RectType);
        blocksNegativeHalf_ = circuit != nullptr && circuit->blocksNegativeHalf;

        window_.Phase = fw::CDbl(startPhase_.Text()) * sim::kRadiansPerDegree;
        if (window_.Phase == 0) {
            window_.Phase = window_.Interval;
        }
        window_.NumSamples = 0;
        // The width is read before every sample, as the plot could change.
        while (window_.NumSamples <= canvas_.Width() - 1) {
            Sample();
        }
    }

    // The figures as they stand. The diode figure is the peak inverse voltage
    // that each diode has to block, which its voltage rating is chosen by; a
    // circuit type the simulation does not know is taken as blocking Epk.
    sim::RunResult Result() const {
        const sim::CircuitType* circuit = sim::FindCircuitType(window_.RectType);
        const double pivPerEpk = circuit != nullptr ? circuit->inversePeakPerEpk : 1.0;
        return {minV_, maxV_, minI_, maxI_, maxDiodeI_, pivPerEpk * window_.Epk};
    }

private:
    void Sample() {
        MainWindow& w = window_;
        if (w.Doubler && w.NumSamples % sim::kSamplesPerChargeWindow == 0) {
            chargeCap1_ = !chargeCap1_;
        }
        const double sine = std::sin(w.Phase);
        w.Es = w.Epk * std::abs(sine); // the rectified source, Es = Epk |sin(phase)|
        const bool canConduct = !(blocksNegativeHalf_ && sine < 0);

        if (w.Doubler) {
            ChargeDoublerCapacitors();
        } else {
            ChargeFilterCapacitor(canConduct);
        }

        if (0 < w.CapI) {
            if (drawing_) {
                w.AddDataPointI(w.CapI);
                w.AddDataPointD(w.DiodeV);
            }
            maxDiodeI_ = std::max(maxDiodeI_, w.CapI);
        } else if (drawing_) {
            w.AddDataPointI(0);
            w.AddDataPointD(0);
        }

        w.Phase = w.Phase + w.Interval;
        // The start-up charge is left out of the load figures.
        if (w.NumSamples > sim::kLastStartupSample) {
            const double loadV = capV1_ + capV2_;
            maxV_ = Larger(maxV_, loadV);
            maxI_ = maxV_ / w.LoadR;
            minV_ = Smaller(minV_, loadV);
            minI_ = minV_ / w.LoadR;
        }
        fw::RuntimeBackgroundTask();
        w.NumSamples = w.NumSamples + 1;
    }

    // Bridge, full wave and half wave: one capacitor, charged whenever the
    // source rises above it by the diodes' threshold.
    void ChargeFilterCapacitor(bool canConduct) {
        MainWindow& w = window_;
        capV1_ = capV1_ - dropV_;
        if (w.Es - w.NumDiodes * w.DiodeVI[0][0] < capV1_ || !canConduct) {
            w.CapI = 0;
        } else {
            w.ComputeCapI(capV1_);
            capV1_ = capV1_ + (w.CapI * w.t) / w.C; // dV = I t / C
        }
        // The load's share: dV = (V / R) t / C
        dropV_ = AtMostEmptying(((capV1_ / w.LoadR) * w.t) / w.C, capV1_);
        if (drawing_) {
            w.AddDataPointV(capV1_);
        }
    }

    // The doubler: two capacitors in series, charged in turn by windows of
    // samples, each through one diode. The load drains both.
    void ChargeDoublerCapacitors() {
        MainWindow& w = window_;
        capV1_ = capV1_ - dropV_;
        capV2_ = capV2_ - dropV_;
        double& charging = chargeCap1_ ? capV1_ : capV2_;
        if (w.Es - w.DiodeVI[0][0] < charging) {
            w.CapI = 0;
        } else {
            w.ComputeCapI(charging);
            charging = charging + (w.CapI * w.t) / w.C; // dV = I t / C
        }
        // dV = (V1 + V2) / R t / C, each capacitor holding half of the pair's charge
        dropV_ = AtMostEmptying((((capV1_ + capV2_) / w.LoadR) * w.t) / w.C, (capV1_ + capV2_) / 2);
        // The other capacitor's diode conducts once a capacitor is driven
        // below 0, which holds it at minus that diode's drop.
        const double reverseFloor = -w.DiodeVI[1][0];
        if (capV1_ < 0) {
            capV1_ = std::max(reverseFloor, capV1_);
        }
        if (capV2_ < 0) {
            capV2_ = std::max(reverseFloor, capV2_);
        }
        if (drawing_) {
            w.AddDataPointV(capV1_ + capV2_);
        }
    }

    MainWindow& window_;
    fw::Canvas& canvas_;
    fw::TextField& startPhase_;
    bool blocksNegativeHalf_ = false;

    // The run state, volts and amperes.
    double minV_ = kNoMinimum;
    double minI_ = kNoMinimum;
    double maxV_ = 0;
    double maxI_ = 0;
    double maxDiodeI_ = 0;
    double capV1_ = 0; // the filter capacitor, or the doubler's first
    double capV2_ = 0; // the doubler's second capacitor; 0 in the other circuits
    double dropV_ = 0; // what each capacitor loses to the load by the next sample
    bool chargeCap1_ = false;
    bool drawing_ = false;
};

void SetLabelText(MainWindow& window, const ResultLabel& label, const std::string& figures) {
    fw::ControlByName<fw::StaticText>(window, label.name).SetText(label.caption + figures);
}

std::string LoadFigure(double value) {
    return sim::ResultFigure(value, kLoadMask, kLoadFigureRoom);
}
std::string DiodeFigure(double value) {
    return sim::ResultFigure(value, kDiodeMask, kDiodeFigureRoom);
}

void WriteResultTexts(MainWindow& window, const sim::RunResult& result) {
    SetLabelText(window, kLoadVoltageLabel,
                 kSecondLine + LoadFigure(result.minV) + kPairSeparator + LoadFigure(result.maxV));
    SetLabelText(window, kLoadCurrentLabel,
                 kSecondLine + LoadFigure(result.minI) + kPairSeparator + LoadFigure(result.maxI));
    SetLabelText(window, kDiodePivLabel, DiodeFigure(result.diodePiv));
    SetLabelText(window, kDiodePeakLabel, DiodeFigure(result.maxDiodeI));
}

} // namespace

namespace sim {

const RunResult& LastRunResult() {
    return StoredResult();
}

} // namespace sim

void MainWindow::PlotPB_Action() {
    SimulationRun run(*this);
    // A run that fails part way leaves the bare captions, never old figures.
    for (const ResultLabel& label : kResultLabels) {
        SetLabelText(*this, label, "");
    }
    Setup();

    run.Pass(/*drawing=*/false);
    const sim::RunResult measured = run.Result();
    SetVScale(measured.maxV);
    SetIScale(measured.maxDiodeI);
    fw::RuntimeBackgroundTask();

    run.Pass(/*drawing=*/true);
    fw::ControlByName<fw::Canvas>(*this, "Canvas1").Refresh(true);

    StoredResult() = run.Result();
    WriteResultTexts(*this, StoredResult());
}

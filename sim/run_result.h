#pragma once

// The figures of the latest "Plot" run at full precision: the result labels
// show them rounded to two or three decimals.
namespace sim {

struct RunResult {
    double minV = 0;      // smallest load voltage after the start-up charge, volts
    double maxV = 0;      // largest load voltage after the start-up charge, volts
    double minI = 0;      // minV / LoadR, amperes
    double maxI = 0;      // maxV / LoadR, amperes
    double maxDiodeI = 0; // peak charging current over the whole pass, amperes
    double diodePiv = 0;  // peak inverse voltage of one diode, volts
};

// What the drawing pass of the latest run left; all 0 before the first run.
const RunResult& LastRunResult();

} // namespace sim

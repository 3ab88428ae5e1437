#pragma once

// The simulation's constants, used at exactly the precision written here:
// the reference figures users compare against were computed with them.
namespace sim {

inline constexpr double kPeakFactor = 1.41421356;                 // RMS to peak, 8 decimals
inline constexpr double kFaradsPerMicrofarad = 1e-06;             // farads per microfarad
inline constexpr double kPhaseStep = 0.031415926535;              // radians per sample
inline constexpr double kSamplesPerCycle = 200;                   // samples per line cycle
inline constexpr double kRadiansPerDegree = 0.017453292522222223; // 3.141592654 / 180
inline constexpr double kNoDiodeDrop = 99999999.0;                // volts; above any real drop
inline constexpr int kLastStartupSample = 600; // extremes count from the next sample on
// Samples of each doubler charging window; then the other capacitor charges.
inline constexpr int kSamplesPerChargeWindow = 100;
// Bisection steps at most, a backstop only: for a capacitance of 0 F or more
// two successive midpoints meet the stop test after at most about 2100
// halvings, the distance from the largest double to the smallest.
inline constexpr int kBisectionStepLimit = 4096;

} // namespace sim

#pragma once

#include <array>

// The full scales that both axes choose from, automatically or by the arrows,
// in ascending order: 1, 1.6, 2, 4 and 8 within a decade, from 0.002 to
// 10000.
namespace plot {

// clang-format off
inline constexpr std::array<double, 34> kScaleSteps = {
    0.002, 0.004, 0.008,                //  0 to  2
    0.01,  0.016, 0.02,  0.04,  0.08,   //  3 to  7
    0.1,   0.16,  0.2,   0.4,   0.8,    //  8 to 12
    1,     1.6,   2,     4,     8,      // 13 to 17
    10,    16,    20,    40,    80,     // 18 to 22
    100,   160,   200,   400,   800,    // 23 to 27
    1000,  1600,  2000,  4000,  8000,   // 28 to 32
    10000,                              // 33
};
// clang-format on

inline constexpr int kLastScaleStep = static_cast<int>(kScaleSteps.size()) - 1;

} // namespace plot

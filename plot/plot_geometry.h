#pragma once

// Geometry of the waveform picture and of the plot area that shows it.
namespace plot {

inline constexpr int kPictureWidth = 800;       // pixels; one column per sample
inline constexpr int kPictureHeight = 500;      // pixels; rows 400 to 499 are never shown
inline constexpr double kZeroRow = 400.0;       // the row of the value 0
inline constexpr double kFullScaleRows = 400.0; // rows from 0 up to the full scale

} // namespace plot

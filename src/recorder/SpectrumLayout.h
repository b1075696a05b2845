#pragma once
// Where the 500 values of a spectrum frame sit in frequency, and what their numbers mean.
//
// Layout: value i covers the frequencies [20 Hz * 1000^(i/500), 20 Hz * 1000^((i+1)/500)), so
// the 500 values run logarithmically from 20 Hz to 20 kHz, about 167 values per decade, each about
// 1.4 % wider than the one before (value 116 holds 100 Hz, value 283 holds 1 kHz). The layout
// does not depend on the sample rate; values above the input's Nyquist frequency are 0. The
// configurator reads values 5j .. 5j+3 as band j, so its 25 bands are 0.4 octave wide.
//
// Scale: a value is the level of the loudest component in its frequency range, in decibels
// relative to a full-scale sine, above a floor of -90 dB, in units of 1/25 dB:
//   value = round(25 * (level_dB + 90)), clamped to 0 .. 2250.
// A full-scale sine gives 2250; -90 dB and below, and silence, give 0. The configurator sums
// the frame-to-frame differences of four values per band, so bands follow change, not
// loudness: the few decibels music moves from frame to frame become band levels around a
// hundred, its onsets (tens of decibels) one to two thousand, which is what the keyboard's
// music effect spans.

#include <cstddef>
#include <cstdint>

namespace recorder {

inline constexpr std::size_t kSpectrumValues = 500;
inline constexpr double kLowestHz = 20.0;
inline constexpr double kHighestHz = 20000.0;
inline constexpr double kFloorDb = -90.0;
inline constexpr double kUnitsPerDb = 25.0;
inline constexpr std::int32_t kMaxValue = 2250; // 0 dB, a full-scale sine

// Lower edge of value i in Hz; i = 500 gives the upper edge of the last value (20 kHz).
double LowerEdgeHz(std::size_t i);
// The value whose range holds `hz`, or -1 below 20 Hz or at 20 kHz and above.
int ValueForFrequency(double hz);
// The scaled value of a level in dB relative to full scale (-infinity for silence gives 0).
std::int32_t ScaleDecibels(double db);

} // namespace recorder

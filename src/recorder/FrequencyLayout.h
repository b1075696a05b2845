#pragma once
// Where the 500 values of a spectrum frame sit in frequency, and what their numbers mean.
//
// Layout: the configurator reads values 5j .. 5j+3 as its band j, j = 0 … 24, so only the first
// 125 of the 500 values reach the keyboard: they carry the whole range. Value i < 125 covers
// [20 Hz * 1000^(i/125), 20 Hz * 1000^((i+1)/125)), logarithmically from 20 Hz to 20 kHz,
// about 42 values per decade, each about 5.7 % wider than the one before (value 29 holds
// 100 Hz, value 70 holds 1 kHz); a band is 0.4 octave wide. Values 125 … 499 are 0. The layout
// does not depend on the sample rate; values above the input's Nyquist frequency are 0.
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
// The values that carry the spectrum; the others are 0.
inline constexpr std::size_t kLayoutValues = 125;
inline constexpr double kLowestHz = 20.0;
inline constexpr double kHighestHz = 20000.0;
inline constexpr double kFloorDb = -90.0;
inline constexpr double kUnitsPerDb = 25.0;
inline constexpr std::int32_t kMaxValue = 2250; // 0 dB, a full-scale sine

// Lower edge of value i in Hz; i = 125 gives the upper edge of the last value (20 kHz).
double LowerEdgeHz(std::size_t i);
// The value (0 … 124) whose range holds `hz`, or -1 below 20 Hz or at 20 kHz and above.
int ValueForFrequency(double hz);
// The scaled value of a level in dB relative to full scale (-infinity for silence gives 0).
std::int32_t ScaleDecibels(double db);

} // namespace recorder

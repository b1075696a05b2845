#pragma once
// What the previews of the keyboard's own effects share: the keys of the key grid, painting
// keys, showing the per-key intensities, the pseudo-random sparks and the direction of a wave.

#include "devices/LightEngine.h"

#include <cstdint>
#include <span>

namespace devices::preview {

inline constexpr int kColumns = static_cast<int>(kGridColumns);
inline constexpr int kRows = static_cast<int>(kGridRows);
inline constexpr int kWheel = static_cast<int>(kWheelSize);
inline constexpr std::uint8_t kFullIntensity = 255;

struct GridPoint {
    std::uint8_t column;
    std::uint8_t row;
    std::uint8_t key;
};

// Every grid position holding a key, column by column, top row first.
std::span<const GridPoint> GridKeys();

// `value` moved by `by` round a circle of `size`, either way.
int Wrap(int value, int by, int size);

// `leds` all black with alpha 0.
void ClearFrame(std::span<LedColour> leds);
// Paints on-screen key `key`; a key beyond `leds` (170 and up) is left alone.
void PaintKey(std::span<LedColour> leds, std::uint8_t key, Rgb colour, std::uint8_t alpha);
// The wheel entry `phase` with the multi-colour flag, else the fixed colour.
Rgb EffectColour(const LightSettings& settings, int phase);
// `value` (0-255) scaled by the brightness level.
std::uint8_t LevelAlpha(const LightSettings& settings, int value);

// Clears what a preview draws from: the step counter, the key intensities and phases and the
// preview state. The pseudo-random sequence goes on.
void ClearPreview(EffectState& state);
// Key `key` at full intensity in wheel entry `phase`.
void LightKey(EffectState& state, std::uint8_t key, int phase);
// The key at a grid position at full intensity; nothing for a gap or a position off the grid.
void LightPosition(EffectState& state, int column, int row, int phase);
// One decay step of every key for `effect`.
void DecayKeys(EffectState& state, int effect);
// Every grid key with an intensity: its colour (its wheel phase, the wheel always or only with
// the multi-colour flag) at the brightness level scaled by the intensity.
void ShowIntensities(std::span<LedColour> leds, const LightSettings& settings,
                     const EffectState& state, bool alwaysWheel = false);

// The next number of the state's pseudo-random sequence, below `bound` (above 0).
std::uint32_t RandomBelow(EffectState& state, std::uint32_t bound);
const GridPoint& RandomGridKey(EffectState& state);
// Counts down to the next spark; true when it is due (at once after a reset), and then the
// next one is due after `least + 1` to `least + spread` more frames.
bool SparkDue(EffectState& state, int least, int spread);

// A position along a wave's axis of `length` positions, walked from its far end when
// `reversed`.
inline int Along(int position, int length, bool reversed) {
    return reversed ? length - 1 - position : position;
}

} // namespace devices::preview

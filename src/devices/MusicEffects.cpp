#include "devices/MusicEffects.h"

#include <algorithm>
#include <cstdlib>

namespace devices {

namespace {

constexpr int kLevelSpan = 600;
constexpr std::int64_t kValueSpan = 2000;
constexpr int kCappedLevel = 500;
constexpr std::uint8_t kCovered = 255;
constexpr std::uint8_t kBackgroundBelow = 10; // intensities 0-9 show the background
constexpr int kBarDecay = 29;
constexpr int kRingDecay = 0;
constexpr int kWheel = static_cast<int>(kWheelSize);
constexpr int kBands = static_cast<int>(kMusicBands);
constexpr int kColumns = static_cast<int>(kGridColumns);
constexpr int kRows = static_cast<int>(kGridRows);
constexpr int kCallsPerBandMove = 31;
constexpr int kRippleStartSum = 71;
constexpr std::uint8_t kRippleKey = 51;
constexpr std::uint8_t kRowMask = (1u << kGridRows) - 1;

using Levels = std::array<int, kMusicBands>;

// `value` moved by `by` round a circle of `size`, either way.
int Wrap(int value, int by, int size) {
    return ((value + by) % size + size) % size;
}

int DirectionStep(const LightSettings& settings) {
    return settings.direction == 0 ? 1 : -1;
}

Levels LevelsOf(const MusicSpectrum& spectrum, bool capLoud) {
    Levels levels{};
    for (std::size_t b = 0; b < kMusicBands; ++b)
        levels[b] = BandLevel(spectrum[b], capLoud);
    return levels;
}

int MeanLevel(const Levels& levels) {
    std::int64_t sum = 0;
    for (int l : levels)
        sum += l;
    return static_cast<int>(sum / kBands);
}

// The state of one frame: which keys a bar covered in this call.
struct Canvas {
    EffectState& state;
    std::array<bool, kIntensityCount> covered{};

    void Cover(std::uint8_t key, int phase) {
        if (key >= kIntensityCount)
            return;
        state.intensity[key] = kCovered;
        state.keyPhase[key] = static_cast<std::uint8_t>(phase);
        covered[key] = true;
    }
    void Decay(std::uint8_t key, int effect) {
        if (key < kIntensityCount)
            state.intensity[key] = DecayKey(state.intensity[key], effect);
    }
    void DecayUncovered() {
        for (std::size_t k = 0; k < kIntensityCount; ++k) {
            if (!covered[k])
                Decay(static_cast<std::uint8_t>(k), kBarDecay);
        }
    }
};

void ShowBars(std::span<LedColour> leds, const LightSettings& settings,
              const config::AudioLightRecord& audio, const EffectState& state) {
    const int level = BrightnessLevel(settings.brightness);
    const std::size_t count = std::min(leds.size(), kIntensityCount);
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint8_t v = state.intensity[k];
        if (v < kBackgroundBelow) {
            leds[k] = {audio.bkRed, audio.bkGreen, audio.bkBlue, static_cast<std::uint8_t>(level)};
            continue;
        }
        const Rgb fg = audio.sevenColorFlags ? Wheel(state.keyPhase[k])
                                             : Rgb{audio.fgRed, audio.fgGreen, audio.fgBlue};
        leds[k] = {fg.red, fg.green, fg.blue, static_cast<std::uint8_t>(level * v >> 8)};
    }
}

void ShowRings(std::span<LedColour> leds, const LightSettings& settings, const EffectState& state) {
    const int level = BrightnessLevel(settings.brightness);
    const std::size_t count = std::min(leds.size(), kIntensityCount);
    for (std::size_t k = 0; k < count; ++k) {
        const Rgb c = Wheel(state.keyPhase[k]);
        leds[k] = {c.red, c.green, c.blue,
                   static_cast<std::uint8_t>(level * state.intensity[k] >> 8)};
    }
}

// The band of the first column moves on by one every 31 calls.
void MoveStartBandSlowly(const LightSettings& settings, EffectState& state) {
    if (++state.bandCalls < kCallsPerBandMove)
        return;
    state.bandCalls = 0;
    state.startBand =
        static_cast<std::uint8_t>(Wrap(state.startBand, DirectionStep(settings), kBands));
}

void AdvanceColourCounter(EffectState& state) {
    state.stepCounter = static_cast<std::uint8_t>(Wrap(state.stepCounter, 1, kWheel));
}

// Modes 0 and 4: a bar per column from the bottom up (0) or from the top down (4).
void DrawColumns(Canvas& canvas, const Levels& levels, bool hanging) {
    EffectState& state = canvas.state;
    AdvanceColourCounter(state);
    for (int i = 0; i < kColumns; ++i) {
        const int l = levels[static_cast<std::size_t>((state.startBand + i) % kBands)];
        const int firstRow = (l + 100) * kRows / kLevelSpan;
        const int phase = (state.stepCounter + 10 * i) % kWheel;
        for (int r = 0; r < kRows; ++r) {
            const int fromBottom = hanging ? kRows - 1 - r : r;
            if (fromBottom >= firstRow)
                canvas.Cover(GridKey(i, r), phase);
        }
    }
}

// Modes 5 and 6: a bar per row from the left edge (5) or from the right edge (6), fed from
// six groups of bands, the bass at the bottom.
void DrawRows(Canvas& canvas, const MusicSpectrum& spectrum, bool fromRight) {
    constexpr std::array<int, kGridRows> kGroupSizes = {2, 3, 3, 4, 5, 7};
    std::array<int, kGridRows> groupLevels{};
    std::size_t band = 0;
    for (std::size_t g = 0; g < kGridRows; ++g) {
        std::int64_t sum = 0;
        for (int n = 0; n < kGroupSizes[g]; ++n)
            sum += spectrum[band++];
        groupLevels[g] = BandLevel(sum / 3, false);
    }
    EffectState& state = canvas.state;
    AdvanceColourCounter(state);
    for (int r = 0; r < kRows; ++r) {
        const int l = groupLevels[static_cast<std::size_t>(kRows - 1 - r)];
        const int last = std::min(kColumns - 1, 23 - (l * 23 + 2300) / kLevelSpan);
        for (int j = 0; j <= last; ++j) {
            const int column = fromRight ? kColumns - 1 - j : j;
            canvas.Cover(GridKey(column, r), (state.stepCounter + 3 * j) % kWheel);
        }
    }
}

// Mode 1: in each row a left bar over columns 0-8 and a right bar over 9-22 grow outward
// from the middle; a key falls back once its outward neighbour has.
void DrawSplitRows(Canvas& canvas, const LightSettings& settings, const Levels& levels) {
    EffectState& state = canvas.state;
    state.startBand =
        static_cast<std::uint8_t>(Wrap(state.startBand, DirectionStep(settings), kBands));
    AdvanceColourCounter(state);
    int p = state.startBand;
    for (int r = 0; r < kRows; ++r) {
        p = Wrap(p, 3, kBands);
        const int a = (levels[static_cast<std::size_t>(p)] + 100) * 12 / kLevelSpan;
        const int b = (levels[static_cast<std::size_t>(2 * r + 1)] + 100) * 12 / kLevelSpan;
        for (int i = 0; i < kColumns; ++i) {
            const std::uint8_t k = GridKey(i, r);
            if (k >= kNoGridKey)
                continue;
            const bool left = i <= 8;
            const bool edge = i == 0 || i >= 21;
            const std::uint8_t outward = GridKey(left ? i - 1 : i + 1, r);
            if (edge || outward >= kNoGridKey || state.intensity[outward] < kBackgroundBelow)
                canvas.Decay(k, kBarDecay);
            if (left ? i >= a : i <= 21 - b)
                canvas.Cover(k, (state.stepCounter + 7 * i) % kWheel);
        }
    }
}

std::uint8_t RandomPhase(EffectState& state) {
    std::uint32_t x = state.randomSeed;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    state.randomSeed = x;
    return static_cast<std::uint8_t>(x % kWheelSize);
}

void StartRipple(EffectState& state, std::uint8_t key) {
    for (std::size_t c = 0; c < kGridColumns; ++c) {
        for (std::size_t r = 0; r < kGridRows; ++r) {
            if (GridKey(c, r) != key)
                continue;
            for (auto& plane : state.planes)
                plane[c] |= static_cast<std::uint8_t>(1u << r);
        }
    }
}

// The four planes carry a ripple's front left, right, up and down, one grid step per call;
// a front leaving the grid is gone.
void MoveRipples(EffectState& state) {
    auto& [left, right, up, down] = state.planes;
    std::rotate(left.begin(), left.begin() + 1, left.end());
    left.back() = 0;
    std::rotate(right.rbegin(), right.rbegin() + 1, right.rend());
    right.front() = 0;
    for (std::uint8_t& column : up)
        column = static_cast<std::uint8_t>(column >> 1);
    for (std::uint8_t& column : down)
        column = static_cast<std::uint8_t>((column << 1) & kRowMask);
}

// Mode 2: the loudness, summed over the calls, starts a ripple at the middle of the keys.
void DrawRipples(Canvas& canvas, const config::AudioLightRecord& audio, const Levels& levels) {
    EffectState& state = canvas.state;
    state.rippleSum += 25 - MeanLevel(levels) * 25 / kLevelSpan;
    if (state.rippleSum >= kRippleStartSum) {
        state.rippleSum = 0;
        StartRipple(state, kRippleKey);
    }
    for (std::size_t c = 0; c < kGridColumns; ++c) {
        for (std::size_t r = 0; r < kGridRows; ++r) {
            const std::uint8_t k = GridKey(c, r);
            const bool marked = std::any_of(state.planes.begin(), state.planes.end(),
                                            [&](const auto& plane) { return plane[c] >> r & 1; });
            if (!marked || k >= kNoGridKey)
                continue;
            state.intensity[k] = kCovered;
            if (audio.sevenColorFlags)
                state.keyPhase[k] = RandomPhase(state);
        }
    }
    MoveRipples(state);
    for (std::size_t k = 0; k < kIntensityCount; ++k) {
        canvas.Decay(static_cast<std::uint8_t>(k), kBarDecay);
        state.keyPhase[k] = static_cast<std::uint8_t>(Wrap(state.keyPhase[k], 9, kWheel));
    }
}

// Mode 3: the louder the music, the more rings around the centre key light.
void DrawRings(Canvas& canvas, const LightSettings& settings, const Levels& levels) {
    EffectState& state = canvas.state;
    const int s = MeanLevel(levels) * 20 / kLevelSpan;
    std::uint8_t& phase = state.phase[kColourPhase];
    phase = static_cast<std::uint8_t>(Wrap(phase, s * DirectionStep(settings), kWheel));
    int c = phase;
    for (int r = 0; r < static_cast<int>(kRingCount); ++r) {
        c = Wrap(c, 9, kWheel);
        for (std::size_t slot = 0; slot < kRingSlots; ++slot) {
            const std::uint8_t k = RingKey(static_cast<std::size_t>(r), slot);
            if (k >= kNoGridKey)
                continue;
            if (r < 20 - s)
                canvas.Cover(k, c);
            else
                canvas.Decay(k, kRingDecay);
        }
    }
}

std::uint8_t Channel(std::int32_t value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

} // namespace

int BandLevel(std::int64_t value, bool capLoud) {
    const std::int64_t scaled = value * std::int64_t{kLevelSpan} / kValueSpan;
    if (capLoud && scaled > kLevelSpan)
        return kCappedLevel;
    return static_cast<int>(std::clamp<std::int64_t>(kLevelSpan - scaled, -1'000'000, 1'000'000));
}

void RenderMusicFrame(std::span<LedColour> leds, const LightSettings& settings,
                      const config::AudioLightRecord& audio, EffectState& state,
                      const MusicSpectrum& spectrum) {
    Canvas canvas{state};
    switch (audio.audioMode) {
    case kAudioSplitRows:
        DrawSplitRows(canvas, settings, LevelsOf(spectrum, false));
        break;
    case kAudioRipples:
        DrawRipples(canvas, audio, LevelsOf(spectrum, false));
        break;
    case kAudioRings:
        DrawRings(canvas, settings, LevelsOf(spectrum, false));
        ShowRings(leds, settings, state);
        return;
    case kAudioHangingColumns:
        DrawColumns(canvas, LevelsOf(spectrum, true), true);
        MoveStartBandSlowly(settings, state);
        canvas.DecayUncovered();
        break;
    case kAudioRows:
    case kAudioRightRows:
        DrawRows(canvas, spectrum, audio.audioMode == kAudioRightRows);
        canvas.DecayUncovered();
        break;
    default:
        DrawColumns(canvas, LevelsOf(spectrum, true), false);
        MoveStartBandSlowly(settings, state);
        canvas.DecayUncovered();
        break;
    }
    ShowBars(leds, settings, audio, state);
}

void RenderMusicColourFrame(std::span<LedColour> leds, const LightSettings& settings,
                            const MusicSettings& music) {
    std::fill(leds.begin(), leds.end(),
              LedColour{Channel(music[0]), Channel(music[1]), Channel(music[2]),
                        BrightnessLevel(settings.brightness)});
}

} // namespace devices

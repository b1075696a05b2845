// The music effects over the key grid: whole frames worked out by hand for small spectra.
// Keys are on-screen keys; a covered key has intensity 255, so at brightness 3 it shows
// alpha 255 × 255 >> 8 = 254, and one decay step of effect 29 takes 45 from it.

#include "devices/MusicEffects.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace devices;

namespace {

constexpr Rgb kFg{200, 0, 0};
constexpr Rgb kBg{0, 0, 50};

struct MusicFrame {
    std::vector<LedColour> leds = std::vector<LedColour>(170, LedColour{9, 9, 9, 9});
    EffectState state;
    LightSettings settings{29, 3, 0, 0, 0, 0, 0, 0};
    config::AudioLightRecord audio{0,         kBg.red,  kBg.green, kBg.blue, kFg.red,
                                   kFg.green, kFg.blue, 0,         0};
    MusicSpectrum spectrum{};

    void Render() {
        RenderMusicFrame(leds, settings, audio, state, spectrum);
        spectrum = {};
    }
};

LedColour Lit(Rgb c, std::uint8_t alpha) {
    return {c.red, c.green, c.blue, alpha};
}

// Expected frame: the listed keys in the foreground (fixed colour, or the wheel entry given
// with the key), every other key in the background at full brightness.
std::vector<LedColour> BarFrame(const std::vector<std::pair<int, Rgb>>& lit,
                                std::uint8_t litAlpha = 254) {
    std::vector<LedColour> frame(170, Lit(kBg, 255));
    for (const auto& [key, colour] : lit)
        frame[static_cast<std::size_t>(key)] = Lit(colour, litAlpha);
    return frame;
}

std::vector<std::pair<int, Rgb>> InColour(const std::vector<int>& keys, Rgb colour) {
    std::vector<std::pair<int, Rgb>> lit;
    for (int k : keys)
        lit.emplace_back(k, colour);
    return lit;
}

TEST(MusicLevels, LoudBandsGiveLowLevelsAndColumnsCapBeyondTheScale) {
    EXPECT_EQ(BandLevel(0, false), 600);
    EXPECT_EQ(BandLevel(1000, false), 300);
    EXPECT_EQ(BandLevel(2000, true), 0);
    EXPECT_EQ(BandLevel(2003, true), 0) << "2003 × 600 / 2000 is 600, not above it";
    EXPECT_EQ(BandLevel(2004, true), 500);
    EXPECT_EQ(BandLevel(1'000'000, true), 500);
    EXPECT_EQ(BandLevel(2004, false), -1);
    EXPECT_EQ(BandLevel(-2000, false), 1200);
    // Values far off the scale stay beyond full and empty bars without overflowing.
    EXPECT_LT(BandLevel(INT32_MAX, false), -100);
    EXPECT_GT(BandLevel(INT32_MIN, false), 700);
}

TEST(MusicLevels, ExtremeSpectraFillOrEmptyEveryLayout) {
    for (std::uint8_t mode = 0; mode <= 7; ++mode) {
        SCOPED_TRACE(static_cast<int>(mode));
        MusicFrame loud;
        loud.audio.audioMode = mode;
        loud.spectrum.fill(INT32_MAX);
        loud.Render();
        MusicFrame quiet;
        quiet.audio.audioMode = mode;
        quiet.spectrum.fill(INT32_MIN);
        quiet.Render();
        EXPECT_EQ(quiet.state.intensity, decltype(quiet.state.intensity){});
        // Column bars take a value beyond the scale as level 500; a ripple needs three calls.
        const bool columns = mode == kAudioColumns || mode == kAudioHangingColumns || mode > 6;
        if (!columns && mode != kAudioRipples) {
            EXPECT_EQ(loud.state.intensity[70], 255);
        }
    }
}

TEST(MusicColumns, EachBandStandsAsABarOnTheBottomRow) {
    MusicFrame f;
    f.spectrum[0] = 2000; // level 0: rows 1-5 of column 0
    f.spectrum[1] = 1000; // level 300: rows 4 and 5 of column 1
    f.spectrum[2] = 3000; // beyond the scale: level 500, no row
    f.Render();
    EXPECT_EQ(f.leds, BarFrame(InColour({120, 121, 122, 123, 124, 84, 105}, kFg)));

    // Silence next: every key decays once and still shows the foreground.
    f.Render();
    EXPECT_EQ(f.leds, BarFrame(InColour({120, 121, 122, 123, 124, 84, 105}, kFg), 209));
    for (int k : {120, 84})
        EXPECT_EQ(f.state.intensity[static_cast<std::size_t>(k)], 210);
}

TEST(MusicColumns, SevenColoursRunTenWheelEntriesPerColumnFromTheStepCounter) {
    MusicFrame f;
    f.audio.sevenColorFlags = 1;
    f.state.stepCounter = 190; // the first call moves it to 191
    f.spectrum[0] = 2000;
    f.spectrum[1] = 1000;
    f.Render();
    std::vector<std::pair<int, Rgb>> lit = InColour({120, 121, 122, 123, 124}, Wheel(191));
    for (int k : {84, 105})
        lit.emplace_back(k, Wheel(9)); // 191 + 10 wraps at 192
    EXPECT_EQ(f.leds, BarFrame(lit));
}

TEST(MusicColumns, TheStartBandMovesEvery31CallsInTheDirection) {
    // Only band 5 is loud; the bottom key of the column it feeds is covered.
    for (std::uint8_t direction : {0, 1}) {
        SCOPED_TRACE(direction);
        MusicFrame f;
        f.settings.direction = direction;
        for (int call = 1; call <= 32; ++call) {
            f.spectrum[5] = 2000;
            f.Render();
            const int expectedColumnKey = call <= 31 ? 126 : direction == 0 ? 107 : 127;
            EXPECT_EQ(f.state.intensity[static_cast<std::size_t>(expectedColumnKey)], 255)
                << "call " << call;
        }
    }
}

TEST(MusicRows, SixBandGroupsDriveTheRowsBassAtTheBottom) {
    MusicFrame f;
    f.audio.audioMode = kAudioRows;
    f.audio.sevenColorFlags = 1;
    f.spectrum[0] = 3000;  // bands 0-1 feed the bottom row: 6000 / 3 gives level 0
    f.spectrum[1] = 3000;  //   columns 0 to 23 - 2300 / 600 = 20
    f.spectrum[18] = 1500; // bands 18-24 feed the top row: level 450, columns 0 to 2
    f.Render();
    const std::vector<int> bottom = {124, 105, 106, 20,  107, 126, 127, 108, 128, 129, 109,
                                     125, 110, 112, 113, 114, 115, 111, 130, 116, 104};
    std::vector<std::pair<int, Rgb>> lit;
    for (std::size_t j = 0; j < bottom.size(); ++j)
        lit.emplace_back(bottom[j], Wheel(1 + 3 * j));
    lit.emplace_back(101, Wheel(7)); // column 2 of the top row; columns 0 and 1 have no key
    EXPECT_EQ(f.leds, BarFrame(lit));
}

TEST(MusicRows, TheFurtherLayoutsMirrorColumnsAndRows) {
    MusicFrame hanging;
    hanging.audio.audioMode = kAudioHangingColumns;
    hanging.spectrum[0] = 2000; // column 0 from the top: rows 0-4, row 0 has no key
    hanging.Render();
    EXPECT_EQ(hanging.leds, BarFrame(InColour({120, 121, 122, 123}, kFg)));

    MusicFrame right;
    right.audio.audioMode = kAudioRightRows;
    right.spectrum[0] = right.spectrum[1] = 3000; // bottom row, columns 22 down to 2
    right.Render();
    std::set<int> lit;
    for (int k = 0; k < 170; ++k)
        if (right.state.intensity[static_cast<std::size_t>(k)] == 255)
            lit.insert(k);
    EXPECT_EQ(lit, (std::set<int>{131, 117, 104, 116, 130, 111, 115, 114, 113, 112, 110,
                                  125, 109, 129, 128, 108, 127, 126, 107, 20,  106}));
}

TEST(MusicSplitRows, BarsGrowOutwardFromTheMiddleAndFallBackFromTheirEnds) {
    MusicFrame f;
    f.audio.sevenColorFlags = 1;
    f.audio.audioMode = kAudioSplitRows;
    // The first call moves the start band to 1: row 0's left bar takes band 4, its right bar
    // band 1. Level 0 gives a = b = 2: columns 2-8 and 9-19 of row 0.
    f.spectrum[4] = 2000;
    f.spectrum[1] = 2000;
    // Row 1's right bar takes band 3: level -150 gives b = -1, columns 9-22.
    f.spectrum[3] = 2500;
    f.Render();
    const std::vector<int> row0 = {101, 1, 2, 3, 4, 18, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    const std::vector<int> row1 = {29, 30, 31, 32, 33, 34, 21, 35, 36, 79, 38, 39, 40, 41};
    std::vector<std::pair<int, Rgb>> lit;
    for (std::size_t j = 0; j < row0.size(); ++j)
        lit.emplace_back(row0[j], Wheel(1 + 7 * (j + 2))); // colour phase 1, 7 per column
    for (std::size_t j = 0; j < row1.size(); ++j)
        lit.emplace_back(row1[j], Wheel(1 + 7 * (j + 9)));
    EXPECT_EQ(f.leds, BarFrame(lit));

    // In silence only the keys whose outward neighbour is a gap or dark fall back.
    f.Render();
    const auto at = [&](int k) { return f.state.intensity[static_cast<std::size_t>(k)]; };
    EXPECT_EQ(at(101), 210) << "column 2, next to a gap";
    EXPECT_EQ(at(15), 210) << "column 18, next to a gap";
    EXPECT_EQ(at(40), 210) << "column 21 falls back even beside a lit key";
    EXPECT_EQ(at(41), 210) << "column 22, the outer end";
    for (int k : {1, 2, 5, 6, 14, 39})
        EXPECT_EQ(at(k), 255) << k;
    f.Render();
    EXPECT_EQ(at(101), 165);
    EXPECT_EQ(at(1), 255) << "its neighbour is still lit";
}

TEST(MusicRings, LoudnessLightsRingsAroundTheCentreKey) {
    MusicFrame f;
    f.audio.audioMode = kAudioRings;
    f.spectrum.fill(200); // level 540 everywhere: s = 18, rings 0 and 1 light
    f.Render();
    // The colour phase moves by 18; ring 0 gets 18 + 9, ring 1 18 + 18.
    for (int k = 0; k < 170; ++k) {
        const LedColour& led = f.leds[static_cast<std::size_t>(k)];
        if (k == 70)
            EXPECT_EQ(led, Lit(Wheel(27), 254));
        else if (k == 69 || k == 49 || k == 50 || k == 71 || k == 91 || k == 90)
            EXPECT_EQ(led, Lit(Wheel(36), 254)) << k;
        else
            EXPECT_EQ(led.alpha, 0) << k;
    }

    // Silence (s = 20) lights nothing; the rings fade by the decay of effect 0.
    f.Render();
    EXPECT_EQ(f.state.phase[kColourPhase], 38);
    EXPECT_EQ(f.leds[70], Lit(Wheel(27), 214));
    EXPECT_EQ(f.leds[49], Lit(Wheel(36), 214));

    // Full loudness lights all twelve rings; the outer two hold key 0.
    f.spectrum.fill(2000);
    f.Render();
    for (int k : {70, 29, 95, 21, 105, 0})
        EXPECT_EQ(f.state.intensity[static_cast<std::size_t>(k)], 255) << k;
    EXPECT_EQ(f.leds[0], Lit(Wheel(38 + 9 * 12), 254)) << "ring 11 colours it last";
}

TEST(MusicRipples, LoudnessStartsARippleAtTheMiddleThatRunsOutward) {
    MusicFrame f;
    f.audio.audioMode = kAudioRipples;
    // Full loudness adds 25 per call: the third call reaches 71 and starts a ripple at key
    // 51 (column 10, row 2), which is marked and decays once.
    for (int call = 0; call < 3; ++call) {
        f.spectrum.fill(2000);
        f.Render();
    }
    EXPECT_EQ(f.state.rippleSum, 0);
    EXPECT_EQ(f.state.intensity[51], 210);
    EXPECT_EQ(f.leds[51], Lit(kFg, 209));
    f.Render();
    EXPECT_EQ(f.state.intensity[51], 165);
    for (int k : {50, 52, 30, 72}) // one step left, right, up and down
        EXPECT_EQ(f.state.intensity[static_cast<std::size_t>(k)], 210) << k;
    EXPECT_EQ(f.state.intensity[53], 0);
    EXPECT_EQ(f.state.rippleSum, 0) << "silence adds nothing";
}

TEST(MusicColour, EveryLedTakesTheFirstThreeSettingsAtTheBrightness) {
    std::vector<LedColour> leds(170, LedColour{9, 9, 9, 9});
    LightSettings settings{30, 1, 0, 0, 0, 0, 0, 0};
    RenderMusicColourFrame(leds, settings, MusicSettings{300, 20, -5, 7, 7, 7});
    EXPECT_EQ(leds, std::vector<LedColour>(170, LedColour{255, 20, 0, 80}));
}

} // namespace

// The previews of the keyboard's own effects: breathing over the key grid and the static
// rings frame by frame as worked out by hand, and properties every preview keeps (frames
// repeat from the same state, only grid keys are drawn, a direction mirrors the movement).

#include "devices/KeyboardEffects.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace devices;

namespace {

constexpr int kPatternEffects[] = {1,  2,  3,  5,  6,  7,  8,  9,  10, 11, 12,
                                   13, 14, 15, 16, 17, 18, 23, 24, 25, 28};

LedColour Lit(Rgb c, std::uint8_t alpha) {
    return {c.red, c.green, c.blue, alpha};
}

constexpr LedColour kDark{0, 0, 0, 0};
constexpr LedColour kUntouched{9, 9, 9, 9};

// 170 on-screen keys and, behind them, an entry the effects must never reach.
struct Preview {
    int effect;
    LightSettings settings{0, 3, 2, 0, 0, 10, 20, 30};
    EffectState state;
    std::vector<LedColour> storage = std::vector<LedColour>(171, kUntouched);

    explicit Preview(int e, std::uint8_t multiColour = 0, std::uint8_t direction = 0) : effect(e) {
        settings.mode = static_cast<std::uint8_t>(e);
        settings.multiColour = multiColour;
        settings.direction = direction;
        StartPatternEffect(effect, state);
    }
    std::span<LedColour> Leds() { return std::span(storage).first(170); }
    const std::vector<LedColour>& Step() {
        StepPatternEffect(effect, Leds(), settings, state);
        return storage;
    }
    std::uint8_t Intensity(int key) const { return state.intensity[static_cast<std::size_t>(key)]; }
};

std::set<int> GridKeySet() {
    std::set<int> keys;
    for (std::size_t c = 0; c < kGridColumns; ++c)
        for (std::size_t r = 0; r < kGridRows; ++r)
            if (GridKey(c, r) != kNoGridKey)
                keys.insert(GridKey(c, r));
    return keys;
}

std::set<int> LitKeys(const EffectState& state) {
    std::set<int> lit;
    for (std::size_t k = 0; k < kIntensityCount; ++k)
        if (state.intensity[k] == 255)
            lit.insert(static_cast<int>(k));
    return lit;
}

TEST(PatternEffects, ThePatternsAreTheKeyboardsOwnEffects) {
    std::set<int> patterns;
    for (int e = -1; e <= 40; ++e)
        if (IsPatternEffect(e))
            patterns.insert(e);
    EXPECT_EQ(patterns, std::set<int>(std::begin(kPatternEffects), std::end(kPatternEffects)));

    // Another effect's frame and state stay as they were.
    Preview music(29);
    music.state.stepCounter = 42;
    music.Step();
    EXPECT_EQ(music.storage, std::vector<LedColour>(171, kUntouched));
    EXPECT_EQ(music.state.stepCounter, 42);
}

TEST(GridBreathing, TheCounterWalksTheCurveAsASignedByteOverTheGrid) {
    Preview p(5, 1);
    p.settings.brightness = 2; // level 135
    p.state.stepCounter = 62;
    p.Step(); // counter 63: curve 255, alpha 255 × 135 >> 8 = 134
    EXPECT_EQ(p.state.stepCounter, 63);
    EXPECT_EQ(p.storage[44], Lit(Wheel(21), 134)) << "column 3: wheel entry 21";
    EXPECT_EQ(p.storage[131], Lit(Wheel(154), 134)) << "column 22: wheel entry 154";
    EXPECT_EQ(p.storage[120], Lit(Wheel(0), 134)) << "column 0";
    EXPECT_EQ(p.storage[132], kDark) << "not on the grid";
    EXPECT_EQ(p.storage[170], kUntouched);

    p.state.stepCounter = 20;
    p.Step(); // curve[21] = 36: 36 × 135 >> 8 = 18
    EXPECT_EQ(p.storage[44], Lit(Wheel(21), 18));

    p.state.stepCounter = 127; // 128 as a signed byte is negative: back to 0
    p.Step();
    EXPECT_EQ(p.state.stepCounter, 0);
    EXPECT_EQ(p.storage[44].alpha, 0);
    p.state.stepCounter = 200; // a counter another effect left beyond 127 starts again too
    p.Step();
    EXPECT_EQ(p.state.stepCounter, 0);

    p.settings.multiColour = 0;
    p.state.stepCounter = 63;
    p.Step(); // counter 64: curve 255
    for (int k : GridKeySet())
        EXPECT_EQ(p.storage[static_cast<std::size_t>(k)], (LedColour{10, 20, 30, 134})) << k;
}

TEST(RingStatic, MultiColourRingsStepTwelveWheelEntriesOutward) {
    Preview p(6, 1);
    p.settings.brightness = 1; // level 80
    p.Step();
    EXPECT_EQ(p.storage[70], Lit(Wheel(138), 80)) << "ring 0";
    EXPECT_EQ(p.storage[49], Lit(Wheel(126), 80)) << "ring 1";
    EXPECT_EQ(p.storage[29], Lit(Wheel(102), 80)) << "in rings 2 and 3: ring 3 paints last";
    EXPECT_EQ(p.storage[95], Lit(Wheel(78), 80)) << "twice in ring 5";
    EXPECT_EQ(p.storage[105], Lit(Wheel(30), 80)) << "ring 9";
    EXPECT_EQ(p.storage[0], Lit(Wheel(6), 80)) << "rings 9-11: ring 11 paints last";
    EXPECT_EQ(p.storage[1], kDark) << "in no ring";
    EXPECT_EQ(p.storage[170], kUntouched);

    p.settings.multiColour = 0;
    p.Step();
    EXPECT_EQ(std::vector<LedColour>(p.storage.begin(), p.storage.end() - 1),
              std::vector<LedColour>(170, LedColour{10, 20, 30, 80}));
    EXPECT_EQ(p.storage[170], kUntouched);
}

TEST(PatternEffects, FramesRepeatFromTheSameStateAndStayOnTheGrid) {
    const std::set<int> grid = GridKeySet();
    for (int effect : kPatternEffects) {
        for (std::uint8_t multi : {0, 1}) {
            SCOPED_TRACE(testing::Message() << "effect " << effect << " multi " << int(multi));
            Preview first(effect, multi);
            first.state.randomSeed = 12345;
            Preview second = first;
            int changes = 0;
            std::vector<LedColour> previous;
            bool anyLit = false;
            for (int frame = 0; frame < 300; ++frame) {
                ASSERT_EQ(first.Step(), second.Step()) << "frame " << frame;
                changes += first.storage != previous;
                previous = first.storage;
                ASSERT_EQ(first.storage[170], kUntouched);
                for (int k = 0; k < 170; ++k) {
                    const LedColour& led = first.storage[static_cast<std::size_t>(k)];
                    anyLit = anyLit || led.alpha > 0;
                    const bool fillsEveryLed = effect == 6 && multi == 0;
                    if (!grid.count(k) && !fillsEveryLed) {
                        ASSERT_EQ(led, kDark) << "key " << k << " frame " << frame;
                    }
                }
            }
            EXPECT_TRUE(anyLit);
            if (effect != 6 && effect != 17) {
                EXPECT_GT(changes, 50) << "a moving effect moves";
            }
        }
    }
}

// A direction and its mirror image: frame n of one direction is frame n of the other turned
// round the middle column (or row).
struct MirrorCase {
    int effect;
    bool rows;
};

class PatternDirection : public testing::TestWithParam<MirrorCase> {};

TEST_P(PatternDirection, TheOtherDirectionIsTheMirrorImage) {
    const auto [effect, rows] = GetParam();
    for (std::uint8_t multi : {0, 1}) {
        Preview forward(effect, multi, 0);
        Preview backward(effect, multi, 1);
        bool differs = false;
        for (int frame = 0; frame < 120; ++frame) {
            forward.Step();
            backward.Step();
            differs = differs || forward.storage != backward.storage;
            for (std::size_t c = 0; c < kGridColumns; ++c) {
                for (std::size_t r = 0; r < kGridRows; ++r) {
                    const std::uint8_t k = GridKey(c, r);
                    const std::uint8_t m =
                        rows ? GridKey(c, kGridRows - 1 - r) : GridKey(kGridColumns - 1 - c, r);
                    if (k == kNoGridKey || m == kNoGridKey)
                        continue;
                    ASSERT_EQ(forward.storage[k], backward.storage[m])
                        << "multi " << int(multi) << " frame " << frame << " at " << c << "," << r;
                }
            }
        }
        EXPECT_TRUE(differs) << "the direction changes the frames";
    }
}

INSTANTIATE_TEST_SUITE_P(Waves, PatternDirection,
                         testing::Values(MirrorCase{1, false}, MirrorCase{2, false},
                                         MirrorCase{3, false}, MirrorCase{24, false},
                                         MirrorCase{12, true}, MirrorCase{28, true}),
                         [](const auto& info) {
                             return "effect" + std::to_string(info.param.effect);
                         });

TEST(PatternStarts, TheirOwnStartStepsSetUpTheFirstFrameWhateverWasLeft) {
    for (int effect : {13, 14, 15, 16}) {
        SCOPED_TRACE(effect);
        EffectState clean;
        StartPatternEffect(effect, clean);
        EffectState dirty;
        dirty.intensity.fill(77);
        dirty.preview.spreads.fill(PreviewSpread{3, 3, 5, 9, 1});
        dirty.preview.rocket = {true, 4, 2, 0, 5};
        dirty.stepCounter = 30;
        dirty.keyPhase.fill(8);
        dirty.preview.lanes.fill(3);
        dirty.preview.wait = 40;
        StartPatternEffect(effect, dirty);
        EXPECT_EQ(dirty.intensity, clean.intensity);
        EXPECT_EQ(dirty.keyPhase, clean.keyPhase);
        EXPECT_EQ(dirty.preview, clean.preview);
        EXPECT_EQ(dirty.stepCounter, clean.stepCounter);
        if (effect == 15) {
            EXPECT_TRUE(dirty.preview.rocket.flying);
            EXPECT_EQ(dirty.preview.rocket.row, 5);
        }
    }
}

TEST(PatternStarts, CrosshairGrowsOutOfTheCentreKeyAlongItsRowAndColumn) {
    Preview p(13);
    p.Step();
    EXPECT_EQ(LitKeys(p.state), (std::set<int>{70}));
    EXPECT_EQ(p.storage[70], (LedColour{10, 20, 30, 254}));
    p.Step();
    EXPECT_EQ(LitKeys(p.state), (std::set<int>{69, 71, 49, 90}));
    EXPECT_EQ(p.Intensity(70), 215);
    p.Step();
    EXPECT_EQ(LitKeys(p.state), (std::set<int>{68, 72, 28, 128}));
}

TEST(PatternStarts, LaserSweepsFromTheLeftEdgeAndBack) {
    Preview p(14);
    EXPECT_EQ(LitKeys(p.state), (std::set<int>{120, 121, 122, 123, 124}));
    p.Step();
    EXPECT_EQ(LitKeys(p.state), (std::set<int>{0, 42, 63, 84, 105}));
    EXPECT_EQ(p.Intensity(120), 215);
    for (int i = 0; i < 21; ++i)
        p.Step();
    EXPECT_EQ(LitKeys(p.state), (std::set<int>{41, 16, 119, 118, 131})) << "the right edge";
    p.Step();
    EXPECT_EQ(LitKeys(p.state), (std::set<int>{40, 61, 78, 99, 117})) << "and back";
    EXPECT_EQ(p.Intensity(131), 215);
}

TEST(PatternStarts, AfterglowStartsWithEveryKeyGlowingAndFadesSlowly) {
    Preview p(16);
    EXPECT_EQ(LitKeys(p.state), GridKeySet());
    for (int i = 0; i < 3; ++i)
        p.Step();
    EXPECT_EQ(LitKeys(p.state), GridKeySet()) << "no decay before the fourth frame";
    p.Step();
    EXPECT_LE(LitKeys(p.state).size(), 1u) << "only a fresh spark is at full";
    EXPECT_EQ(p.Intensity(44), 215);
}

TEST(PatternSparks, AReactiveKeyLightsThenFadesByTheDecay) {
    Preview p(7);
    p.Step();
    const std::set<int> lit = LitKeys(p.state);
    ASSERT_EQ(lit.size(), 1u) << "the first spark is due at once";
    const std::size_t key = static_cast<std::size_t>(*lit.begin());
    EXPECT_EQ(p.storage[key], (LedColour{10, 20, 30, 254}));
    std::uint8_t v = 255;
    for (int frame = 0; frame < 3; ++frame) {
        p.Step(); // the next spark waits at least three frames
        v = DecayKey(v, 7);
        EXPECT_EQ(p.storage[key], (LedColour{10, 20, 30, static_cast<std::uint8_t>(255 * v >> 8)}));
    }
}

TEST(PatternSparks, ARippleRunsOutOfItsKeyRingByRing) {
    Preview p(8, 1);
    p.Step();
    const PreviewSpread ripple = p.state.preview.spreads[0];
    ASSERT_EQ(ripple.radius, 1);
    const std::uint8_t origin = GridKey(ripple.column, ripple.row);
    EXPECT_EQ(LitKeys(p.state), (std::set<int>{origin}));
    EXPECT_EQ(p.storage[origin], Lit(Wheel(ripple.phase), 254));
    p.Step();
    std::set<int> neighbours;
    for (int dc = -1; dc <= 1; ++dc)
        for (int dr = -1; dr <= 1; ++dr)
            if ((dc || dr) && ripple.column + dc >= 0 && ripple.row + dr >= 0 &&
                GridKey(ripple.column + dc, ripple.row + dr) != kNoGridKey)
                neighbours.insert(GridKey(ripple.column + dc, ripple.row + dr));
    EXPECT_EQ(LitKeys(p.state), neighbours);
    EXPECT_EQ(p.Intensity(origin), 215);
}

TEST(PatternSparks, ShockwaveRunsOutOfTheCentreOrInFromTheEdges) {
    Preview out(18, 0, 0);
    out.Step();
    EXPECT_EQ(LitKeys(out.state), (std::set<int>{48, 49, 50, 69, 71, 89, 90, 91}));
    Preview in(18, 0, 1);
    in.Step(); // ring 14: the right-hand column
    EXPECT_EQ(LitKeys(in.state), (std::set<int>{41, 16, 119, 118, 131}));
}

} // namespace

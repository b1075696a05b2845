// The keyboard's lighting state against the virtual keyboard: the custom colour scheme (bytes
// on the wire and scheme memory), the light state taken from the profile, and the lighting
// thread's life.

#include "FakeKeyButton.h"
#include "KeyboardFixture.h"

#include <algorithm>
#include <thread>

namespace keyboardtest {
namespace {

using namespace devices;

constexpr std::size_t kFactoryKeys = 124;
constexpr std::size_t kSchemeBytes = 3 * kFactoryKeys;
constexpr int kGroup = 2;
constexpr std::size_t kGroupAt = 512 * kGroup;

class RecordingView : public IDevicePageView {
public:
    void ShowKeyAssignment(int, const KeyRecord&) override {}
    void RefreshKeyTexts() override {}
    void RefreshPanels() override {}
    void ShowCustomGroup(int group) override { groups.push_back(group); }
    std::vector<int> groups;
};

// Key i of the stored group: (i, 255 - i, 0x80), half bright on even keys.
config::RgbaColor StoredColour(int i) {
    return {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), 0x80,
            static_cast<std::uint8_t>(i % 2 ? 255 : 128)};
}

class KeyboardLightingTest : public KeyboardTest {
protected:
    void SetUp() override {
        KeyboardTest::SetUp();
        ASSERT_EQ(keyboard->ReadDeviceTables(), 1);
        keyboard->SetView(&view);
        keyboard->ReloadProfile(); // the profile's file, where stored colours are saved
        std::vector<config::RgbaColor> colours;
        for (int i = 0; i < 170; ++i)
            colours.push_back(StoredColour(i));
        keyboard->Profile().WriteCustomLightColors(kGroup, colours);
        board->ClearWireLog();
        receiver->ClearWireLog();
    }
    void StoreEffect(std::uint8_t effect) {
        config::LightInfoRecord info = keyboard->GetLightInfo();
        info.selectItem = effect;
        info.customGroup = kGroup;
        info.light = 1; // alpha 80
        info.red = 10;
        info.green = 20;
        info.blue = 30;
        keyboard->Profile().WriteLightInfo(info);
    }
    // The scheme bytes of the 0x0B packets, checking that they fill the group's block from
    // its start.
    Bytes SchemeSent() {
        Bytes data;
        for (const Request& r : Requests()) {
            if (r.command != 0x0B)
                continue;
            EXPECT_EQ(r.offset, kGroupAt + data.size());
            data.insert(data.end(), r.data.begin(), r.data.end());
        }
        return data;
    }
    Bytes SchemeMemory() {
        const Bytes all = board->LightSchemes();
        return Bytes(all.begin() + kGroupAt, all.begin() + kGroupAt + 512);
    }
    // The scheme by LED number from a colour of each on-screen key.
    Bytes Expected(const std::function<LedColour(int)>& colourOf, bool scaled) {
        Bytes scheme(512, 0);
        for (int i = 0; i < 170; ++i) {
            const std::size_t n = keyboard->Maps().leds[static_cast<std::size_t>(i)];
            if (n == kNoLedNumber)
                continue;
            const LedColour c = colourOf(i);
            const int alpha = scaled ? c.alpha : 256;
            scheme[3 * n] = static_cast<std::uint8_t>(c.red * alpha >> 8);
            scheme[3 * n + 1] = static_cast<std::uint8_t>(c.green * alpha >> 8);
            scheme[3 * n + 2] = static_cast<std::uint8_t>(c.blue * alpha >> 8);
        }
        return scheme;
    }
    static LedColour Stored(int i) {
        const config::RgbaColor c = StoredColour(i);
        return {c.red, c.green, c.blue, c.alpha};
    }

    RecordingView view;
};

TEST_P(KeyboardLightingTest, TheCustomEffectStartsWithItsGroupsSchemeScaledAtTheGroupsBlock) {
    StoreEffect(20);
    keyboard->ApplyProfileLighting();
    EXPECT_EQ(view.groups, std::vector<int>{kGroup}) << "the panel is told the group";
    for (int i : {0, 1, 77, 169})
        EXPECT_EQ(keyboard->GetLedColour(i), Stored(i)) << i;
    if (ThroughReceiver()) {
        EXPECT_TRUE(SchemeSent().empty()) << "no scheme goes through the receiver";
        EXPECT_EQ(SchemeMemory(), Bytes(512, 0));
        return;
    }
    const Bytes expected = Expected(Stored, true);
    EXPECT_EQ(SchemeSent(), Bytes(expected.begin(), expected.begin() + kSchemeBytes));
    EXPECT_EQ(SchemeMemory(), expected);
    const Bytes all = board->LightSchemes();
    EXPECT_TRUE(std::all_of(all.begin(), all.begin() + kGroupAt, [](auto b) { return b == 0; }))
        << "the other groups stay as they were";

    // Effect 20 restarts whenever the profile is applied, changed or not.
    board->ClearWireLog();
    keyboard->ApplyProfileLighting();
    EXPECT_EQ(SchemeSent().size(), kSchemeBytes);
    EXPECT_EQ(view.groups.size(), 2u);
}

// A profile switch to a profile in the custom effect: the keyboard's scheme slot may hold
// another profile's colours, so the profile's own go with it.
TEST_P(KeyboardLightingTest, ApplyingAProfileInTheCustomEffectSendsItsScheme) {
    StoreEffect(20);
    keyboard->Profile().SaveProfile();
    const KeyboardApplyResult result = keyboard->ApplyProfile();
    EXPECT_EQ(result.lightBlock, 1);
    EXPECT_EQ(keyboard->GetLedColour(77), Stored(77));
    if (ThroughReceiver()) {
        EXPECT_TRUE(SchemeSent().empty());
        return;
    }
    EXPECT_EQ(SchemeMemory(), Expected(Stored, true));
}

TEST_P(KeyboardLightingTest, PaintingAKeyStoresTheGroupAndSendsTheSchemeUnscaled) {
    StoreEffect(20);
    keyboard->ApplyProfileLighting();
    board->ClearWireLog();
    receiver->ClearWireLog();
    keyboard->PaintKey(5);
    const LedColour painted{10, 20, 30, 80};
    EXPECT_EQ(keyboard->GetLedColour(5), painted);
    auto colourOf = [&](int i) { return i == 5 ? painted : Stored(i); };
    if (ThroughReceiver()) {
        EXPECT_TRUE(SchemeSent().empty());
    } else {
        const Bytes expected = Expected(colourOf, false);
        EXPECT_EQ(SchemeSent(), Bytes(expected.begin(), expected.begin() + kSchemeBytes));
        EXPECT_EQ(SchemeMemory(), expected);
        const std::size_t n = keyboard->Maps().leds[5];
        EXPECT_EQ(SchemeMemory()[3 * n], 10) << "the keyboard applies its own brightness";
    }
    // Saved as the group's colours.
    keyboard->ReloadProfile();
    const auto stored = keyboard->Profile().ReadCustomLightColors(kGroup, 170);
    ASSERT_EQ(stored.size(), 170u);
    EXPECT_EQ(stored[5], (config::RgbaColor{10, 20, 30, 80}));
    EXPECT_EQ(stored[6], StoredColour(6));

    // Out of range or in another effect nothing is painted.
    board->ClearWireLog();
    keyboard->PaintKey(170);
    keyboard->PaintKey(-1);
    config::LightInfoRecord info = keyboard->GetLightInfo();
    info.selectItem = 6;
    keyboard->SetLightInfo(info);
    keyboard->PaintKey(7);
    EXPECT_EQ(keyboard->GetLedColour(7), Stored(7));
    EXPECT_TRUE(SchemeSent().empty());
}

TEST_P(KeyboardLightingTest, TheSelectionIsLitOrDarkenedAndSentScaled) {
    StoreEffect(20);
    keyboard->ApplyProfileLighting();
    keyboard->SetCustomSelection({1, 2, 170, -4});
    EXPECT_EQ(keyboard->GetCustomSelection(), (std::vector<int>{1, 2}));
    keyboard->LightSelectedKeys(true);
    EXPECT_EQ(keyboard->GetLedColour(2), (LedColour{10, 20, 30, 80}));
    board->ClearWireLog();
    keyboard->LightSelectedKeys(false);
    for (int i : {1, 2})
        EXPECT_EQ(keyboard->GetLedColour(i), (LedColour{0, 0, 0, 80}));
    EXPECT_EQ(keyboard->GetLedColour(3), Stored(3));
    if (!ThroughReceiver()) {
        const Bytes expected = Expected(
            [](int i) {
                return i == 1 || i == 2 ? LedColour{0, 0, 0, 80} : Stored(i);
            },
            true);
        EXPECT_EQ(SchemeMemory(), expected);
    }
    keyboard->ReloadProfile();
    EXPECT_EQ(keyboard->Profile().ReadCustomLightColors(kGroup, 170)[1],
              (config::RgbaColor{0, 0, 0, 80}));
}

TEST_P(KeyboardLightingTest, ChoosingACustomGroupShowsAndSendsItsColours) {
    StoreEffect(20);
    keyboard->ApplyProfileLighting();
    keyboard->Profile().WriteCustomLightColors(
        5, std::vector<config::RgbaColor>(170, config::RgbaColor{9, 8, 7, 255}));
    board->ClearWireLog();
    keyboard->SelectCustomGroup(5);
    EXPECT_EQ(keyboard->GetLightInfo().customGroup, 5);
    EXPECT_EQ(keyboard->Profile().ReadCustomLightGroup(), 5);
    EXPECT_EQ(keyboard->Profile().ReadLightInfo().customGroup, 5);
    EXPECT_EQ(keyboard->GetLedColour(100), (LedColour{9, 8, 7, 255}));
    if (!ThroughReceiver()) {
        const Bytes all = board->LightSchemes();
        const std::size_t n = keyboard->Maps().leds[0];
        EXPECT_EQ(all[512 * 5 + 3 * n], 8) << "9 × 255 >> 8";
    }
}

TEST_P(KeyboardLightingTest, TheProfilesLightingGoesIntoTheLightStateAndTheBlockCopy) {
    config::LightInfoRecord info{};
    info.selectItem = 24;
    info.light = 2;
    info.speed = 1;
    info.fx = 1;
    info.multiColor = 1;
    info.red = 1;
    info.green = 2;
    info.blue = 3;
    info.zzccLedMode = 4;
    info.customGroup = 6;
    keyboard->Profile().WriteLightInfo(info);
    const config::AudioLightRecord audio{3, 1, 2, 3, 4, 5, 6, 1, 0};
    keyboard->Profile().WriteAudioLightInfo(audio);
    keyboard->GetEffectState().intensity[40] = 200;
    keyboard->ApplyProfileLighting();

    EXPECT_EQ(keyboard->GetLightInfo(), info);
    EXPECT_EQ(keyboard->GetLightSettings().mode, 24);
    EXPECT_EQ(keyboard->GetLightSettings().speed, 1);
    EXPECT_EQ(UnpackAudioLighting(keyboard->GetAudioLighting()), audio);
    EXPECT_EQ(keyboard->GetEffectState().intensity[40], 0) << "effect 24 starts with no key lit";
    const LightBlock& block = keyboard->BlockCopy();
    const std::vector<int> codes = [&] {
        std::vector<int> c;
        for (const LightModeEntry& m : keyboard->GetModeList())
            c.push_back(m.value);
        return c;
    }();
    EXPECT_EQ(block[lightblock::kEffectAt], EffectCodeOf(codes, 24));
    EXPECT_EQ(block[lightblock::kBrightnessAt], 2);
    EXPECT_EQ(block[lightblock::kSpeedAt], 2) << "3 - speed";
    EXPECT_EQ(block[lightblock::kDirectionAt], 1);
    EXPECT_EQ(block[lightblock::kBlueAt], 3);
    EXPECT_EQ(block[lightblock::kZzccLedModeAt], 4);
    EXPECT_EQ(block[lightblock::kCustomGroupAt], 6);
    EXPECT_TRUE(SchemeSent().empty()) << "not the custom effect";

    // The panel's light parameters and music record go into the profile.
    keyboard->SetLightParams(22, 3, 0, 0, 0, 0);
    const config::LightInfoRecord stored = keyboard->Profile().ReadLightInfo();
    EXPECT_EQ(stored.selectItem, 22);
    EXPECT_EQ(stored.light, 3);
    EXPECT_EQ(stored.speed, 0);
    EXPECT_EQ(stored.red, 1) << "the colour stays";
    const config::AudioLightRecord music{5, 9, 9, 9, 1, 1, 1, 0, 1};
    keyboard->SetAudioLighting(PackAudioLighting(music));
    EXPECT_EQ(keyboard->Profile().ReadAudioLightInfo(), music);
}

// The panel stores the new fields first and applies them then: the new effect still starts.
TEST_P(KeyboardLightingTest, FieldsStoredBeforeTheyAreAppliedStillStartTheNewEffect) {
    StoreEffect(4);
    keyboard->ApplyProfileLighting();
    keyboard->GetEffectState().stepCounter = 77;
    config::LightInfoRecord fields = keyboard->GetLightFields();
    fields.selectItem = 22;
    keyboard->SetLightFields(fields);
    keyboard->StoreProfile();
    keyboard->ApplyProfileLighting();
    EXPECT_EQ(keyboard->GetEffectState().stepCounter, 0) << "the flash starts from a clean state";

    keyboard->GetEffectState().stepCounter = 5;
    keyboard->ApplyProfileLighting();
    EXPECT_EQ(keyboard->GetEffectState().stepCounter, 5) << "unchanged: it goes on";
}

// The custom overlays lie over every rendered frame.
TEST_P(KeyboardLightingTest, OverlaysLieOverTheRenderedFrame) {
    config::LightInfoRecord info = keyboard->GetLightInfo();
    info.selectItem = 21; // off
    keyboard->SetLightInfo(info);
    std::vector<CustomColourRecord> overlays(170, CustomColourRecord{});
    overlays[8] = {1, 50, 60, 70, 200};
    keyboard->SetCustomColourMap(overlays);
    keyboard->StepEffect(0);
    EXPECT_EQ(keyboard->GetLedColour(8), (LedColour{50, 60, 70, 200}));
    EXPECT_EQ(keyboard->GetLedColour(9), (LedColour{0, 0, 0, 0}));
}

INSTANTIATE_TEST_SUITE_P(Keyboard, KeyboardLightingTest, ::testing::Bool(), KindName);

// The lighting thread runs from every full read to the keyboard's end.
class LightingThreadTest : public KeyboardTest {};

TEST_P(LightingThreadTest, EveryFullReadRestartsTheThreadThatStreamsTheMusicColour) {
    EXPECT_FALSE(keyboard->IsLightingThreadRunning());
    keyboard->ReadAllFromDevice();
    EXPECT_TRUE(keyboard->IsLightingThreadRunning());
    keyboard->ReadAllFromDevice();
    EXPECT_TRUE(keyboard->IsLightingThreadRunning());

    // New music settings wake it; it streams the colour by cable though nobody watches.
    config::LightInfoRecord info = keyboard->GetLightInfo();
    info.selectItem = 30;
    info.light = 3;
    keyboard->SetLightInfo(info);
    board->ClearWireLog();
    keyboard->SetMusicSettings({0x40, 0x41, 0x42, 0, 0, 0});
    const std::size_t n = keyboard->Maps().leds[0];
    const auto shown = [&] { return board->LedTable()[3 * n] == (0x40 * 255 >> 8); };
    for (int i = 0; i < 500 && !shown(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(shown());

    keyboard->StopLightingThread();
    EXPECT_FALSE(keyboard->IsLightingThreadRunning());
    keyboard->StartLightingThread();
    EXPECT_TRUE(keyboard->IsLightingThreadRunning());
    keyboard.reset(); // the keyboard's end stops it
}

INSTANTIATE_TEST_SUITE_P(Keyboard, LightingThreadTest, ::testing::Values(false), KindName);

} // namespace
} // namespace keyboardtest

// The keyboard's light frames against the virtual keyboard, by cable and through the
// receiver: streamed with 0x12 only in the effects the host drives, 3 bytes per key the
// keyboard reports, each LED at the place of its LED number; and the preview on the light
// buttons.

#include "FakeKeyButton.h"
#include "KeyboardFixture.h"

#include <algorithm>
#include <set>

namespace keyboardtest {
namespace {

using namespace devices;

constexpr std::size_t kFactoryKeys = 124;
constexpr int kOnScreenFn = 110; // the key without an LED
constexpr std::uint8_t kUntouched = 0xEE;

// On-screen key i shows (i, 255 - i, 0x80) at full brightness, except key 1 at half.
LedColour ColourOf(int i) {
    return {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), 0x80,
            static_cast<std::uint8_t>(i == 1 ? 128 : 255)};
}

class LightFrameTest : public KeyboardTest {
protected:
    void SetUp() override {
        KeyboardTest::SetUp();
        ASSERT_EQ(keyboard->ReadDeviceTables(), 1);
        for (int i = 0; i < 170; ++i)
            keyboard->SetLedColour(i, ColourOf(i));
        ASSERT_TRUE(board->DeviceFirmware().WriteArea(sim::FirmwareArea::LedTable, 0,
                                                      Bytes(512, kUntouched)));
        board->ClearWireLog();
        receiver->ClearWireLog();
    }
    void SelectEffect(std::uint8_t effect) {
        config::LightInfoRecord info = keyboard->GetLightInfo();
        info.selectItem = effect;
        keyboard->SetLightInfo(info);
    }
    // The frame the keyboard should get: every on-screen key with an LED at its LED number.
    Bytes ExpectedFrame() {
        Bytes frame(3 * kFactoryKeys, 0);
        for (int i = 0; i < 170; ++i) {
            const std::size_t n = keyboard->Maps().leds[static_cast<std::size_t>(i)];
            if (n == kNoLedNumber)
                continue;
            const LedColour c = ColourOf(i);
            frame[3 * n] = static_cast<std::uint8_t>(c.red * c.alpha >> 8);
            frame[3 * n + 1] = static_cast<std::uint8_t>(c.green * c.alpha >> 8);
            frame[3 * n + 2] = static_cast<std::uint8_t>(c.blue * c.alpha >> 8);
        }
        return frame;
    }
    bool NothingSent() { return board->WireLog().empty() && receiver->WireLog().empty(); }
    bool LedTableUntouched() {
        const Bytes leds = board->LedTable();
        return std::all_of(leds.begin(), leds.end(),
                           [](std::uint8_t b) { return b == kUntouched; });
    }
};

TEST_P(LightFrameTest, HostDrivenEffectsStreamTheFrameByLedNumberByCableOnly) {
    // The layout is not the on-screen order: the Fn key has no LED and moves the rest.
    const OnScreenMap& leds = keyboard->Maps().leds;
    ASSERT_EQ(leds[kOnScreenFn], kNoLedNumber);
    ASSERT_NE(leds[kOnScreenFn + 1], kOnScreenFn + 1);

    // Both effects get the whole frame, though it is the same: the second a repeat interval on.
    std::chrono::steady_clock::time_point now{};
    keyboard->SetFrameClock([&] { return now; });
    for (std::uint8_t effect : {29, 30}) {
        SCOPED_TRACE(effect);
        now += CKelvaneUSBDevice::kFrameRepeatInterval;
        SelectEffect(effect);
        board->ClearWireLog();
        ASSERT_EQ(keyboard->SendLightFrame(), transport::kCommSuccess);
        if (ThroughReceiver()) {
            EXPECT_TRUE(NothingSent()) << "no frame goes through the receiver";
            EXPECT_TRUE(LedTableUntouched());
            continue;
        }

        // 372 bytes: six packets of 56 and one of 36, each a checksummed 0x12 request.
        std::vector<sim::WirePacket> requests;
        for (const sim::WirePacket& p : board->WireLog())
            if (p.direction == sim::WireDirection::Request)
                requests.push_back(p);
        ASSERT_EQ(requests.size(), 7u);
        for (std::size_t k = 0; k < requests.size(); ++k) {
            const sim::Packet& p = requests[k].bytes;
            const std::size_t length = k < 6 ? 56 : 36;
            EXPECT_EQ(p[0], 0x04);
            EXPECT_EQ(p[3], 0x12);
            EXPECT_EQ(p[4], length);
            EXPECT_EQ(static_cast<std::size_t>(p[5] | p[6] << 8), 56 * k);
            EXPECT_EQ(p[7], 0);
            EXPECT_TRUE(std::all_of(p.begin() + 8 + static_cast<std::ptrdiff_t>(length), p.end(),
                                    [](std::uint8_t b) { return b == 0; }));
            unsigned sum = 0;
            for (std::size_t b = 3; b < p.size(); ++b)
                sum += p[b];
            EXPECT_EQ(static_cast<unsigned>(p[1] | p[2] << 8), sum & 0xFFFF);
        }
        const Bytes expected = ExpectedFrame();
        EXPECT_EQ(Gathered(Requests(), 0x12), expected);
        EXPECT_EQ(expected[3 * leds[1]], 0) << "1 × 128 >> 8";
        EXPECT_EQ(expected[3 * leds[1] + 1], 127) << "254 × 128 >> 8";

        const Bytes memory = board->LedTable();
        EXPECT_EQ(Bytes(memory.begin(), memory.begin() + 3 * kFactoryKeys), expected);
        EXPECT_TRUE(std::all_of(memory.begin() + 3 * kFactoryKeys, memory.end(),
                                [](std::uint8_t b) { return b == kUntouched; }))
            << "nothing beyond the keyboard's own keys";
    }
}

TEST_P(LightFrameTest, TheKeyboardsOwnEffectsGetNoFrame) {
    for (std::uint8_t effect : {0, 4, 5, 6, 19, 20, 28, 31}) {
        SCOPED_TRACE(effect);
        SelectEffect(effect);
        EXPECT_EQ(keyboard->SendLightFrame(), transport::kCommSuccess);
        EXPECT_TRUE(NothingSent());
    }
    EXPECT_TRUE(LedTableUntouched());

    SelectEffect(29);
    keyboard->TakeLightingControl(false);
    EXPECT_EQ(keyboard->SendLightFrame(), 0) << "without lighting control nothing is sent";
    EXPECT_TRUE(NothingSent());
    EXPECT_TRUE(LedTableUntouched());
}

TEST_P(LightFrameTest, VisibleLightButtonsShowTheLedsAndLeaveThemAsTheyAre) {
    devicetest::FakeKeyButton shown;
    devicetest::FakeKeyButton hidden;
    hidden.visible = false;
    keyboard->BindPanelControls({{"", "light_3", &shown}, {"", "light_4", &hidden}});
    ASSERT_EQ(shown.colour, (LedColour{0xFF, 0xFF, 0xFF, 0xFF})) << "bound white";

    SelectEffect(6);
    keyboard->SendLightFrame();
    EXPECT_EQ(shown.colour, ColourOf(3));
    EXPECT_EQ(hidden.colour, (LedColour{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(keyboard->GetLedColour(3), ColourOf(3));
    EXPECT_EQ(keyboard->GetLedColour(4), ColourOf(4)) << "a button's colour never goes back";
}

// Effect 29 renders into the LED list from the spectrum given since the last step, and the
// next frame streams it: here band 0 at full scale stands as a bar of five keys in column 0.
TEST_P(LightFrameTest, AMusicStepRendersTheNextFrameFromTheSpectrumTakenOnce) {
    config::LightInfoRecord info = keyboard->GetLightInfo();
    info.selectItem = 29;
    info.light = 3;
    keyboard->SetLightInfo(info);
    const LedColour bar{200, 0, 0, 254};
    const LedColour background{0, 0, 50, 255};
    keyboard->SetAudioLighting(PackAudioLighting({0, 0, 0, 50, 200, 0, 0, 0, 0}));
    MusicSpectrum bands{};
    bands[0] = 2000;
    keyboard->SetMusicSpectrum(bands);
    ASSERT_TRUE(keyboard->StepMusic());

    const std::set<int> column0 = {120, 121, 122, 123, 124};
    Bytes expected(3 * kFactoryKeys, 0);
    for (int i = 0; i < 170; ++i) {
        const LedColour c = column0.count(i) ? bar : background;
        EXPECT_EQ(keyboard->GetLedColour(i), c) << i;
        const std::size_t n = keyboard->Maps().leds[static_cast<std::size_t>(i)];
        if (n == kNoLedNumber)
            continue;
        expected[3 * n] = static_cast<std::uint8_t>(c.red * c.alpha >> 8);
        expected[3 * n + 1] = static_cast<std::uint8_t>(c.green * c.alpha >> 8);
        expected[3 * n + 2] = static_cast<std::uint8_t>(c.blue * c.alpha >> 8);
    }
    board->ClearWireLog();
    ASSERT_EQ(keyboard->SendLightFrame(), transport::kCommSuccess);
    if (ThroughReceiver()) {
        EXPECT_TRUE(NothingSent());
    } else {
        EXPECT_EQ(Gathered(Requests(), 0x12), expected);
        const Bytes memory = board->LedTable();
        EXPECT_EQ(Bytes(memory.begin(), memory.begin() + 3 * kFactoryKeys), expected);
    }

    // No new spectrum: the next step hears silence and the bar decays.
    ASSERT_TRUE(keyboard->StepMusic());
    EXPECT_EQ(keyboard->GetLedColour(120), (LedColour{200, 0, 0, 209}));
    EXPECT_EQ(keyboard->TakeMusicSpectrum(), MusicSpectrum{});
}

TEST_P(LightFrameTest, TheMusicColourFillsTheLedsAndOtherEffectsAreLeftAlone) {
    MusicSpectrum bands{};
    bands[0] = 2000;
    keyboard->SetMusicSpectrum(bands);
    for (std::uint8_t effect : {0, 6, 20, 28}) {
        SelectEffect(effect);
        EXPECT_FALSE(keyboard->StepMusic());
    }
    EXPECT_EQ(keyboard->GetLedColour(5), ColourOf(5));
    EXPECT_EQ(keyboard->TakeMusicSpectrum(), bands) << "kept for the music effect";

    config::LightInfoRecord info = keyboard->GetLightInfo();
    info.selectItem = 30;
    info.light = 1;
    keyboard->SetLightInfo(info);
    keyboard->SetMusicSettings({10, 20, 30, 0, 0, 0});
    EXPECT_TRUE(keyboard->StepMusic());
    for (int i = 0; i < 170; ++i)
        EXPECT_EQ(keyboard->GetLedColour(i), (LedColour{10, 20, 30, 80})) << i;
}

INSTANTIATE_TEST_SUITE_P(Keyboard, LightFrameTest, ::testing::Bool(), KindName);

} // namespace
} // namespace keyboardtest

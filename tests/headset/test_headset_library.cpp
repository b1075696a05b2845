// The Linux audio library of the headset: its sound card found by USB identity in a /proc
// tree, the properties it keeps itself, the equaliser handed to its sink, and, when the
// headset's card is plugged into this machine, the ALSA mixer itself.

#include "HeadsetLibraryFixtures.h"
#include "headset/AlsaHeadsetLibrary.h"
#include "headset/HeadsetProperties.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

namespace p = headset::property;
using headset::AlsaHeadsetLibrary;
using headset::AudioEndpoint;

class RecordingSink : public headset::EqualiserSink {
public:
    bool SetEnabled(bool on) override {
        calls.push_back("enable " + std::to_string(on));
        return !refuse;
    }
    bool SetBand(int band, int gain) override {
        calls.push_back("band " + std::to_string(band) + " " + std::to_string(gain));
        return !refuse;
    }
    std::vector<std::string> calls;
    bool refuse = false;
};

TEST(HeadsetSoundCard, IsFoundByItsUsbIdentityNotItsNumber) {
    ProcTree proc;
    proc.Card("card0", "046d:0825");
    proc.Card("card3", "0c76:1630");
    proc.Card("card1", "");
    proc.Card("cards", "0c76:1630");
    EXPECT_EQ(headset::FindUsbSoundCard(proc.root.string(), "0c76:1630"), 3);
    EXPECT_EQ(headset::FindUsbSoundCard(proc.root.string(), "1234:5678"), -1);
    EXPECT_EQ(headset::FindUsbSoundCard((proc.root / "missing").string(), "0c76:1630"), -1);
}

TEST(HeadsetLibrary, WithoutItsCardThereAreNoEndpointsAndTheMixerPropertiesFail) {
    ProcTree proc;
    AlsaHeadsetLibrary library(proc.root.string());
    ASSERT_EQ(library.ConfLibInit(), 0);
    std::uint32_t count = 7;
    ASSERT_EQ(library.GetDeviceCount(headset::kFlowPlayback, &count), 0);
    EXPECT_EQ(count, 0u);
    AudioEndpoint endpoint;
    EXPECT_NE(library.GetDeviceById(headset::kFlowPlayback, 0, &endpoint), 0);
    Buffers buffers;
    EXPECT_NE(buffers.Read(library, p::kMicScalar), 0);
    EXPECT_NE(buffers.Write(library, p::kMicMute, 1), 0);

    // Plugged in later: the next device list has it.
    proc.Card("card2", "0c76:1630");
    library.CreateDeviceList();
    EXPECT_EQ(library.CardIndex(), 2);
    ASSERT_EQ(library.GetDeviceCount(headset::kFlowCapture, &count), 0);
    EXPECT_EQ(count, 1u);
    ASSERT_EQ(library.GetDeviceById(headset::kFlowCapture, 0, &endpoint), 0);
    EXPECT_EQ(endpoint.type, 2u);
    EXPECT_EQ(endpoint.state, headset::kEndpointActive);
}

TEST(HeadsetLibrary, KeepsTheEffectsItCannotApplyAndHandsTheEqualiserToItsSink) {
    ProcTree proc;
    auto sink = std::make_unique<RecordingSink>();
    RecordingSink* calls = sink.get();
    AlsaHeadsetLibrary library(proc.root.string(), std::move(sink));
    library.ConfLibInit();
    Buffers buffers;
    ASSERT_EQ(buffers.Read(library, p::kSupportFeature), 0);
    EXPECT_EQ(buffers.Text(), "1,0,0,0,1,0,1");
    ASSERT_EQ(buffers.Write(library, p::kRoomSize, 12), 0);
    ASSERT_EQ(buffers.Read(library, p::kRoomSize), 0);
    EXPECT_EQ(buffers.Text(), "12");
    EXPECT_NE(buffers.Read(library, L"NoSuchProperty"), 0);

    ASSERT_EQ(buffers.Write(library, p::kEqEnable, 1), 0);
    ASSERT_EQ(buffers.Write(library, p::kEqBands[3], -4), 0);
    EXPECT_EQ(calls->calls, (std::vector<std::string>{"enable 1", "band 3 -4"}));
    ASSERT_EQ(buffers.Read(library, p::kEqBands[3]), 0);
    EXPECT_EQ(buffers.Text(), "-4");

    calls->refuse = true;
    EXPECT_NE(buffers.Write(library, p::kEqBands[3], 6), 0);
    ASSERT_EQ(buffers.Read(library, p::kEqBands[3]), 0);
    EXPECT_EQ(buffers.Text(), "-4") << "a band the sink refused is not kept";
}

// Only where the headset's card is there: its microphone level goes to the mixer and back.
TEST(HeadsetLibrary, TheRealCardsMicrophoneLevelRoundTrips) {
    if (headset::FindUsbSoundCard("/proc/asound", "0c76:1630") < 0)
        GTEST_SKIP() << "no sound card with USB identity 0c76:1630 in /proc/asound on this "
                        "machine; the ALSA mixer is not exercised";
    AlsaHeadsetLibrary library;
    ASSERT_EQ(library.ConfLibInit(), 0);
    std::vector<char> primary(headset::kPropertyBufferSize, 0);
    void* pointer = primary.data();
    ASSERT_EQ(library.PropertyControl({}, p::kMicScalar, &pointer, nullptr, headset::kRead), 0);
    const std::string before = primary.data();
    const float half = 0.5f;
    std::memcpy(primary.data(), &half, sizeof half);
    ASSERT_EQ(library.PropertyControl({}, p::kMicScalar, &pointer, nullptr, headset::kWrite), 0);
    ASSERT_EQ(library.PropertyControl({}, p::kMicScalar, &pointer, nullptr, headset::kRead), 0);
    EXPECT_NEAR(std::stod(primary.data()), 0.5, 0.05);
    const float old = std::stof(before);
    std::memcpy(primary.data(), &old, sizeof old);
    library.PropertyControl({}, p::kMicScalar, &pointer, nullptr, headset::kWrite);
}

} // namespace

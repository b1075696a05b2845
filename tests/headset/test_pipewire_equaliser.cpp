// The headset's equaliser on a private PipeWire daemon: the filter chain in front of the
// headset's sink, its band controls after a change, and what happens without the sink or
// without a daemon.

#include "HeadsetLibraryFixtures.h"
#include "PrivatePipeWire.h"
#include "headset/AlsaHeadsetLibrary.h"
#include "headset/HeadsetProperties.h"
#include "headset/PipeWireEqualiser.h"

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <thread>

namespace {

namespace p = headset::property;
using headset::kEqualiserNodeName;

const std::string kOutputNode = std::string(kEqualiserNodeName) + ".output";

// The daemon's objects once `ready` holds for them, or after five seconds.
template <typename Ready> Json::Value DumpWhen(const PrivatePipeWire& pipewire, Ready ready) {
    Json::Value dump = pipewire.Dump();
    for (int i = 0; i < 50 && !ready(dump); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        dump = pipewire.Dump();
    }
    return dump;
}

class PipeWireEqualiserTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!pipewire.SkipReason().empty())
            GTEST_SKIP() << "PipeWire equaliser not tested: " << pipewire.SkipReason();
    }
    PrivatePipeWire pipewire;
};

TEST_F(PipeWireEqualiserTest, SitsInFrontOfTheHeadsetsSinkAndChangesItsBandsLive) {
    ProcTree proc;
    proc.Card("card7", "0c76:1630");
    auto equaliser = headset::PipeWireEqualiser::Connect();
    ASSERT_TRUE(equaliser) << "no connection to the private daemon";
    headset::AlsaHeadsetLibrary library(proc.root.string(), std::move(equaliser));
    ASSERT_EQ(library.ConfLibInit(), 0);
    Buffers buffers;

    // A band set while the equaliser is off is kept and built in when it goes on.
    ASSERT_EQ(buffers.Write(library, p::kEqBands[2], 5), 0);
    EXPECT_TRUE(FindNode(pipewire.Dump(), kEqualiserNodeName).isNull());
    ASSERT_EQ(buffers.Write(library, p::kEqEnable, 1), 0);

    Json::Value dump = pipewire.Dump();
    const Json::Value sink = FindNode(dump, kEqualiserNodeName);
    ASSERT_FALSE(sink.isNull());
    EXPECT_EQ(sink["info"]["props"]["media.class"].asString(), "Audio/Sink");
    EXPECT_EQ(FindNode(dump, kOutputNode)["info"]["props"]["target.object"].asString(),
              PrivatePipeWire::kHeadsetSink);
    EXPECT_DOUBLE_EQ(NodeControl(sink, "band_1:Freq"), 31.0);
    EXPECT_DOUBLE_EQ(NodeControl(sink, "band_6:Freq"), 1000.0);
    EXPECT_DOUBLE_EQ(NodeControl(sink, "band_10:Freq"), 16000.0);
    EXPECT_DOUBLE_EQ(NodeControl(sink, "band_3:Gain"), 5.0);
    EXPECT_DOUBLE_EQ(NodeControl(sink, "band_4:Gain"), 0.0);
    if (!pipewire.NoSessionManager().empty()) {
        std::cout << "Link to the headset's sink not checked: " << pipewire.NoSessionManager()
                  << "\n";
    } else {
        dump = DumpWhen(pipewire, [](const Json::Value& objects) {
            return Linked(objects, kOutputNode, PrivatePipeWire::kHeadsetSink);
        });
        EXPECT_TRUE(Linked(dump, kOutputNode, PrivatePipeWire::kHeadsetSink))
            << "the session manager did not link the equaliser to the headset";
    }

    // Band changes go to the running filter: same node, new gain, held to ±12 dB.
    ASSERT_EQ(buffers.Write(library, p::kEqBands[3], -4), 0);
    ASSERT_EQ(buffers.Write(library, p::kEqBands[9], 30), 0);
    const Json::Value changed = FindNode(pipewire.Dump(), kEqualiserNodeName);
    EXPECT_EQ(changed["id"], sink["id"]);
    EXPECT_DOUBLE_EQ(NodeControl(changed, "band_4:Gain"), -4.0);
    EXPECT_DOUBLE_EQ(NodeControl(changed, "band_10:Gain"), 12.0);
    EXPECT_DOUBLE_EQ(NodeControl(changed, "band_3:Gain"), 5.0);
    ASSERT_EQ(buffers.Read(library, p::kEqBands[3]), 0);
    EXPECT_EQ(buffers.Text(), "-4");

    // Off removes the chain; on again builds it with the gains it had.
    ASSERT_EQ(buffers.Write(library, p::kEqEnable, 0), 0);
    dump = DumpWhen(pipewire, [](const Json::Value& objects) {
        return FindNode(objects, kEqualiserNodeName).isNull();
    });
    EXPECT_TRUE(FindNode(dump, kEqualiserNodeName).isNull());
    ASSERT_EQ(buffers.Write(library, p::kEqEnable, 1), 0);
    const Json::Value rebuilt = FindNode(pipewire.Dump(), kEqualiserNodeName);
    EXPECT_DOUBLE_EQ(NodeControl(rebuilt, "band_4:Gain"), -4.0);
    EXPECT_DOUBLE_EQ(NodeControl(rebuilt, "band_10:Gain"), 12.0);
}

TEST_F(PipeWireEqualiserTest, WithoutTheHeadsetsSinkTheBandsAreOnlyKept) {
    auto equaliser = headset::PipeWireEqualiser::Connect();
    ASSERT_TRUE(equaliser);
    equaliser->UseCard(PrivatePipeWire::kHeadsetCard + 1);
    EXPECT_TRUE(equaliser->SetBand(0, 3));
    EXPECT_TRUE(equaliser->SetEnabled(true));
    EXPECT_TRUE(FindNode(pipewire.Dump(), kEqualiserNodeName).isNull());
    EXPECT_FALSE(equaliser->SetBand(10, 3));

    // The headset's card turns up: the next "on" builds the chain with the kept band.
    equaliser->UseCard(PrivatePipeWire::kHeadsetCard);
    EXPECT_TRUE(equaliser->SetEnabled(true));
    EXPECT_DOUBLE_EQ(NodeControl(FindNode(pipewire.Dump(), kEqualiserNodeName), "band_1:Gain"),
                     3.0);
}

TEST(PipeWireEqualiserWithoutDaemon, IsNotMade) {
    ProcTree emptyRuntime;
    setenv("PIPEWIRE_RUNTIME_DIR", emptyRuntime.root.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", emptyRuntime.root.c_str(), 1);
    EXPECT_EQ(headset::PipeWireEqualiser::Connect(), nullptr);
}

} // namespace

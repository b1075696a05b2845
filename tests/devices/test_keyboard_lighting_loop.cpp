// The keyboard's lighting loop against the virtual keyboard, with a clock the test moves:
// when frames are rendered and which 0x12 packets reach the keyboard.

#include "KeyboardFixture.h"

#include "devices/LightTick.h"

#include <functional>
#include <map>
#include <optional>

namespace keyboardtest {
namespace {

using namespace devices;
using Clock = CLightingLoop::Clock;
using TimePoint = CLightingLoop::TimePoint;
using Leds = std::vector<LedColour>;

constexpr auto kTick = std::chrono::duration_cast<Clock::duration>(kLightTick);

TEST(EffectThresholds, FollowTheEffectTable) {
    for (int effect : {1, 4, 6, 15, 17, 20, 22, 24, 26, 27, 28}) {
        SCOPED_TRACE(effect);
        EXPECT_EQ(EffectThresholdTicks(effect, 0), 8);
        EXPECT_EQ(EffectThresholdTicks(effect, 1), 5);
        EXPECT_EQ(EffectThresholdTicks(effect, 2), 3);
        EXPECT_EQ(EffectThresholdTicks(effect, 3), 1);
        EXPECT_EQ(EffectThresholdTicks(effect, 9), 1) << "a speed above 3 counts as 3";
    }
    for (int speed = 0; speed <= 3; ++speed) {
        EXPECT_EQ(EffectThresholdTicks(16, speed), 3);
        EXPECT_EQ(EffectThresholdTicks(18, speed), 3);
        EXPECT_EQ(EffectThresholdTicks(29, speed), 2);
        EXPECT_EQ(EffectThresholdTicks(30, speed), 0);
        for (int recorded : {0, 19, 31, 200})
            EXPECT_EQ(EffectThresholdTicks(recorded, speed), kRecordedPlaybackTicks);
    }
    EXPECT_EQ(TicksToTime(kSpeed0ThresholdTicks), std::chrono::microseconds(125000));
}

class LightingLoopTest : public KeyboardTest {
protected:
    using Events = std::map<int, std::pair<std::function<void()>, LightingWake>>;

    void SetUp() override {
        KeyboardTest::SetUp();
        ASSERT_EQ(keyboard->ReadDeviceTables(), 1);
        board->SetWireLogCapacity(1 << 16);
        keyboard->SetFrameClock([this] { return now; });
        keyboard->SetFrameListener([this] { frames.push_back(Snapshot()); });
        ClearWire();
    }
    void ClearWire() {
        board->ClearWireLog();
        receiver->ClearWireLog();
    }
    Leds Snapshot() {
        Leds leds;
        for (int i = 0; i < keyboard->GetLedCount(); ++i)
            leds.push_back(keyboard->GetLedColour(i));
        return leds;
    }
    void Watch(bool on) {
        keyboard->SetPreviewShown(on);
        keyboard->SetWindowShown(on);
        keyboard->SetWindowHovered(on);
    }
    void SelectEffect(std::uint8_t effect, std::uint8_t speed, std::uint8_t multi = 0) {
        config::LightInfoRecord info = keyboard->GetLightInfo();
        info.selectItem = effect;
        info.speed = speed;
        info.light = 3;
        info.multiColor = multi;
        info.red = 40;
        info.green = 90;
        info.blue = 160;
        keyboard->SetLightInfo(info);
        keyboard->GetEffectState().Reset();
    }
    // The 0x12 packets that reached the keyboard.
    std::vector<sim::Packet> FramePackets() {
        std::vector<sim::Packet> out;
        for (const sim::WirePacket& p : Wire().WireLog())
            if (p.direction == sim::WireDirection::Request && p.bytes[3] == 0x12)
                out.push_back(p.bytes);
        return out;
    }
    // Runs a new loop for `ticks` ticks as the lighting thread would: at the times it asks
    // for, and at the ticks of `events` (run first, then the loop with the wake they name).
    void RunLoop(int ticks, const Events& events = {}) {
        CLightingLoop loop(keyboard->LightingTarget());
        const TimePoint start = now;
        const TimePoint end = start + ticks * kTick;
        std::optional<TimePoint> next = loop.RunUntil(now, LightingWake::kChange);
        auto event = events.begin();
        while (true) {
            std::optional<TimePoint> eventAt;
            if (event != events.end())
                eventAt = start + event->first * kTick;
            std::optional<TimePoint> at = next;
            if (eventAt && (!at || *eventAt <= *at))
                at = eventAt;
            if (!at || *at > end)
                break;
            now = *at;
            if (eventAt && *eventAt == now) {
                event->second.first();
                next = loop.RunUntil(now, event->second.second);
                ++event;
            } else {
                next = loop.RunUntil(now);
            }
        }
        now = end;
    }
    // The algorithm the loop replaces: a pass on every tick, counting ticks, stepping when
    // the count reaches the effect's threshold (every pass for threshold 0).
    void RunEveryTick(int ticks, const Events& events = {}) {
        int count = 0;
        const TimePoint start = now;
        for (int tick = 1; tick <= ticks; ++tick) {
            now = start + tick * kTick;
            if (const auto e = events.find(tick); e != events.end())
                e->second.first();
            ++count;
            const config::LightInfoRecord& info = keyboard->GetLightInfo();
            const int threshold = EffectThresholdTicks(info.selectItem, info.speed);
            const int due = threshold == kRecordedPlaybackTicks
                                ? keyboard->RecordedEffect().StepTicks()
                                : threshold;
            if (count < due)
                continue;
            count = 0;
            keyboard->StepEffect(static_cast<std::uint32_t>(
                std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch())
                    .count()));
            frames.push_back(Snapshot());
            keyboard->SendLightFrame();
        }
    }
    // Effect 19 plays three recorded steps: the spectrum at speed 3, a multi-colour flash, a
    // red standing still at speed 1.
    void WriteRecordedEffect() {
        WriteUserFile("rec.light", R"({"LEDEffectList":[
            {"LEDREGMode":4,"LEDBrightness":3,"LEDSpeed":3,"LEDDirection":0,"LEDMultiColor":0,
             "red":0,"green":0,"blue":0,"Time":200,"Cyle":0},
            {"LEDREGMode":22,"LEDBrightness":2,"LEDSpeed":3,"LEDDirection":0,"LEDMultiColor":1,
             "red":0,"green":0,"blue":0,"Time":150,"Cyle":0},
            {"LEDREGMode":6,"LEDBrightness":1,"LEDSpeed":1,"LEDDirection":0,"LEDMultiColor":0,
             "red":250,"green":10,"blue":20,"Time":300,"Cyle":0}]})");
        std::string effects;
        for (int i = 0; i < 20; ++i)
            effects += std::string(i ? "," : "") + R"({"LightName":"r","Guid":"rec"})";
        WriteUserFile("orbek_light.config", "{\"LightInfo\":[[" + effects + "]]}");
        keyboard->ReloadProfile();
    }
    static std::vector<Leds> Distinct(const std::vector<Leds>& all) {
        std::vector<Leds> out;
        for (const Leds& f : all)
            if (out.empty() || out.back() != f)
                out.push_back(f);
        return out;
    }

    TimePoint now = TimePoint{} + std::chrono::hours(1);
    std::vector<Leds> frames;
};

// Frames and packets of the deadline-driven loop equal those of the pass on every tick.
TEST_P(LightingLoopTest, DeadlinesRenderTheFramesOfTheTickByTickLoop) {
    struct Case {
        std::uint8_t effect;
        std::uint8_t speed;
        std::uint8_t multi;
    };
    const Case cases[] = {{4, 0, 0},  {4, 3, 0},  {22, 0, 1}, {22, 3, 0}, {26, 2, 0},
                          {27, 1, 0}, {29, 0, 1}, {29, 3, 0}, {30, 2, 0}, {19, 0, 0}};
    WriteRecordedEffect();
    MusicSpectrum loud{};
    loud.fill(1500);
    loud[3] = 2000;
    const int kTicks = 256; // 4 s: flashes toggle, breathing wraps, repeat intervals pass
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "effect " << int(c.effect) << " speed " << int(c.speed));
        auto run = [&](bool everyTick) {
            SelectEffect(c.effect, c.speed, c.multi);
            keyboard->ApplyProfileLighting();
            keyboard->SetAudioLighting(PackAudioLighting({2, 0, 0, 30, 200, 0, 0, c.multi, 0}));
            keyboard->SetUsingReceiver(ThroughReceiver()); // the last frame is forgotten
            keyboard->SetMusicSettings({1, 254, 7, 0, 0, 0});
            keyboard->TakeMusicSpectrum(); // none left from the run before
            Watch(true);
            frames.clear();
            ClearWire();
            Events events;
            for (int tick = 3; tick < kTicks; tick += 7)
                events[tick] = {
                    [&, tick] { keyboard->SetMusicSpectrum(tick % 2 ? loud : MusicSpectrum{}); },
                    LightingWake::kSpectrum};
            for (int tick : {90, 200})
                events[tick] = {[&, tick] {
                                    keyboard->SetMusicSettings({tick, 255 - tick, 7, 0, 0, 0});
                                },
                                LightingWake::kMusicSettings};
            if (everyTick)
                RunEveryTick(kTicks, events);
            else
                RunLoop(kTicks, events);
            return std::make_pair(frames, FramePackets());
        };
        const auto [tickFrames, tickPackets] = run(true);
        const auto [loopFrames, loopPackets] = run(false);
        ASSERT_FALSE(tickFrames.empty());
        if (c.effect == 30) {
            // Every pass renders the same colour again; the loop renders it once per change
            // and once per repeat interval.
            EXPECT_EQ(Distinct(loopFrames), Distinct(tickFrames));
            EXPECT_LT(loopFrames.size(), tickFrames.size() / 10);
        } else {
            EXPECT_EQ(loopFrames.size(), tickFrames.size());
            EXPECT_TRUE(loopFrames == tickFrames);
        }
        // Identical frames within the repeat interval were skipped on both sides.
        EXPECT_EQ(loopPackets.size(), tickPackets.size());
        EXPECT_TRUE(loopPackets == tickPackets);
        const bool streamed = (c.effect == 29 || c.effect == 30) && !ThroughReceiver();
        EXPECT_EQ(!tickPackets.empty(), streamed);
    }
}

TEST_P(LightingLoopTest, SpeedThreeStepsEveryTickAndSixteenAndEighteenIgnoreTheSpeed) {
    Watch(true);
    const std::pair<std::uint8_t, std::uint8_t> cases[] = {{4, 3},  {4, 2},  {4, 0}, {16, 0},
                                                           {16, 3}, {18, 1}, {18, 3}};
    const std::size_t expected[] = {24, 8, 3, 8, 8, 8, 8};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(testing::Message() << int(cases[i].first) << "/" << int(cases[i].second));
        SelectEffect(cases[i].first, cases[i].second);
        frames.clear();
        RunLoop(24);
        EXPECT_EQ(frames.size(), expected[i]);
    }
}

// Nobody watches and the keyboard runs the effect itself: nothing is rendered or sent, and
// the loop asks for no time at all until something changes.
TEST_P(LightingLoopTest, AHiddenKeyboardInItsOwnEffectRendersAndSendsNothing) {
    SelectEffect(4, 3);
    keyboard->SetPreviewShown(true); // the page is current, the window hidden
    CLightingLoop loop(keyboard->LightingTarget());
    const Leds before = Snapshot();
    EXPECT_EQ(loop.RunUntil(now, LightingWake::kChange), std::nullopt);
    for (int tick = 1; tick < 200; ++tick)
        EXPECT_EQ(loop.RunUntil(now + tick * kTick), std::nullopt);
    EXPECT_TRUE(frames.empty());
    EXPECT_EQ(Snapshot(), before);
    EXPECT_TRUE(FramePackets().empty());

    keyboard->SetWindowShown(true);
    EXPECT_EQ(loop.RunUntil(now, LightingWake::kChange), std::nullopt)
        << "a window in the background keeps its last frame";
    keyboard->SetWindowHovered(true);
    EXPECT_EQ(loop.RunUntil(now, LightingWake::kChange), now + kTick) << "watched: it runs";
    EXPECT_EQ(loop.RunUntil(now + kTick), now + 2 * kTick);
    EXPECT_EQ(frames.size(), 1u);
    EXPECT_TRUE(FramePackets().empty()) << "the keyboard's own effect gets no frame";

    // Paused lighting and a closed channel sleep as well.
    keyboard->CommandChannel().lightPause = true;
    EXPECT_EQ(loop.RunUntil(now + 2 * kTick), std::nullopt);
    keyboard->CommandChannel().lightPause = false;
    keyboard->CommandChannel().open = false;
    EXPECT_EQ(loop.RunUntil(now + 3 * kTick, LightingWake::kChange), std::nullopt);
    EXPECT_EQ(frames.size(), 1u);
}

// The music effect streams while nobody watches, by cable only; through the receiver only
// the watched preview runs.
TEST_P(LightingLoopTest, MusicFramesStreamByCableAndThroughTheReceiverOnlyThePreviewRuns) {
    SelectEffect(29, 0);
    MusicSpectrum bands{};
    bands[0] = 2000;
    keyboard->SetMusicSpectrum(bands);
    RunLoop(20);
    EXPECT_TRUE(frames.empty()) << "nobody watches";
    if (ThroughReceiver()) {
        Watch(true);
        RunLoop(20);
        EXPECT_EQ(frames.size(), 10u) << "every second tick";
        EXPECT_EQ(frames.front()[120].alpha, 254) << "the bar of band 0";
        EXPECT_TRUE(FramePackets().empty());
        EXPECT_TRUE(receiver->WireLog().empty());
        return;
    }
    const std::vector<sim::Packet> packets = FramePackets();
    ASSERT_FALSE(packets.empty());
    EXPECT_EQ(packets.size() % 7, 0u) << "whole frames of 372 bytes";
    EXPECT_LE(packets.size(), 7u * 10) << "one frame every second tick at most";
    const Bytes memory = board->LedTable();
    const auto frame = keyboard->BuildMappedFrame();
    EXPECT_EQ(Bytes(memory.begin(), memory.begin() + 372),
              Bytes(frame.begin(), frame.begin() + 372))
        << "the keyboard shows the last frame rendered";
}

// Effect 30 renders when music settings arrive and once a second; the keyboard gets each new
// colour at once and the same colour again after the repeat interval.
TEST_P(LightingLoopTest, TheMusicColourStepsOnNewSettingsAndAtTheRepeatInterval) {
    SelectEffect(30, 0);
    keyboard->SetMusicSettings({10, 20, 30, 0, 0, 0});
    CLightingLoop loop(keyboard->LightingTarget());
    Watch(true);
    const TimePoint start = now;
    EXPECT_EQ(loop.RunUntil(now, LightingWake::kChange), start + CLightingLoop::kEveryPassRepeat);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0][0], (LedColour{10, 20, 30, 255}));
    EXPECT_EQ(loop.RunUntil(start + 50 * kTick), start + CLightingLoop::kEveryPassRepeat)
        << "an early wake renders nothing";
    EXPECT_EQ(frames.size(), 1u);

    now = start + std::chrono::milliseconds(300);
    keyboard->SetMusicSettings({200, 0, 5, 0, 0, 0});
    EXPECT_EQ(loop.RunUntil(now, LightingWake::kMusicSettings),
              now + CLightingLoop::kEveryPassRepeat);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[1][169], (LedColour{200, 0, 5, 255}));
    now += CLightingLoop::kEveryPassRepeat;
    loop.RunUntil(now);
    EXPECT_EQ(frames.size(), 3u);

    // 7 packets a frame: the first colour, the second, the second again a second later.
    EXPECT_EQ(FramePackets().size(), ThroughReceiver() ? 0u : 3u * 7);
    if (!ThroughReceiver()) {
        const Bytes memory = board->LedTable();
        const std::size_t n = keyboard->Maps().leds[0];
        EXPECT_EQ(memory[3 * n], 199) << "200 × 255 >> 8";
        EXPECT_EQ(memory[3 * n + 2], 4);
    }
}

INSTANTIATE_TEST_SUITE_P(Keyboard, LightingLoopTest, ::testing::Bool(), KindName);

} // namespace
} // namespace keyboardtest

// Music lighting in the real main window: the recorder greeted when it comes on the session
// bus and told the colours, the sliders with no recorder, the spectrum's band levels at the
// first keyboard, and the music window's styles.

#include "MainWindowFixture.h"
#include "config/JsonFile.h"
#include "devices/KelvaneKeyboardDevice.h"
#include "platform/InstanceBus.h"
#include "platform/Paths.h"
#include "shell/music/MusicRoutes.h"
#include "shell/music/MusicWnd.h"
#include "transport/CommandPacket.h"
#include "ui/ComboUI.h"
#include "ui/EditUI.h"
#include "ui/SliderUI.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>

#include <set>

namespace {

namespace sm = shell::music;

// A stand-in recorder on its own bus connection: it records what this test's configurator
// sends (other tests on the same bus may greet it too).
class FakeRecorder : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.quarin.Z17Keyboard.AudioRecord")
public:
    FakeRecorder()
        : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, "recorder")) {}
    ~FakeRecorder() override {
        m_bus.unregisterService(QString::fromLatin1(sm::kRecorderService));
        QDBusConnection::disconnectFromBus("recorder");
    }
    bool Register() {
        return m_bus.registerObject(QString::fromLatin1(sm::kRecorderPath), this,
                                    QDBusConnection::ExportAllSlots) &&
               m_bus.registerService(QString::fromLatin1(sm::kRecorderService));
    }
    std::vector<std::pair<quint32, quint32>> messages;
    std::vector<std::pair<quint32, QByteArray>> data;

public slots:
    void RecorderMessage(quint32 command, quint32 argument) {
        if (FromThisTest())
            messages.emplace_back(command, argument);
    }
    void CopyData(quint32 id, const QByteArray& payload) {
        if (FromThisTest())
            data.emplace_back(id, payload);
    }

private:
    bool FromThisTest() const {
        return message().service() == QDBusConnection::sessionBus().baseService();
    }

    QDBusConnection m_bus;
};

class MusicLightingTest : public test::MainWindowTest {
protected:
    // The keyboard's lighting panel holds the recorder's colour sliders.
    void PlugKeyboard() {
        devices.Plug(sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard));
        ASSERT_TRUE(test::WaitUntil([&] { return wnd->ConnectedCount() == 1; }, 3000));
        ASSERT_TRUE(test::WaitUntil([&] { return Slider("R_light_slider") != nullptr; }, 3000));
    }
    ui::CSliderUI* Slider(const char* name) const { return wnd->Find<ui::CSliderUI>(name); }
    ui::CControlUI* Beside(ui::CSliderUI* slider, const char* label) const {
        return wnd->GetPaintManager().FindSubControlByName(slider->GetParent(),
                                                           QLatin1String(label));
    }
    void Move(ui::CSliderUI* slider, int value) {
        ASSERT_NE(slider, nullptr);
        slider->SetValue(value);
        wnd->GetPaintManager().SendNotify(slider, ui::notify::valuechanged);
    }
};

TEST_F(MusicLightingTest, WithNoRecorderTheSlidersOnlyShowTheirValues) {
    sm::CMusicRoutes* music = wnd->Music();
    ASSERT_NE(music, nullptr);
    PlugKeyboard();
    Move(Slider("R_light_slider"), 120);
    Move(Slider("B_light_slider"), 7);
    EXPECT_EQ(Beside(Slider("R_light_slider"), "R_light_label")->GetText(),
              QStringLiteral("R 120"));
    EXPECT_EQ(Beside(Slider("B_light_slider"), "B_light_label")->GetText(), QStringLiteral("B 7"));
    EXPECT_FALSE(music->Recorder().IsKnown());
    // The user's style file came from the shipped one.
    const Json::Value styles = config::ReadJsonFile(platform::UserFolder() + "AudioFile.json");
    EXPECT_EQ(styles["Device"]["AudioLightInfo"]["nStyleName3"].asString(), "第三组");
}

TEST_F(MusicLightingTest, ARecorderThatComesIsGreetedAndToldTheColours) {
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no session bus (scripts/test runs the tests on one)";
    PlugKeyboard();
    FakeRecorder recorder;
    ASSERT_TRUE(recorder.Register());
    ASSERT_TRUE(test::WaitUntil([&] { return recorder.messages.size() >= 3; }, 3000));
    EXPECT_EQ(recorder.messages[0].first, 0u);
    EXPECT_EQ(recorder.messages[0].second, quint32(QCoreApplication::applicationPid()));
    EXPECT_EQ(recorder.messages[1], std::make_pair(3u, 0u));
    EXPECT_EQ(recorder.messages[2], std::make_pair(1u, 0u));
    EXPECT_TRUE(wnd->Music()->Recorder().IsKnown());

    Move(Slider("G_light_slider"), 99);
    ASSERT_TRUE(test::WaitUntil([&] { return recorder.messages.size() >= 4; }));
    EXPECT_EQ(recorder.messages[3], std::make_pair(7u, 99u));

    wnd->Music()->Recorder().SendStyleColour(config::StyleColourPayload(wnd->Music()->Styles()));
    ASSERT_TRUE(test::WaitUntil([&] { return !recorder.data.empty(); }));
    EXPECT_EQ(recorder.data[0].first, 10u);
    EXPECT_EQ(recorder.data[0].second.size(), 40);

    wnd->Music()->Recorder().Shutdown();
    ASSERT_TRUE(test::WaitUntil([&] { return recorder.messages.size() >= 7; }));
    EXPECT_EQ(recorder.messages[4].first, 2u);
    EXPECT_EQ(recorder.messages[5].first, 4u);
    EXPECT_EQ(recorder.messages[6].first, 5u);
}

TEST_F(MusicLightingTest, EveryThirdSpectrumGoesToTheFirstKeyboard) {
    PlugKeyboard();
    devices::CKelvaneKeyboardDevice* keyboard = nullptr;
    for (devices::CKelvaneUSBDevice* device : wnd->Registry()->Devices())
        keyboard = keyboard ? keyboard : dynamic_cast<devices::CKelvaneKeyboardDevice*>(device);
    ASSERT_NE(keyboard, nullptr);
    keyboard->TakeMusicSpectrum();

    QByteArray spectrum(2000, 0);
    auto* values = reinterpret_cast<std::int32_t*>(spectrum.data());
    values[5] = 400; // band 1
    wnd->OnCopyData(1, spectrum);
    wnd->OnCopyData(1, spectrum);
    EXPECT_EQ(keyboard->TakeMusicSpectrum()[1], 0) << "not before the third message";
    wnd->OnCopyData(1, spectrum);
    const devices::MusicSpectrum levels = keyboard->TakeMusicSpectrum();
    EXPECT_EQ(levels[1], 100 / 4 / 4);
    EXPECT_EQ(levels[0], 0);
}

TEST_F(MusicLightingTest, TheMusicWindowEditsACopyOfTheStyles) {
    config::AudioStyleSet styles;
    styles.current = 2;
    styles.names = {L"a", L"b", L"c", L"d"};
    styles.colours = {1, 2, 3, 4, 5, 6, 70, 80, 90, 10, 11, 12};
    bool checked = false;
    sm::CMusicWnd* window = nullptr;
    QTimer::singleShot(0, [&] {
        ASSERT_NE(window, nullptr);
        auto* r = window->Find<ui::CSliderUI>(QStringLiteral("audio_r_slider"));
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->GetValue(), 70) << "style 3's red";
        // Style 4, its red moved.
        auto* tab = window->Find<ui::COptionUI>(QStringLiteral("audio_select_tab4"));
        QTest::mouseClick(tab, Qt::LeftButton);
        EXPECT_EQ(r->GetValue(), 10);
        r->SetValue(200);
        window->GetPaintManager().SendNotify(r, ui::notify::valuechanged);
        // The third name emptied and left.
        auto* name = window->Find<ui::CEditUI>(QStringLiteral("audio_edit_name3"));
        name->SetText(QString());
        window->GetPaintManager().SendNotify(name, ui::notify::killfocus);
        EXPECT_EQ(name->GetText(), QStringLiteral("第三组"));
        checked = true;
        QTest::mouseClick(window->Find<QPushButton>(QStringLiteral("okbtn")), Qt::LeftButton);
    });
    const int result = sm::RunMusicWindow(
        wnd.get(), styles, [&](ui::CWindowWnd* w) { window = dynamic_cast<sm::CMusicWnd*>(w); });
    ASSERT_TRUE(checked);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(styles.current, 3);
    EXPECT_EQ(styles.Red(3), 200);
    EXPECT_EQ(styles.names[2], L"第三组");
    EXPECT_EQ(styles.Red(2), 70) << "the other styles as they were";
}

// The light frames (0x12 requests) the keyboard received, by their bytes.
std::vector<std::vector<std::uint8_t>> LightFrames(const sim::VirtualDevice& device) {
    std::vector<std::vector<std::uint8_t>> frames;
    for (const auto& packet : device.WireLog())
        if (packet.direction == sim::WireDirection::Request &&
            packet.bytes[transport::packet::kCommandAt] == 0x12)
            frames.emplace_back(packet.bytes.begin(), packet.bytes.end());
    return frames;
}

// The window's bus object on this test's connection: the recorder it starts sends there,
// whoever owns the program's bus name on the shared bus.
class MusicEndToEndTest : public MusicLightingTest {
protected:
    void SetUp() override {
        MusicLightingTest::SetUp();
        if (HasFatalFailure())
            return;
        if (!QDBusConnection::sessionBus().isConnected())
            GTEST_SKIP() << "no session bus (scripts/test runs the tests on one)";
        ASSERT_TRUE(QDBusConnection::sessionBus().registerObject(
            QString::fromLatin1(platform::kObjectPath), &bus, QDBusConnection::ExportAllSlots));
        bus.handlers.copyData = [this](quint32 id, const QByteArray& bytes) {
            return wnd->OnCopyData(id, bytes);
        };
    }
    void TearDown() override {
        bus.handlers = {};
        QDBusConnection::sessionBus().unregisterObject(QString::fromLatin1(platform::kObjectPath));
        MusicLightingTest::TearDown();
    }
    platform::InstanceBus bus;
};

TEST_F(MusicEndToEndTest, TheMusicEffectRunsTheRecorderAndItsSoundReachesTheKeyboard) {
    qputenv(sm::kRecorderVariable, QUARIN_RECORDER);
    auto board = sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    devices.Plug(board);
    ASSERT_TRUE(test::WaitUntil([&] { return wnd->CurrentDevice() != nullptr; }, 3000));
    auto* keyboard = dynamic_cast<devices::CKelvaneKeyboardDevice*>(wnd->CurrentDevice());
    ASSERT_NE(keyboard, nullptr);
    // The item reads the keyboard (and fills its lighting page) once it is shown.
    ASSERT_TRUE(test::WaitUntil([&] { return !keyboard->GetModeList().empty(); }, 3000));
    sm::CMusicRoutes* music = wnd->Music();
    music->SetDemoInput(QUARIN_DEMO_MUSIC);
    EXPECT_FALSE(music->Recorder().IsRunning());

    // The music spectrum: the recorder starts, is greeted, and its beat lights the keys.
    auto* modes = wnd->Find<ui::CComboUI>(QStringLiteral("light_combo_modeSelect"));
    ASSERT_NE(modes, nullptr);
    ASSERT_TRUE(modes->SelectItem(29));
    EXPECT_TRUE(music->Recorder().IsRunning());
    ASSERT_TRUE(test::WaitUntil([&] { return music->Recorder().IsKnown(); }, 5000));
    ASSERT_TRUE(test::WaitUntil(
        [&] {
            const auto& levels = music->Bands().Levels();
            return *std::max_element(levels.begin(), levels.end()) > 100;
        },
        5000))
        << "no sound came through the band levels";
    const std::size_t before = LightFrames(*board).size();
    QTest::qWait(1500);
    const auto frames = LightFrames(*board);
    ASSERT_GT(frames.size(), before + 20) << "the effect streams its frames";
    std::set<std::vector<std::uint8_t>> distinct(frames.begin() + before, frames.end());
    EXPECT_GT(distinct.size(), 10u) << "the frames follow the sound";

    // Another effect needs no recorder: it is told goodbye and ends.
    ASSERT_TRUE(modes->SelectItem(1));
    EXPECT_FALSE(music->Recorder().IsRunning());
    qunsetenv(sm::kRecorderVariable);
}

} // namespace

#include "test_music_lighting.moc"

// The macro editor in the real main window over the virtual keyboard on its cable: a macro
// recorded from keys the window system delivers, stopped by a real click, assigned to a key
// and saved, lands in the keyboard's macro memory and key table; deleting it while the key
// names it gives the key its default back; hiding the window to the tray ends a recording.

#include "MainWindowFixture.h"
#include "config/JsonFile.h"
#include "devices/KelvaneKeyboardDevice.h"
#include "shell/keyset/DeviceHook.h"
#include "shell/keyset/KeySetControlUI.h"
#include "shell/keyset/KeySetRoutes.h"
#include "shell/macro/MacroControlUI.h"
#include "shell/macro/MacroEventRow.h"
#include "shell/macro/MacroRoutes.h"
#include "shell/selector/DeviceOptionUI.h"
#include "ui/ComboUI.h"
#include "ui/EditUI.h"
#include "ui/ListUI.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSpontaneKeyEvent>
#include <QTimer>
#include <QWindow>
#include <json/json.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace {

using test::MainWindowTest;

constexpr int kKeyA = 64;
// Linux input key codes; the window system reports them as X key codes, 8 higher.
constexpr int kLinuxKeyA = 30;
constexpr int kLinuxKeyLeftShift = 42;
constexpr std::uint32_t kDefaultOfA = 0x200004;

// One event as the ".mac" file and the macro memory should hold it.
struct ExpectedEvent {
    int type;
    bool down;
    int button;
    int delay;
    const char* keyText; // the text id of the key's name
};

// Recorded with the moved clock below: A down, 120 ms, A up, 50 ms, Left Shift down, 80 ms,
// Left Shift up. Each pause ends up on the event before it; the last event keeps 0.
const std::vector<ExpectedEvent> kRecorded = {{10, true, 4, 120, "keyboard_key_A"},
                                              {10, false, 4, 50, "keyboard_key_A"},
                                              {9, true, 2, 80, "keyboard_key_LShift"},
                                              {9, false, 2, 0, "keyboard_key_LShift"}};

Json::Value ParseJson(const std::string& text) {
    Json::Value value;
    std::string errors;
    const std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
    reader->parse(text.data(), text.data() + text.size(), &value, &errors);
    return value;
}

class MacroEndToEndTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        if (HasFatalFailure())
            return;
        board = sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
        devices.Plug(board);
        ASSERT_TRUE(test::WaitUntil([&] { return wnd->ConnectedCount() == 1; }));
        keyboard = dynamic_cast<devices::CKelvaneKeyboardDevice*>(wnd->CurrentDevice());
        ASSERT_NE(keyboard, nullptr);
        // The item reads the keyboard's tables once it is shown.
        ASSERT_TRUE(test::WaitUntil(
            [&] { return keyboard->Maps().keys[kKeyA] != devices::kNoDeviceKey; }, 3000));
        panel = wnd->Macro()->PanelOf(keyboard);
        ASSERT_NE(panel, nullptr);
        panel->SetClock([this] { return now; });
    }

    template <class T = ui::CControlUI> T* InPanel(const char* name) const {
        return dynamic_cast<T*>(
            wnd->GetPaintManager().FindSubControlByName(panel, QString::fromLatin1(name)));
    }
    ui::CListUI* Names() const { return InPanel<ui::CListUI>("macro_name_list"); }
    ui::CListUI* Rows() const { return InPanel<ui::CListUI>("macro_action_list"); }

    // A key as the window system hands it to the window: a spontaneous event with the native
    // scan code, to the window itself rather than to a widget.
    void SendKey(int linuxCode, bool press) {
        QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_unknown,
                        Qt::NoModifier, static_cast<quint32>(linuxCode + 8), 0, 0);
        QSpontaneKeyEvent::setSpontaneous(&event);
        QWindow* native = Host()->windowHandle();
        ASSERT_NE(native, nullptr);
        QApplication::instance()->notify(native, &event);
    }
    // A left click through the window system at the centre of a control.
    void ClickThroughWindow(const char* name) { ClickThroughWindow(InPanel(name)); }
    void ClickThroughWindow(ui::CControlUI* control) {
        ASSERT_NE(control, nullptr);
        QWidget* widget = control->GetWidget();
        ASSERT_TRUE(widget->isVisible()) << control->GetName().toStdString();
        const QPoint at = widget->mapTo(Host(), widget->rect().center());
        QTest::mouseClick(Host()->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
    }

    // The keyboard page's macro tab, with a new macro "macro_1" selected.
    // A new macro recording A held for `heldMs`, still recording.
    void StartRecordingAPress(int heldMs) {
        AddMacroOnMacroTab();
        now = 1000;
        Click("macro_btn_starredio");
        ASSERT_TRUE(panel->IsRecording());
        now = 1100;
        SendKey(kLinuxKeyA, true);
        now = 1100 + heldMs;
        SendKey(kLinuxKeyA, false);
    }
    void AddMacroOnMacroTab() {
        Click("macro_Op_tab");
        ASSERT_NE(Names(), nullptr);
        ASSERT_EQ(Names()->GetCount(), 0);
        Click("macro_btn_name_add");
        ASSERT_EQ(Names()->GetCount(), 1);
        EXPECT_EQ(Names()->GetItemAt(0)->GetText().toStdString(), "macro_1");
        EXPECT_EQ(Names()->GetCurSel(), 0);
    }
    // Records kRecorded and stops with a click on the stop button.
    void RecordKeys() {
        now = 1000;
        Click("macro_btn_starredio");
        ASSERT_TRUE(panel->IsRecording());
        ASSERT_TRUE(wnd->KeySet()->Hook().IsCapturingKeys());
        ASSERT_TRUE(InPanel("macro_btn_stopredio")->IsVisible());
        now = 1100;
        SendKey(kLinuxKeyA, true);
        now = 1220;
        SendKey(kLinuxKeyA, false);
        now = 1270;
        SendKey(kLinuxKeyLeftShift, true);
        now = 1350;
        SendKey(kLinuxKeyLeftShift, false);
        ClickThroughWindow("macro_btn_stopredio");
        ASSERT_FALSE(panel->IsRecording());
        EXPECT_FALSE(wnd->KeySet()->Hook().IsCapturingKeys());
        EXPECT_FALSE(wnd->KeySet()->Hook().IsCapturingMouse());
        EXPECT_TRUE(InPanel("macro_btn_starredio")->IsVisible());
    }
    // The key page: key A takes macro 0 of the library and is saved to the keyboard.
    void AssignMacroToKeyA() {
        Click("key_Op_tab");
        Click("key_64");
        ASSERT_EQ(keyboard->GetSelectedKey(), kKeyA);
        shell::keyset::CKeySetControlUI* keys = wnd->KeySet()->PanelOf(keyboard);
        ASSERT_NE(keys, nullptr);
        auto* function = wnd->Find<ui::CComboUI>("keyset_function_combo");
        ASSERT_NE(function, nullptr);
        ASSERT_TRUE(function->SelectItem(keys->FunctionItem(shell::keyset::kFunctionMacro)));
        auto* macros = wnd->Find<ui::CComboUI>("keyset_macro_combo");
        ASSERT_NE(macros, nullptr);
        ASSERT_EQ(macros->GetCount(), 1) << "the library's names are offered";
        EXPECT_EQ(macros->GetItemAt(0)->GetText().toStdString(), "macro_1");
        ASSERT_TRUE(macros->SelectItem(0));
        board->ClearWireLog();
        Click("key_butt_prosave");
    }

    std::string MacroFile() const {
        return keyboard->UserDataFolder() + panel->Library().Macros().at(0).guid + ".mac";
    }
    std::uint32_t ProfileAssignmentOfA() const {
        const Json::Value profile = config::ReadJsonFile(keyboard->UserDataFolder() +
                                                         keyboard->GetCurrentProfileId() + ".Json");
        return profile["Device"][0]["KeyList"][kKeyA]["Assignment"].asUInt();
    }
    std::vector<std::uint8_t> KeyTableBytesOfA() const {
        const auto at = static_cast<std::size_t>(3 * keyboard->Maps().keys[kKeyA]);
        const std::vector<std::uint8_t> table = board->KeyTable();
        if (at + 2 >= table.size())
            return {};
        return {table[at], table[at + 1], table[at + 2]};
    }
    bool SentCommand(std::uint8_t command) const {
        for (const sim::WirePacket& p : board->WireLog()) {
            if (p.direction == sim::WireDirection::Request &&
                p.bytes[sim::wire::kCommandAt] == command)
                return true;
        }
        return false;
    }

    // Answers each modal message window as it opens, in turn, and keeps its text.
    void AnswerMessages(std::vector<const char*> buttons) {
        answers = std::move(buttons);
        QObject::connect(&messageWatch, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (w->objectName() != QLatin1String("MsgWnd") || !w->isVisible() || w == answered)
                    continue;
                auto* label = w->findChild<QLabel*>("MessageText");
                shownTexts << (label ? label->text() : QString());
                const std::size_t turn = static_cast<std::size_t>(shownTexts.size()) - 1;
                const char* name = turn < answers.size() ? answers[turn] : "cancel_btn";
                if (auto* button = w->findChild<QPushButton*>(name))
                    QTest::mouseClick(button, Qt::LeftButton);
                answered = w;
            }
        });
        messageWatch.start(20);
    }

    std::shared_ptr<sim::VirtualDevice> board;
    devices::CKelvaneKeyboardDevice* keyboard = nullptr;
    shell::macro::CMacroControlUI* panel = nullptr;
    ::macro::Milliseconds now = 0;
    QTimer messageWatch;
    std::vector<const char*> answers;
    QStringList shownTexts;
    QPointer<QWidget> answered;
};

TEST_F(MacroEndToEndTest, ARecordedMacroAssignedToAKeyReachesTheKeyboard) {
    AddMacroOnMacroTab();
    RecordKeys();

    // The rows, as the editor shows and keeps them; the stop click added none.
    ui::CListUI* rows = Rows();
    ASSERT_NE(rows, nullptr);
    ASSERT_EQ(rows->GetCount(), static_cast<int>(kRecorded.size()));
    for (std::size_t i = 0; i < kRecorded.size(); ++i) {
        ui::CControlUI* row = rows->GetItemAt(static_cast<int>(i));
        const Json::Value event = ParseJson(row->GetUserData().toStdString());
        EXPECT_EQ(event["Type"].asInt(), kRecorded[i].type) << i;
        EXPECT_EQ(event["Action"].asString(), kRecorded[i].down ? "down" : "up") << i;
        EXPECT_EQ(event["Button"].asInt(), kRecorded[i].button) << i;
        EXPECT_EQ(shell::macro::DelayEditOfRow(row)->GetText().toInt(), kRecorded[i].delay) << i;
        // The action label names the key, the direction label says press or release.
        auto* labels = dynamic_cast<ui::CContainerUI*>(row);
        ASSERT_NE(labels, nullptr);
        ASSERT_FALSE(wnd->TextById(kRecorded[i].keyText).isEmpty());
        EXPECT_EQ(labels->GetItemAt(0)->GetText(), wnd->TextById(kRecorded[i].keyText)) << i;
        EXPECT_EQ(labels->GetItemAt(1)->GetText(),
                  wnd->TextById(kRecorded[i].down ? "macro_event_down" : "macro_event_up"))
            << i;
    }

    // The file the stop button saved.
    const Json::Value mac = config::ReadJsonFile(MacroFile());
    EXPECT_EQ(mac["MacroName"].asString(), "macro_1");
    EXPECT_EQ(mac["Version"].asInt(), 64);
    ASSERT_EQ(mac["Events"].size(), kRecorded.size());
    for (Json::ArrayIndex i = 0; i < mac["Events"].size(); ++i) {
        const Json::Value& event = mac["Events"][i];
        EXPECT_EQ(event["Type"].asInt(), kRecorded[i].type) << i;
        EXPECT_EQ(event["Action"].asString(), kRecorded[i].down ? "down" : "up") << i;
        EXPECT_EQ(event["Button"].asInt(), kRecorded[i].button) << i;
        EXPECT_EQ(event["Delay"].asString(), std::to_string(kRecorded[i].delay)) << i;
    }

    AssignMacroToKeyA();
    EXPECT_EQ(KeyTableBytesOfA(), (std::vector<std::uint8_t>{0x70, 0x00, 0x00}));
    EXPECT_EQ(ProfileAssignmentOfA(), 0x700000u);

    // The image: magic, total length 16 + 6 + 4 × 4 = 38, one macro, ten zeros, the block's
    // offset 18, then the block: 4 events, two zeros, each event as delay (low byte first),
    // type with bit 7 for a press, button.
    const std::vector<std::uint8_t> image = {
        0xAA, 0x55, 38, 0,   1, 0,    0, 0,  0, 0,    0, 0,  0, 0,    0, 0, 18, 0,    4,
        0,    0,    0,  120, 0, 0x8A, 4, 50, 0, 0x0A, 4, 80, 0, 0x89, 2, 0, 0,  0x09, 2};
    const std::vector<std::uint8_t> memory = board->MacroMemory();
    ASSERT_GE(memory.size(), image.size());
    EXPECT_EQ(std::vector<std::uint8_t>(memory.begin(), memory.begin() + image.size()), image);
    EXPECT_EQ(memory[image.size()], 0xFF) << "nothing written past the image";

    // On the wire: the image in 0x15 packets between 0x01 and 0x02, before the key table.
    std::vector<std::uint8_t> sent;
    std::vector<std::uint8_t> commands;
    bool keyTableAfterMacros = false;
    for (const sim::WirePacket& p : board->WireLog()) {
        if (p.direction != sim::WireDirection::Request)
            continue;
        const std::uint8_t command = p.bytes[sim::wire::kCommandAt];
        if (commands.empty() || commands.back() != command)
            commands.push_back(command);
        if (command == 0x15) {
            const std::size_t offset = p.bytes[sim::wire::kOffsetLowAt] |
                                       std::size_t{p.bytes[sim::wire::kOffsetHighAt]} << 8;
            EXPECT_EQ(offset, sent.size());
            const auto* data = p.bytes.data() + sim::wire::kDataAt;
            sent.insert(sent.end(), data, data + p.bytes[sim::wire::kLengthAt]);
        }
        keyTableAfterMacros |= command == 0x09 && !sent.empty();
    }
    EXPECT_EQ(sent, image);
    EXPECT_TRUE(keyTableAfterMacros);
    const auto write = std::find(commands.begin(), commands.end(), 0x15);
    ASSERT_NE(write, commands.end());
    ASSERT_TRUE(write != commands.begin() && write + 1 != commands.end());
    EXPECT_EQ(write[-1], 0x01);
    EXPECT_EQ(write[1], 0x02);
}

// Deleting the macro key A names: two questions; both confirmed, the key gets its default
// back, in the profile and on the keyboard, and the library is empty.
TEST_F(MacroEndToEndTest, DeletingAMacroAKeyNamesGivesTheKeyItsDefaultOnceBothAreConfirmed) {
    AddMacroOnMacroTab();
    RecordKeys();
    AssignMacroToKeyA();
    ASSERT_EQ(KeyTableBytesOfA(), (std::vector<std::uint8_t>{0x70, 0x00, 0x00}));
    const std::string macFile = MacroFile();
    const QString first = wnd->MessageTextById(QStringLiteral("message_text_4"));
    const QString second = wnd->MessageTextById(QStringLiteral("message_text_2"));
    ASSERT_FALSE(first.isEmpty());
    ASSERT_NE(first, second);

    Click("macro_Op_tab");
    board->ClearWireLog();
    AnswerMessages({"confirm_btn", "confirm_btn"});
    Click("macro_btn_name_sub");
    EXPECT_EQ(shownTexts, (QStringList{first, second}));

    EXPECT_EQ(Names()->GetCount(), 0);
    EXPECT_EQ(Rows()->GetCount(), 0);
    EXPECT_TRUE(panel->Library().Macros().empty());
    EXPECT_FALSE(std::filesystem::exists(macFile));
    EXPECT_EQ(keyboard->KeyList().at(kKeyA).code.Value(), kDefaultOfA);
    EXPECT_EQ(ProfileAssignmentOfA(), kDefaultOfA);
    EXPECT_TRUE(SentCommand(0x09));
    EXPECT_EQ(KeyTableBytesOfA(), (std::vector<std::uint8_t>{0x20, 0x00, 0x04}));
    EXPECT_FALSE(SentCommand(0x15)) << "no key uses a macro any more";
    EXPECT_EQ(wnd->Find<ui::CComboUI>("keyset_macro_combo")->GetCount(), 0);
}

TEST_F(MacroEndToEndTest, CancelAtTheSecondQuestionKeepsTheMacroAndTheKey) {
    AddMacroOnMacroTab();
    RecordKeys();
    AssignMacroToKeyA();
    const std::string macFile = MacroFile();
    const std::vector<std::uint8_t> memory = board->MacroMemory();

    Click("macro_Op_tab");
    board->ClearWireLog();
    AnswerMessages({"confirm_btn", "cancel_btn"});
    Click("macro_btn_name_sub");
    EXPECT_EQ(shownTexts.size(), 2);

    ASSERT_EQ(Names()->GetCount(), 1);
    EXPECT_EQ(Names()->GetItemAt(0)->GetText().toStdString(), "macro_1");
    EXPECT_EQ(Rows()->GetCount(), static_cast<int>(kRecorded.size()));
    EXPECT_TRUE(std::filesystem::exists(macFile));
    EXPECT_EQ(config::ReadJsonFile(macFile)["Events"].size(), kRecorded.size());
    EXPECT_EQ(keyboard->KeyList().at(kKeyA).code.Value(), 0x700000u);
    EXPECT_EQ(ProfileAssignmentOfA(), 0x700000u);
    EXPECT_FALSE(SentCommand(0x09)) << "no key table is sent";
    EXPECT_FALSE(SentCommand(0x15)) << "no macro image is sent";
    EXPECT_EQ(KeyTableBytesOfA(), (std::vector<std::uint8_t>{0x70, 0x00, 0x00}));
    EXPECT_EQ(board->MacroMemory(), memory);
}

// A window hidden to the tray must not keep the keyboard grabbed: the recording ends and what
// it recorded is saved.
TEST_F(MacroEndToEndTest, HidingTheWindowToTheTrayStopsTheRecordingAndSavesIt) {
    StartRecordingAPress(30);
    ASSERT_EQ(Rows()->GetCount(), 2);

    wnd->SendMessage(ui::WM_TRAYICON, 0, ui::WM_LBUTTONUP);
    ASSERT_FALSE(Host()->isVisible());
    EXPECT_FALSE(panel->IsRecording());
    EXPECT_FALSE(wnd->Macro()->IsRecording());
    EXPECT_FALSE(wnd->KeySet()->Hook().IsCapturingKeys());
    EXPECT_FALSE(wnd->KeySet()->Hook().IsCapturingMouse());
    const Json::Value mac = config::ReadJsonFile(MacroFile());
    ASSERT_EQ(mac["Events"].size(), 2u);
    EXPECT_EQ(mac["Events"][0]["Delay"].asString(), "30");
    EXPECT_EQ(mac["Events"][1]["Delay"].asString(), "0");

    // Keys after the hide are not recorded.
    SendKey(kLinuxKeyLeftShift, true);
    EXPECT_EQ(Rows()->GetCount(), 2);
}

// The keyboard whose page records is unplugged: its page goes, and so does the capture, at
// once rather than with the next key, which would be swallowed.
TEST_F(MacroEndToEndTest, UnpluggingTheRecordingKeyboardStopsTheRecordingAndSavesIt) {
    StartRecordingAPress(40);

    devices.Unplug(board);
    ASSERT_TRUE(test::WaitUntil([&] { return wnd->ConnectedCount() == 0; }));
    EXPECT_FALSE(wnd->Macro()->IsRecording());
    EXPECT_FALSE(panel->IsRecording());
    EXPECT_FALSE(wnd->KeySet()->Hook().IsCapturingKeys());
    EXPECT_FALSE(wnd->KeySet()->Hook().IsCapturingMouse());
    const Json::Value mac = config::ReadJsonFile(MacroFile());
    ASSERT_EQ(mac["Events"].size(), 2u);
    EXPECT_EQ(mac["Events"][0]["Delay"].asString(), "40");
}

// Another device's item chosen while recording: the keyboard's page goes, and the recording
// with it, before any key could be swallowed for a page nobody sees.
TEST_F(MacroEndToEndTest, ChoosingAnotherDeviceStopsTheRecordingAndSavesIt) {
    devices.Plug(sim::MakeVirtualDevice(sim::VirtualProduct::Mouse));
    ASSERT_TRUE(test::WaitUntil([&] { return wnd->ConnectedCount() == 2; }));
    ASSERT_EQ(wnd->CurrentDevice(), keyboard);
    shell::CDeviceOptionUI* mouseItem = nullptr;
    for (QWidget* w : Host()->findChildren<QWidget*>()) {
        auto* item = dynamic_cast<shell::CDeviceOptionUI*>(w);
        if (item && item->GetDevice() && item->GetDevice() != keyboard)
            mouseItem = item;
    }
    ASSERT_NE(mouseItem, nullptr);
    StartRecordingAPress(60);

    ClickThroughWindow(
        wnd->GetPaintManager().FindSubControlByName(mouseItem, QStringLiteral("device_select")));
    ASSERT_NE(wnd->CurrentDevice(), keyboard);
    EXPECT_FALSE(wnd->Macro()->IsRecording());
    EXPECT_FALSE(panel->IsRecording());
    EXPECT_FALSE(wnd->KeySet()->Hook().IsCapturingKeys());
    EXPECT_FALSE(wnd->KeySet()->Hook().IsCapturingMouse());
    // The click that chose the mouse was recorded as any click away from the stop button is.
    const Json::Value mac = config::ReadJsonFile(MacroFile());
    ASSERT_EQ(mac["Events"].size(), 4u);
    EXPECT_EQ(mac["Events"][0]["Delay"].asString(), "60");
    EXPECT_EQ(mac["Events"][1]["Button"].asInt(), 4);
    EXPECT_EQ(mac["Events"][2]["Type"].asInt(), 1);
    EXPECT_EQ(mac["Events"][3]["Type"].asInt(), 1);
}

} // namespace

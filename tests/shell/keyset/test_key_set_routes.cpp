// Key assignment through the main window's routes, as the user does it: click an on-screen key,
// choose a function, press keys into the key box, apply, cancel, restore and save to the
// virtual keyboard; the key list, the profile file and the device's key table afterwards.

#include "KeySetFixture.h"

#include "config/JsonFile.h"
#include "ui/ComboUI.h"
#include "ui/EditUI.h"

#include <QTest>
#include <linux/input-event-codes.h>

namespace keysettest {
namespace {

using devices::KeyCode;
using namespace shell::keyset;

constexpr int kKeyA = 64;    // native 20 00 04
constexpr int kKeyEsc = 0;   // native 20 00 29
constexpr int kKeyCaps = 63; // native 20 00 39

class KeySetRoutesTest : public KeySetTest {
protected:
    void SetUp() override {
        KeySetTest::SetUp();
        Attach();
    }
    // The key list entry of the saved profile file.
    int SavedAssignment(int key) {
        const Json::Value profile = config::ReadJsonFile(keyboard->UserDataFolder() +
                                                         keyboard->GetCurrentProfileId() + ".Json");
        return profile["Device"][0]["KeyList"][key]["Assignment"].asInt();
    }
    std::vector<std::uint8_t> Commands() {
        std::vector<std::uint8_t> out;
        for (const sim::WirePacket& p : board->WireLog()) {
            if (p.direction == sim::WireDirection::Request)
                out.push_back(p.bytes[3]);
        }
        return out;
    }
    bool Enabled(const char* name) { return Get(name)->IsEnabled(); }
    void FocusKeyBox() {
        auto* edit = Get<ui::CEditUI>("keyset_keyboard_text_edit");
        edit->setFocus(Qt::MouseFocusReason);
        ASSERT_TRUE(test::WaitUntil([&] { return edit->hasFocus(); }));
    }
    void Tap(int linuxCode, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        SendKey(linuxCode, true, modifiers);
        SendKey(linuxCode, false, modifiers);
    }
};

TEST_F(KeySetRoutesTest, AKeyIsSelectedOnlyOnTheKeyPage) {
    EXPECT_FALSE(Get("keyset_layout")->IsVisible());
    keyboard->SetFunctionPage(1);
    Click("key_64");
    EXPECT_EQ(keyboard->GetSelectedKey(), -1) << "the lighting page keeps its own key clicks";
    EXPECT_FALSE(Get("keyset_layout")->IsVisible());

    SelectKeyOnPage(kKeyA);
    EXPECT_EQ(keyboard->GetSelectedKey(), kKeyA);
    EXPECT_TRUE(Get("keyset_layout")->IsVisible());
    EXPECT_FALSE(Get("keyset_select_hint")->IsVisible());
    EXPECT_EQ(panel->SelectedFunction(), kFunctionDefault);
    EXPECT_EQ(panel->GetRecord().keyIndex, kKeyA);
    EXPECT_TRUE(routes->IsKeyAssignmentOpen());
}

TEST_F(KeySetRoutesTest, AMediaFunctionIsKeptInTheProfileAndSavedToTheKeyboard) {
    SelectKeyOnPage(kKeyA);
    Choose("keyset_function_combo", panel->FunctionItem(kFunctionMedia));
    EXPECT_EQ(Get<ui::CTabLayoutUI>("function_switch_tablayout")->GetCurSel(), kFunctionMedia);
    Choose("keyset_media_combo", 6); // volume up, consumer usage 0x00E9
    EXPECT_EQ(CodeOfKey(kKeyA), (KeyCode{0x30, 0xE9, 0x00}));
    EXPECT_EQ(SavedAssignment(kKeyA), 0x30E900);
    EXPECT_FALSE(routes->IsKeyAssignmentOpen());
    EXPECT_EQ(Get("key_64")->GetToolTip(), "Volume Up") << "the key shows its new function";
    EXPECT_TRUE(Commands().empty()) << "nothing goes to the keyboard before saving";

    Click("key_butt_prosave");
    const std::vector<std::uint8_t> commands = Commands();
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.front(), 0x03);
    EXPECT_EQ(std::count(commands.begin(), commands.end(), 0x09), 7) << "366 bytes in 56s";
    EXPECT_EQ(commands.back(), 0x02);
    EXPECT_EQ(DeviceCodeOfKey(kKeyA), (KeyCode{0x30, 0xE9, 0x00}));
    EXPECT_EQ(DeviceCodeOfKey(kKeyEsc), (KeyCode{0x20, 0x00, 0x29})) << "others keep theirs";
    EXPECT_FALSE(Enabled("key_butt_keysave"));
    EXPECT_FALSE(Enabled("key_butt_prosave"));
    EXPECT_TRUE(Enabled("key_butt_keydefalut"));
    EXPECT_TRUE(routes->IsKeyAssignmentOpen());
}

TEST_F(KeySetRoutesTest, CapturedKeysMakeAKeyWithAModifier) {
    SelectKeyOnPage(kKeyCaps);
    Choose("keyset_function_combo", panel->FunctionItem(kFunctionKeyboardKey));
    EXPECT_EQ(panel->SelectedModifier(), -1) << "a new keyboard key starts empty";
    EXPECT_TRUE(panel->GetKeyText().isEmpty());
    EXPECT_EQ(CodeOfKey(kKeyCaps), (KeyCode{0x20, 0x00, 0x00}));

    FocusKeyBox();
    EXPECT_TRUE(routes->Hook().IsCapturingKeys());
    // Ctrl+C as typed: the releases change nothing.
    SendKey(KEY_LEFTCTRL, true);
    SendKey(KEY_C, true, Qt::ControlModifier);
    SendKey(KEY_C, false, Qt::ControlModifier);
    SendKey(KEY_LEFTCTRL, false, Qt::ControlModifier);
    EXPECT_EQ(panel->SelectedModifier(), 1);
    EXPECT_EQ(panel->GetKeyText(), "C") << "the name, not the typed letter";
    EXPECT_EQ(CodeOfKey(kKeyCaps), (KeyCode{0x20, 0x01, 0x06}));
    EXPECT_EQ(SavedAssignment(kKeyCaps), 0x200106);

    // A right-hand modifier alone gives the plain modifier and no key.
    Tap(KEY_RIGHTALT);
    EXPECT_EQ(panel->SelectedModifier(), 3);
    EXPECT_TRUE(panel->GetKeyText().isEmpty());
    EXPECT_EQ(CodeOfKey(kKeyCaps), (KeyCode{0x20, 0x04, 0x00}));

    // A key the panel does not know (a media key) changes nothing.
    Tap(KEY_VOLUMEUP);
    EXPECT_EQ(CodeOfKey(kKeyCaps), (KeyCode{0x20, 0x04, 0x00}));

    // The pad's Enter is its own key; a modifier option chosen by click keeps the key.
    Tap(KEY_KPENTER);
    EXPECT_EQ(panel->GetKeyText(), "Num Enter");
    Click("key_ComBox_check_2");
    EXPECT_EQ(panel->SelectedModifier(), 2);
    EXPECT_EQ(CodeOfKey(kKeyCaps), (KeyCode{0x20, 0x02, 0x58}));

    // Leaving the box stops the capture; keys then go where they always go.
    Get<ui::CEditUI>("other_edit")->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(test::WaitUntil([&] { return !routes->Hook().IsCapturingKeys(); }));
    Tap(KEY_B);
    EXPECT_EQ(CodeOfKey(kKeyCaps), (KeyCode{0x20, 0x02, 0x58}));
}

TEST_F(KeySetRoutesTest, CancelRestoreAndMacroRepeatControls) {
    WriteMacroLibrary({"Reload", "Burst"});
    panel->FillMacroNames({"Reload", "Burst"});
    SelectKeyOnPage(kKeyA);
    Choose("keyset_function_combo", panel->FunctionItem(kFunctionMacro));
    Choose("keyset_macro_combo", 1);
    EXPECT_EQ(CodeOfKey(kKeyA), (KeyCode{0x70, 0x01, 0x00}));
    Choose("keyset_macro_over_combo", kMacroRepeatTimesItem);
    EXPECT_TRUE(Get("keyset_macro_cycle_layout")->IsVisible());
    auto* times = Get<ui::CEditUI>("keyset_macro_cycle_edit");
    times->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(test::WaitUntil([&] { return times->hasFocus(); }));
    times->setText("12");
    Get<ui::CEditUI>("other_edit")->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(test::WaitUntil([&] { return CodeOfKey(kKeyA).param2 == 12; }));
    EXPECT_EQ(CodeOfKey(kKeyA), (KeyCode{0x71, 0x01, 12}));
    Choose("keyset_macro_over_combo", 2);
    EXPECT_FALSE(Get("keyset_macro_cycle_layout")->IsVisible());

    // Cancel shows the stored code again and leaves nothing to save.
    Choose("keyset_function_combo", panel->FunctionItem(kFunctionSystem));
    Choose("keyset_system_combo", 1);
    EXPECT_EQ(CodeOfKey(kKeyA), (KeyCode{0x40, 0x02, 0x00}));
    Get<ui::CComboUI>("keyset_function_combo")
        ->SelectItem(panel->FunctionItem(kFunctionMouseButton), false, false);
    Click("key_butt_keycancel");
    EXPECT_EQ(panel->SelectedFunction(), kFunctionSystem);
    EXPECT_FALSE(Enabled("key_butt_keycancel"));

    // Default shows the key's own function; applying it writes the default back.
    Click("key_butt_keydefalut");
    EXPECT_EQ(panel->SelectedFunction(), kFunctionDefault);
    EXPECT_TRUE(Enabled("key_butt_keysave"));
    Click("key_butt_keysave");
    EXPECT_EQ(CodeOfKey(kKeyA), (KeyCode{0x20, 0x00, 0x04}));
    EXPECT_EQ(SavedAssignment(kKeyA), 0x200004);
    EXPECT_TRUE(Get("key_64")->GetToolTip().isEmpty());
}

TEST_F(KeySetRoutesTest, ApplyKeepsACodeThePanelCannotShowUntilAControlChanges) {
    // A usage without a name, and two modifiers together.
    for (const KeyCode kept : {KeyCode{0x20, 0x00, 0x68}, KeyCode{0x20, 0x03, 0x04}}) {
        SCOPED_TRACE(devices::KeyCodeToText(kept));
        devices::KeyRecord record = keyboard->GetKeyRecord(kKeyCaps);
        record.code = kept;
        ASSERT_TRUE(keyboard->SetKeyRecord(kKeyCaps, record));
        SelectKeyOnPage(kKeyCaps);
        EXPECT_EQ(panel->SelectedFunction(), kFunctionKeyboardKey);
        EXPECT_EQ(CodeOfKey(kKeyCaps), kept) << "showing a key leaves its code alone";
        ASSERT_TRUE(Enabled("key_butt_keysave"));
        Click("key_butt_keysave");
        EXPECT_EQ(CodeOfKey(kKeyCaps), kept);
        EXPECT_EQ(SavedAssignment(kKeyCaps), kept.type << 16 | kept.param1 << 8 | kept.param2);
    }
    Click("key_butt_prosave");
    EXPECT_EQ(DeviceCodeOfKey(kKeyCaps), (KeyCode{0x20, 0x03, 0x04}));

    // Choosing a modifier is a change: the key gets what the panel shows.
    Click("key_ComBox_check_1");
    EXPECT_EQ(CodeOfKey(kKeyCaps), (KeyCode{0x20, 0x01, 0x04}));
    EXPECT_EQ(SavedAssignment(kKeyCaps), 0x200104);
}

TEST_F(KeySetRoutesTest, HeldKeysMakeACombinationOfSeveralModifiers) {
    SelectKeyOnPage(kKeyCaps);
    Choose("keyset_function_combo", panel->FunctionItem(kFunctionKeyboardKey));
    FocusKeyBox();
    // Ctrl+Shift+A as typed.
    SendKey(KEY_LEFTCTRL, true);
    SendKey(KEY_LEFTSHIFT, true, Qt::ControlModifier);
    SendKey(KEY_A, true, Qt::ControlModifier | Qt::ShiftModifier);
    SendKey(KEY_A, false, Qt::ControlModifier | Qt::ShiftModifier);
    SendKey(KEY_LEFTSHIFT, false, Qt::ControlModifier | Qt::ShiftModifier);
    SendKey(KEY_LEFTCTRL, false, Qt::ControlModifier);
    EXPECT_EQ(CodeOfKey(kKeyCaps), (KeyCode{0x20, 0x03, 0x04}));
    EXPECT_EQ(SavedAssignment(kKeyCaps), 0x200304);
    EXPECT_EQ(panel->GetKeyText(), "A");

    // A modifier pressed while a key is held joins it; right-hand ones as the plain ones.
    Click("key_ComBox_check_0");
    FocusKeyBox();
    SendKey(KEY_B, true);
    SendKey(KEY_RIGHTALT, true);
    SendKey(KEY_RIGHTCTRL, true, Qt::AltModifier);
    EXPECT_EQ(CodeOfKey(kKeyCaps), (KeyCode{0x20, 0x05, 0x05}));
    EXPECT_EQ(panel->GetKeyText(), "B");
    SendKey(KEY_RIGHTCTRL, false, Qt::AltModifier | Qt::ControlModifier);
    SendKey(KEY_RIGHTALT, false, Qt::AltModifier);
    SendKey(KEY_B, false);
    Click("key_butt_prosave");
    EXPECT_EQ(DeviceCodeOfKey(kKeyCaps), (KeyCode{0x20, 0x05, 0x05}));

    // With every key released, a modifier starts a new choice on its own.
    FocusKeyBox();
    Tap(KEY_LEFTSHIFT);
    EXPECT_EQ(CodeOfKey(kKeyCaps), (KeyCode{0x20, 0x02, 0x00}));
    EXPECT_TRUE(panel->GetKeyText().isEmpty());
}

} // namespace
} // namespace keysettest

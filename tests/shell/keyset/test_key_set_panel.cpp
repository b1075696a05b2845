// The key assignment panel built from the skin: its controls, and every kind of key code shown
// in them and read back.

#include "KeySetFixture.h"

#include "shell/keyset/KeySetControlUI.h"
#include "ui/ButtonUI.h"
#include "ui/ComboUI.h"
#include "ui/EditUI.h"

#include <QListView>

namespace keysettest {
namespace {

using devices::KeyCode;
using devices::KeyRecord;
using namespace shell::keyset;

constexpr KeyCode kDefaultOfKey{0x20, 0x00, 0x22}; // the 5 key

KeyRecord RecordWith(KeyCode code) {
    KeyRecord record;
    record.keyIndex = record.defaultKeyIndex = 26;
    record.code = code;
    record.defaultCode = kDefaultOfKey;
    return record;
}

class KeySetPanelTest : public KeySetTest {
protected:
    void SetUp() override {
        KeySetTest::SetUp();
        WriteMacroLibrary({"Reload", "Burst", "Chat"});
        Attach();
    }
    QString EditText(const char* name) { return Get<ui::CEditUI>(name)->GetText(); }
    int ComboSel(const char* name) { return Get<ui::CComboUI>(name)->GetCurSel(); }
};

TEST_F(KeySetPanelTest, TheSkinHasEveryControlAndTheListsInCodeOrder) {
    for (const char* name : {"keyset_layout",
                             "keyset_function_combo",
                             "key_butt_keydefalut",
                             "key_butt_keysave",
                             "key_butt_keycancel",
                             "key_butt_prosave",
                             "function_switch_tablayout",
                             "keyset_mousekey_combo",
                             "keyset_mouseswing_combo",
                             "keyset_mouseswing_num_edit",
                             "keyset_mouseswing_delay_edit",
                             "keyset_mouseswing_speed_edit",
                             "keyset_mousewheel_combo",
                             "keyset_mousewheel_num_edit",
                             "keyset_mousewheel_delay_edit",
                             "keyset_mousewheel_speed_edit",
                             "keyset_mousedpi_combo",
                             "keyset_mousefire_interval_edit",
                             "keyset_mousefire_num_edit",
                             "keyset_keyboard_text_edit",
                             "keyset_media_combo",
                             "keyset_system_combo",
                             "keyset_macro_combo",
                             "keyset_macro_over_combo",
                             "keyset_macro_cycle_layout",
                             "keyset_macro_cycle_edit",
                             "keyset_gunkey_combo",
                             "keyset_combokey_combo",
                             "key_ComBox_check_0",
                             "key_ComBox_check_4"})
        EXPECT_NE(Get(name), nullptr);
    for (int i = 0; i < 170; ++i)
        EXPECT_NE(Get(QStringLiteral("key_%1").arg(i)), nullptr) << i;

    // Every function has its item and its page.
    for (int id = 0; id <= 11; ++id)
        EXPECT_GE(panel->FunctionItem(id), 0) << id;
    EXPECT_EQ(Get<ui::CTabLayoutUI>("function_switch_tablayout")->GetCount(), 12);
    const std::pair<const char*, int> lists[] = {
        {"keyset_mousekey_combo", 5},   {"keyset_mousedpi_combo", 3},
        {"keyset_media_combo", 18},     {"keyset_system_combo", 3},
        {"keyset_combokey_combo", 11},  {"keyset_macro_over_combo", 5},
        {"keyset_mouseswing_combo", 2}, {"keyset_mousewheel_combo", 2}};
    for (const auto& [combo, count] : lists)
        EXPECT_EQ(Get<ui::CComboUI>(combo)->GetCount(), count) << combo;

    // The macro names of the library, none chosen; a keyboard offers no DPI and no gun key.
    auto* macros = Get<ui::CComboUI>("keyset_macro_combo");
    ASSERT_EQ(macros->GetCount(), 3);
    EXPECT_EQ(macros->GetItemAt(1)->GetText(), "Burst");
    EXPECT_EQ(macros->GetCurSel(), -1);
    auto* functions = Get<ui::CComboUI>("keyset_function_combo");
    auto* view = qobject_cast<QListView*>(functions->view());
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isRowHidden(panel->FunctionItem(kFunctionDpi)));
    EXPECT_TRUE(view->isRowHidden(panel->FunctionItem(kFunctionGunKey)));
    EXPECT_FALSE(view->isRowHidden(panel->FunctionItem(kFunctionMedia)));
    panel->SetKind(CKeySetControlUI::kKindMouse);
    EXPECT_FALSE(view->isRowHidden(panel->FunctionItem(kFunctionDpi)));
}

struct RoundTrip {
    KeyCode shown;
    int function;
    KeyCode read;
};

TEST_F(KeySetPanelTest, EveryCodeShowsItsFunctionAndReadsBack) {
    const RoundTrip cases[] = {
        {{0x10, 0x04, 0x00}, kFunctionMouseButton, {0x10, 0x04, 0x00}},
        {{0x11, 0x35, 0x85}, kFunctionMouseSwing, {0x11, 0x35, 0x85}},
        {{0x11, 0xF0, 0x07}, kFunctionMouseSwing, {0x11, 0xF0, 0x07}},
        {{0x12, 0x21, 0x85}, kFunctionMouseWheel, {0x12, 0x21, 0x85}},
        {{0x12, 0x00, 0x05}, kFunctionMouseWheel, {0x12, 0x00, 0x05}},
        {{0x13, 0x03, 0x00}, kFunctionDpi, {0x13, 0x03, 0x00}},
        {{0x14, 0x0A, 0xC8}, kFunctionMouseFire, {0x14, 0x0A, 0xC8}},
        {{0x20, 0x00, 0x04}, kFunctionKeyboardKey, {0x20, 0x00, 0x04}},
        {{0x20, 0x02, 0x3A}, kFunctionKeyboardKey, {0x20, 0x02, 0x3A}},
        // A right-hand modifier shows as the plain one and reads back as the left one.
        {{0x20, 0x40, 0x04}, kFunctionKeyboardKey, {0x20, 0x04, 0x04}},
        // Several modifiers cannot be shown: no modifier, and the code is kept.
        {{0x20, 0x03, 0x04}, kFunctionKeyboardKey, {0x20, 0x03, 0x04}},
        // A modifier on its own.
        {{0x20, 0x08, 0x00}, kFunctionKeyboardKey, {0x20, 0x08, 0x00}},
        {{0x30, 0xE9, 0x00}, kFunctionMedia, {0x30, 0xE9, 0x00}},
        {{0x40, 0x02, 0x00}, kFunctionSystem, {0x40, 0x02, 0x00}},
        {{0x70, 0x01, 0x02}, kFunctionMacro, {0x70, 0x01, 0x02}},
        {{0x71, 0x02, 0x09}, kFunctionMacro, {0x71, 0x02, 0x09}},
        {{0x72, 0x03, 0x00}, kFunctionGunKey, {0x72, 0x03, 0x00}},
        // Whatever its type, a code equal to the key's default is the default function.
        {kDefaultOfKey, kFunctionDefault, kDefaultOfKey},
    };
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(devices::KeyCodeToText(c.shown));
        panel->LoadKey(RecordWith(c.shown));
        EXPECT_TRUE(Get("keyset_layout")->IsVisible());
        EXPECT_EQ(panel->SelectedFunction(), c.function);
        EXPECT_EQ(Get<ui::CTabLayoutUI>("function_switch_tablayout")->GetCurSel(), c.function);
        EXPECT_EQ(panel->ReadCode().code, c.read);
        EXPECT_EQ(panel->GetRecord().code, c.read) << "the read code is the stored one";
    }
}

TEST_F(KeySetPanelTest, ControlsShowTheCodesParts) {
    panel->LoadKey(RecordWith({0x12, 0x21, 0x85}));
    EXPECT_EQ(ComboSel("keyset_mousewheel_combo"), 1);
    EXPECT_EQ(EditText("keyset_mousewheel_num_edit"), "123");
    EXPECT_EQ(EditText("keyset_mousewheel_delay_edit"), "2");
    EXPECT_EQ(EditText("keyset_mousewheel_speed_edit"), "1");

    panel->LoadKey(RecordWith({0x20, 0x40, 0x04}));
    EXPECT_EQ(panel->SelectedModifier(), 3);
    EXPECT_EQ(panel->GetKeyText(), "A");

    panel->LoadKey(RecordWith({0x71, 0x01, 0x07}));
    EXPECT_EQ(ComboSel("keyset_macro_combo"), 1);
    EXPECT_EQ(ComboSel("keyset_macro_over_combo"), kMacroRepeatTimesItem);
    EXPECT_EQ(EditText("keyset_macro_cycle_edit"), "7");
    EXPECT_TRUE(Get("keyset_macro_cycle_layout")->IsVisible());

    panel->LoadKey(RecordWith({0x70, 0x00, 0x03}));
    EXPECT_FALSE(Get("keyset_macro_cycle_layout")->IsVisible());
    EXPECT_EQ(ComboSel("keyset_macro_over_combo"), 3);
}

TEST_F(KeySetPanelTest, CodesThePanelCannotNameKeepTheStoredCode) {
    // A macro beyond the library shows no macro and reads back unchanged.
    panel->LoadKey(RecordWith({0x70, 0x05, 0x01}));
    EXPECT_EQ(panel->SelectedFunction(), kFunctionMacro);
    EXPECT_EQ(ComboSel("keyset_macro_combo"), -1);
    EXPECT_EQ(panel->ReadCode().code, (KeyCode{0x70, 0x05, 0x01}));

    // A keyboard usage without a name shows as no key and reads back unchanged, alone or
    // with a modifier.
    panel->LoadKey(RecordWith({0x20, 0x00, 0xF0}));
    EXPECT_EQ(panel->SelectedModifier(), -1);
    EXPECT_TRUE(panel->GetKeyText().isEmpty());
    EXPECT_EQ(panel->GetRecord().code, (KeyCode{0x20, 0x00, 0xF0}));
    EXPECT_EQ(panel->ReadCode().code, (KeyCode{0x20, 0x00, 0xF0}));
    panel->LoadKey(RecordWith({0x20, 0x02, 0xF0}));
    EXPECT_EQ(panel->SelectedModifier(), 2);
    EXPECT_EQ(panel->ReadCode().code, (KeyCode{0x20, 0x02, 0xF0}));

    // A preset code without its item shows no item, not the one chosen for the last key.
    panel->LoadKey(RecordWith({0x30, 0xE9, 0x00}));
    panel->LoadKey(RecordWith({0x30, 0x34, 0x12}));
    EXPECT_EQ(ComboSel("keyset_media_combo"), -1);
    EXPECT_EQ(panel->ReadCode().code, (KeyCode{0x30, 0x34, 0x12}));
    panel->LoadKey(RecordWith({0x72, 0x01, 0x00}));
    panel->LoadKey(RecordWith({0x72, 0x63, 0x00}));
    EXPECT_EQ(ComboSel("keyset_gunkey_combo"), -1);
    EXPECT_EQ(panel->ReadCode().code, (KeyCode{0x72, 0x63, 0x00}));

    // A preset function with nothing chosen keeps what the key has.
    panel->LoadKey(RecordWith({0x30, 0x34, 0x12}));
    EXPECT_EQ(panel->SelectedFunction(), kFunctionMedia);
    Get<ui::CComboUI>("keyset_media_combo")->SelectItem(-1, false, false);
    EXPECT_EQ(panel->ReadCode().code, (KeyCode{0x30, 0x34, 0x12}));

    // An unknown type hides the panel.
    panel->LoadKey(RecordWith({0x55, 0x01, 0x02}));
    EXPECT_FALSE(Get("keyset_layout")->IsVisible());
}

TEST_F(KeySetPanelTest, MacroNamesCanBeAddedRenamedAndChosen) {
    auto* macros = Get<ui::CComboUI>("keyset_macro_combo");
    panel->AddMacroName("Dash");
    panel->AddMacroName(QString());
    EXPECT_EQ(macros->GetCount(), 4);
    panel->RenameMacroItem(0, "Reload fast");
    panel->RenameMacroItem(-1, "x");
    panel->RenameMacroItem(1, QString());
    EXPECT_EQ(macros->itemText(0), "Reload fast");
    EXPECT_EQ(macros->itemText(1), "Burst");
    panel->SelectMacroItem(3);
    panel->SelectMacroItem(-1);
    EXPECT_EQ(macros->GetCurSel(), 3);
    panel->FillMacroNames({"Only"});
    EXPECT_EQ(macros->GetCount(), 1);
    EXPECT_EQ(macros->GetCurSel(), -1);
}

} // namespace
} // namespace keysettest

#pragma once
// CKeySetControlUI ("KeySetControl"): the panel in which the selected key of a keyboard, or
// the selected button of a mouse, gets a new function. It shows a key's code in its controls
// and reads a code back from them; the device object decides which key is selected and sends
// the result to the device. Built from "XML/CustomControlXML/KeySetControl.xml".
//
// Function items of "keyset_function_combo" carry their function number in their user data;
// page n of "function_switch_tablayout" holds the controls of function n:
//   0 the key's own function, 1 mouse button, 2 mouse swing, 3 mouse wheel, 4 DPI,
//   5 mouse fire, 6 keyboard key, 7 media, 8 system, 9 macro, 10 gun key, 11 key combination.
// Every control may be missing from the skin; what needs it then does nothing.

#include "devices/KeyCode.h"
#include "ui/ContainerUI.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace ui {
class CComboUI;
class CEditUI;
class COptionUI;
class CTabLayoutUI;
} // namespace ui

namespace shell::keyset {

enum KeyFunction : int {
    kFunctionDefault = 0,
    kFunctionMouseButton = 1,
    kFunctionMouseSwing = 2,
    kFunctionMouseWheel = 3,
    kFunctionDpi = 4,
    kFunctionMouseFire = 5,
    kFunctionKeyboardKey = 6,
    kFunctionMedia = 7,
    kFunctionSystem = 8,
    kFunctionMacro = 9,
    kFunctionGunKey = 10,
    kFunctionKeyCombination = 11,
};

// "keyset_macro_over_combo": items 0-3 are the repeat modes of a macro code, this one repeats
// the macro the number of times in "keyset_macro_cycle_edit".
inline constexpr int kMacroRepeatTimesItem = 4;

class CKeySetControlUI : public ui::CHorizontalLayoutUI {
public:
    enum : int { kKindKeyboard = 1, kKindMouse = 2 };

    QString GetClass() const override { return QStringLiteral("KeySetControl"); }

    // Finds the panel's controls; called once the panel is in its window.
    void BindControls();
    // 1 keyboard (the DPI and gun-key functions are hidden), 2 mouse.
    void SetKind(int kind);
    int GetKind() const { return m_kind; }

    // "keyset_macro_combo": the names of the macro library in library order, none selected.
    void FillMacroNames(const QStringList& names);
    void AddMacroName(const QString& name);
    void RenameMacroItem(int index, const QString& name);
    void SelectMacroItem(int index);

    // Stores the key's records and shows its current code.
    void LoadKey(const devices::KeyRecord& record);
    // Shows a code in the controls. A code equal to the key's default shows function 0.
    void ShowCode(devices::KeyCode code);
    // The code the controls describe; it also becomes the stored current code. A code the
    // controls cannot hold (a key without a name, several modifiers, a code no preset item
    // has) is read back as it was shown until the user changes a control.
    devices::KeyRecord ReadCode();
    // Shows the stored default, or the stored current code.
    void RestoreDefault();
    void Revert();
    // Replaces the stored current code without showing it.
    void StoreCurrent(devices::KeyCode code) { m_record.code = code; }
    const devices::KeyRecord& GetRecord() const { return m_record; }

    // "key_butt_keysave", "key_butt_keycancel" and "key_butt_prosave".
    void EnableButtons(bool enable);
    // Shows the current language's text of a text id in "keyset_keyboard_text_edit".
    void SetKeyText(const QString& textId);
    QString GetKeyText() const;
    // "key_ComBox_check_" n: 0 none, 1 Ctrl, 2 Shift, 3 Alt, 4 Windows; -1 selects none.
    void SelectModifier(int n);
    int SelectedModifier() const;

    // The function number of function item `index`, or -1; the first item of function `id`.
    int ItemFunction(int index) const;
    int FunctionItem(int id) const;
    // The function number of the selected function item, or -1.
    int SelectedFunction() const;
    void ShowFunctionPage(int id);

    // A function was chosen in "keyset_function_combo": its page shows; choosing the keyboard
    // key function starts it empty, without key and modifier, until a key is captured.
    void OnFunctionChosen();
    // "keyset_macro_over_combo" was chosen: the repeat count shows for its last item only.
    void OnMacroRepeatChosen();
    // The user chose modifier option n.
    void OnModifierChosen(int n);
    // A key pressed while "keyset_keyboard_text_edit" has the focus, as a row of the key name
    // table. Another key gets the modifiers of the current code; a modifier pressed while
    // other captured keys are held (`othersHeld`) adds its bit to the current code, else it
    // stands alone. Right-hand modifiers count as the left ones. The result is stored as the
    // current code and shown. False for a row that is not a keyboard key.
    bool OnCapturedKey(std::size_t keyNameRow, bool othersHeld);

private:
    template <class T = ui::CControlUI> T* Child(const char* name) const;
    void ShowPreset(const char* combo, devices::KeyCode code);
    void ShowKeyboardCode(devices::KeyCode code);
    void ShowMacroCode(devices::KeyCode code);
    int ShowMotionCode(devices::KeyCode code, const char* combo, const char* num, const char* delay,
                       const char* speed);
    devices::KeyCode ReadPreset(int function) const;
    devices::KeyCode ReadMotion(std::uint8_t type, const char* combo, const char* num,
                                const char* delay, const char* speed) const;
    devices::KeyCode ReadMacro() const;
    devices::KeyCode ReadKeyboard() const;
    int EditNumber(const char* name) const;
    void SetEditNumber(const char* name, int value);
    int ComboIndex(const char* name) const;
    int ComboCount(const char* name) const;
    void SelectComboItem(const char* name, int index);
    int MacroCount() const;

    ui::CControlUI* m_layout = nullptr;
    ui::CComboUI* m_functionCombo = nullptr;
    ui::CTabLayoutUI* m_functionPages = nullptr;
    ui::CEditUI* m_keyText = nullptr;
    devices::KeyRecord m_record;
    // A keyboard code shown that the modifier options and the key text cannot hold.
    std::optional<devices::KeyCode> m_unshownKey;
    int m_kind = kKindKeyboard;
};

} // namespace shell::keyset

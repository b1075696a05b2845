#include "shell/keyset/KeySetControlUI.h"

#include "shell/TextById.h"
#include "shell/keyset/KeyNameTable.h"
#include "ui/ComboUI.h"
#include "ui/DialogBuilder.h"
#include "ui/EditUI.h"
#include "ui/PaintManagerUI.h"
#include "ui/ResourceManager.h"

#include <QListView>
#include <cstring>
#include <vector>

namespace shell::keyset {

using devices::KeyCode;

namespace {

// The combo of each preset function and its codes, in item order.
struct PresetList {
    int function;
    const char* combo;
    std::vector<KeyCode> codes;
};

const std::vector<PresetList>& PresetLists() {
    static const std::vector<PresetList> lists = [] {
        std::vector<KeyCode> media;
        for (std::size_t i = 0; i < devices::kMediaUsages.size(); ++i)
            media.push_back(devices::MediaPreset(i));
        std::vector<KeyCode> combos;
        for (std::size_t i = 0; i < devices::kComboUsages.size(); ++i)
            combos.push_back(devices::ComboPreset(i));
        return std::vector<PresetList>{
            {kFunctionMouseButton,
             "keyset_mousekey_combo",
             {devices::kMouseKeyPresets.begin(), devices::kMouseKeyPresets.end()}},
            {kFunctionDpi,
             "keyset_mousedpi_combo",
             {devices::kDpiPresets.begin(), devices::kDpiPresets.end()}},
            {kFunctionMedia, "keyset_media_combo", media},
            {kFunctionSystem,
             "keyset_system_combo",
             {devices::kSystemPresets.begin(), devices::kSystemPresets.end()}},
            {kFunctionKeyCombination, "keyset_combokey_combo", combos},
        };
    }();
    return lists;
}

const PresetList* PresetListOf(int function) {
    for (const PresetList& list : PresetLists()) {
        if (list.function == function)
            return &list;
    }
    return nullptr;
}

int FunctionOfPresetType(std::uint8_t type) {
    switch (type) {
    case devices::kKeyTypeMouseButton:
        return kFunctionMouseButton;
    case devices::kKeyTypeDpi:
        return kFunctionDpi;
    case devices::kKeyTypeConsumer:
        return kFunctionMedia;
    case devices::kKeyTypeSystem:
        return kFunctionSystem;
    default:
        return -1;
    }
}

constexpr std::uint8_t kKeyTypeKeyCombination = 0xB0;
// A keyboard code whose modifier byte is this or more shows as a key combination.
constexpr std::uint8_t kFirstCombinationModifiers = 129;
constexpr int kMacroItemHeight = 30;

const char* const kModifierOptions[] = {"key_ComBox_check_0", "key_ComBox_check_1",
                                        "key_ComBox_check_2", "key_ComBox_check_3",
                                        "key_ComBox_check_4"};
const char* const kDeviceButtons[] = {"key_butt_keysave", "key_butt_keycancel", "key_butt_prosave"};

} // namespace

template <class T> T* CKeySetControlUI::Child(const char* name) const {
    ui::CPaintManagerUI* pm = GetManager();
    if (!pm)
        return nullptr;
    return dynamic_cast<T*>(
        pm->FindSubControlByName(const_cast<CKeySetControlUI*>(this), QString::fromLatin1(name)));
}

void CKeySetControlUI::BindControls() {
    m_layout = Child("keyset_layout");
    m_functionCombo = Child<ui::CComboUI>("keyset_function_combo");
    m_functionPages = Child<ui::CTabLayoutUI>("function_switch_tablayout");
    m_keyText = Child<ui::CEditUI>("keyset_keyboard_text_edit");
}

void CKeySetControlUI::SetKind(int kind) {
    m_kind = kind;
    if (!m_functionCombo)
        return;
    auto* view = qobject_cast<QListView*>(m_functionCombo->view());
    for (int id : {kFunctionDpi, kFunctionGunKey}) {
        const int index = FunctionItem(id);
        if (index < 0)
            continue;
        // The rows themselves are never shown; the drop-down list is what the user sees.
        if (view)
            view->setRowHidden(index, kind == kKindKeyboard);
    }
}

// ---- Macro names ----

void CKeySetControlUI::FillMacroNames(const QStringList& names) {
    auto* combo = Child<ui::CComboUI>("keyset_macro_combo");
    if (!combo)
        return;
    combo->RemoveAll();
    for (const QString& name : names) {
        auto* row = new ui::CListLabelElementUI;
        row->SetText(name);
        row->SetFixedHeight(kMacroItemHeight);
        combo->Add(row);
    }
    combo->SelectItem(-1, false, false);
}

void CKeySetControlUI::AddMacroName(const QString& name) {
    auto* combo = Child<ui::CComboUI>("keyset_macro_combo");
    if (!combo || name.isEmpty())
        return;
    auto* row = new ui::CListLabelElementUI;
    row->SetText(name);
    row->SetFixedHeight(kMacroItemHeight);
    combo->Add(row);
}

void CKeySetControlUI::RenameMacroItem(int index, const QString& name) {
    auto* combo = Child<ui::CComboUI>("keyset_macro_combo");
    if (!combo || index < 0 || name.isEmpty())
        return;
    if (ui::CControlUI* row = combo->GetItemAt(index))
        row->SetText(name);
}

void CKeySetControlUI::SelectMacroItem(int index) {
    if (index >= 0)
        SelectComboItem("keyset_macro_combo", index);
}

int CKeySetControlUI::MacroCount() const {
    return ComboCount("keyset_macro_combo");
}

// ---- Records ----

void CKeySetControlUI::LoadKey(const devices::KeyRecord& record) {
    m_record = record;
    ShowCode(record.code);
}

void CKeySetControlUI::RestoreDefault() {
    ShowCode(m_record.defaultCode);
}

void CKeySetControlUI::Revert() {
    ShowCode(m_record.code);
}

void CKeySetControlUI::EnableButtons(bool enable) {
    for (const char* name : kDeviceButtons) {
        if (ui::CControlUI* button = Child(name))
            button->SetEnabled(enable);
    }
}

// ---- Key text and modifier ----

void CKeySetControlUI::SetKeyText(const QString& textId) {
    if (!m_keyText)
        return;
    QString text;
    if (!textId.isEmpty() && GetManager())
        text = TextThroughLabel(*GetManager(), kTextLabel, textId);
    // A window without the hidden label takes the text from the language table itself.
    if (text.isEmpty() && !textId.isEmpty())
        text = ui::CResourceManager::GetInstance().GetText(textId);
    m_keyText->SetText(text);
}

QString CKeySetControlUI::GetKeyText() const {
    return m_keyText ? m_keyText->GetText() : QString();
}

void CKeySetControlUI::SelectModifier(int n) {
    for (int i = 0; i < 5; ++i) {
        if (auto* option = Child<ui::COptionUI>(kModifierOptions[i]))
            option->Selected(i == n, false);
    }
}

int CKeySetControlUI::SelectedModifier() const {
    for (int i = 0; i < 5; ++i) {
        auto* option = Child<ui::COptionUI>(kModifierOptions[i]);
        if (option && option->IsSelected())
            return i;
    }
    return -1;
}

// ---- Function items ----

int CKeySetControlUI::ItemFunction(int index) const {
    ui::CControlUI* item = m_functionCombo ? m_functionCombo->GetItemAt(index) : nullptr;
    if (!item || item->GetUserData().isEmpty())
        return -1;
    bool ok = false;
    const int id = item->GetUserData().toInt(&ok);
    return ok ? id : -1;
}

int CKeySetControlUI::FunctionItem(int id) const {
    if (!m_functionCombo)
        return -1;
    for (int i = 0; i < m_functionCombo->GetCount(); ++i) {
        if (ItemFunction(i) == id)
            return i;
    }
    return -1;
}

int CKeySetControlUI::SelectedFunction() const {
    return m_functionCombo ? ItemFunction(m_functionCombo->GetCurSel()) : -1;
}

void CKeySetControlUI::ShowFunctionPage(int id) {
    if (m_functionPages)
        m_functionPages->SelectItem(id);
}

void CKeySetControlUI::OnFunctionChosen() {
    const int id = SelectedFunction();
    ShowFunctionPage(id);
    if (id == kFunctionKeyboardKey) {
        m_unshownKey.reset();
        SetKeyText(QString());
        SelectModifier(-1);
    }
}

void CKeySetControlUI::OnMacroRepeatChosen() {
    if (ui::CControlUI* cycle = Child("keyset_macro_cycle_layout"))
        cycle->SetVisible(ComboIndex("keyset_macro_over_combo") == kMacroRepeatTimesItem);
}

void CKeySetControlUI::OnModifierChosen(int n) {
    m_unshownKey.reset();
    SelectModifier(n);
}

bool CKeySetControlUI::OnCapturedKey(std::size_t keyNameRow, bool othersHeld) {
    const auto table = KeyNameTable();
    if (keyNameRow >= table.size() || table[keyNameRow].code.type != devices::kKeyTypeKeyboard)
        return false;
    const KeyCode current = ReadKeyboard();
    KeyCode code;
    if (keyNameRow < kModifierRowCount) {
        const std::uint8_t bit = ModifierBitOfOption(ModifierOptionOfRow(keyNameRow));
        code = othersHeld ? devices::KeyboardCode(current.param1 | bit, current.param2)
                          : devices::KeyboardCode(bit, 0);
    } else {
        code = devices::KeyboardCode(current.param1, table[keyNameRow].code.param2);
    }
    m_record.code = code;
    m_unshownKey.reset();
    ShowKeyboardCode(code);
    return true;
}

// ---- Showing a code ----

void CKeySetControlUI::ShowCode(KeyCode code) {
    m_unshownKey.reset();
    int id = -1;
    if (code == m_record.defaultCode) {
        id = kFunctionDefault;
    } else {
        switch (code.type) {
        case 0:
        case devices::kKeyTypeKeyboard:
            if (code.param1 >= kFirstCombinationModifiers) {
                id = kFunctionKeyCombination;
                ShowPreset("keyset_combokey_combo", code);
            } else {
                id = kFunctionKeyboardKey;
                ShowKeyboardCode(code);
            }
            break;
        case devices::kKeyTypeMouseButton:
        case devices::kKeyTypeDpi:
        case devices::kKeyTypeConsumer:
        case devices::kKeyTypeSystem:
            id = FunctionOfPresetType(code.type);
            ShowPreset(PresetListOf(id)->combo, code);
            break;
        case devices::kKeyTypeMouseSwing:
            id = ShowMotionCode(code, "keyset_mouseswing_combo", "keyset_mouseswing_num_edit",
                                "keyset_mouseswing_delay_edit", "keyset_mouseswing_speed_edit");
            break;
        case devices::kKeyTypeMouseWheel:
            id = ShowMotionCode(code, "keyset_mousewheel_combo", "keyset_mousewheel_num_edit",
                                "keyset_mousewheel_delay_edit", "keyset_mousewheel_speed_edit");
            break;
        case devices::kKeyTypeMouseFire:
            id = kFunctionMouseFire;
            SetEditNumber("keyset_mousefire_interval_edit", code.param1);
            SetEditNumber("keyset_mousefire_num_edit", code.param2);
            break;
        case devices::kKeyTypeMacro:
        case devices::kKeyTypeMacroTimes:
            id = kFunctionMacro;
            ShowMacroCode(code);
            break;
        case devices::kKeyTypeGunKey:
            id = kFunctionGunKey;
            SelectComboItem("keyset_gunkey_combo",
                            code.param1 < ComboCount("keyset_gunkey_combo") ? code.param1 : -1);
            break;
        case kKeyTypeKeyCombination:
            id = kFunctionKeyCombination;
            break;
        default:
            break;
        }
    }

    const int item = FunctionItem(id);
    if (item < 0) {
        if (m_layout)
            m_layout->SetVisible(false);
        return;
    }
    if (!m_layout)
        return;
    m_layout->SetVisible(true);
    if (ui::CControlUI* hint = Child("keyset_select_hint"))
        hint->SetVisible(false);
    m_functionCombo->SelectItem(item, false, false);
    ShowFunctionPage(id);
}

void CKeySetControlUI::ShowPreset(const char* combo, KeyCode code) {
    const PresetList* list = nullptr;
    for (const PresetList& l : PresetLists()) {
        if (std::strcmp(l.combo, combo) == 0)
            list = &l;
    }
    if (!list)
        return;
    int item = -1;
    for (std::size_t i = 0; i < list->codes.size() && item < 0; ++i) {
        if (list->codes[i].param1 == code.param1 && list->codes[i].param2 == code.param2)
            item = static_cast<int>(i);
    }
    // Without its item the combo shows none, which reads back as the stored code.
    SelectComboItem(combo, item);
}

void CKeySetControlUI::ShowKeyboardCode(KeyCode code) {
    const auto keyRow = FindKeyNameRow(KeyCode{devices::kKeyTypeKeyboard, 0, code.param2});
    const auto modifierRow = FindModifierRow(code.param1);
    if (code.param1 == 0)
        SelectModifier(keyRow ? 0 : -1);
    else
        SelectModifier(modifierRow ? ModifierOptionOfRow(*modifierRow) : 0);
    SetKeyText(keyRow ? QString::fromLatin1(KeyNameTable()[*keyRow].textId) : QString());
    const bool modifiersShown = code.param1 == 0 || modifierRow;
    const bool keyShown = code.param2 == 0 || keyRow;
    if (!modifiersShown || !keyShown)
        m_unshownKey = code;
}

void CKeySetControlUI::ShowMacroCode(KeyCode code) {
    const bool known = code.param1 < MacroCount();
    ui::CControlUI* cycle = Child("keyset_macro_cycle_layout");
    if (code.type == devices::kKeyTypeMacro) {
        if (known) {
            SelectComboItem("keyset_macro_combo", code.param1);
            SelectComboItem("keyset_macro_over_combo", code.param2);
        } else {
            SelectComboItem("keyset_macro_combo", -1);
            SelectComboItem("keyset_macro_over_combo", -1);
        }
        if (cycle)
            cycle->SetVisible(false);
        return;
    }
    SelectComboItem("keyset_macro_combo", known ? code.param1 : -1);
    if (cycle)
        cycle->SetVisible(known);
    SetEditNumber("keyset_macro_cycle_edit", code.param2);
    SelectComboItem("keyset_macro_over_combo", kMacroRepeatTimesItem);
}

int CKeySetControlUI::ShowMotionCode(KeyCode code, const char* combo, const char* num,
                                     const char* delay, const char* speed) {
    const devices::MouseMotion motion = devices::SplitMouseMotion(code);
    SetEditNumber(delay, motion.delay);
    SetEditNumber(speed, motion.speed);
    SetEditNumber(num, motion.count);
    SelectComboItem(combo, motion.secondChoice ? 1 : 0);
    return code.type == devices::kKeyTypeMouseSwing ? kFunctionMouseSwing : kFunctionMouseWheel;
}

// ---- Reading a code ----

devices::KeyRecord CKeySetControlUI::ReadCode() {
    const int id = SelectedFunction();
    KeyCode code = m_record.defaultCode;
    switch (id) {
    case kFunctionMouseButton:
    case kFunctionDpi:
    case kFunctionMedia:
    case kFunctionSystem:
    case kFunctionKeyCombination:
        code = ReadPreset(id);
        break;
    case kFunctionMouseSwing:
        code = ReadMotion(devices::kKeyTypeMouseSwing, "keyset_mouseswing_combo",
                          "keyset_mouseswing_num_edit", "keyset_mouseswing_delay_edit",
                          "keyset_mouseswing_speed_edit");
        break;
    case kFunctionMouseWheel:
        code = ReadMotion(devices::kKeyTypeMouseWheel, "keyset_mousewheel_combo",
                          "keyset_mousewheel_num_edit", "keyset_mousewheel_delay_edit",
                          "keyset_mousewheel_speed_edit");
        break;
    case kFunctionMouseFire:
        code = devices::MouseFireCode(
            static_cast<std::uint8_t>(EditNumber("keyset_mousefire_interval_edit")),
            static_cast<std::uint8_t>(EditNumber("keyset_mousefire_num_edit")));
        break;
    case kFunctionKeyboardKey:
        code = ReadKeyboard();
        break;
    case kFunctionMacro:
        code = ReadMacro();
        break;
    case kFunctionGunKey: {
        const int item = ComboIndex("keyset_gunkey_combo");
        code = item >= 0 ? devices::GunKeyCode(static_cast<std::uint8_t>(item)) : m_record.code;
        break;
    }
    default:
        break;
    }
    m_record.code = code;
    return m_record;
}

KeyCode CKeySetControlUI::ReadPreset(int function) const {
    const PresetList* list = PresetListOf(function);
    if (!list)
        return m_record.code;
    const int item = ComboIndex(list->combo);
    // No preset chosen: the key keeps what it has.
    if (item < 0 || static_cast<std::size_t>(item) >= list->codes.size())
        return m_record.code;
    return list->codes[static_cast<std::size_t>(item)];
}

KeyCode CKeySetControlUI::ReadMotion(std::uint8_t type, const char* combo, const char* num,
                                     const char* delay, const char* speed) const {
    const bool second = ComboIndex(combo) == 1;
    const int count = EditNumber(num);
    if (type == devices::kKeyTypeMouseSwing)
        return devices::MouseSwingCode(EditNumber(delay), EditNumber(speed), count, second);
    return devices::MouseWheelCode(EditNumber(delay), EditNumber(speed), count, second);
}

KeyCode CKeySetControlUI::ReadKeyboard() const {
    if (m_unshownKey)
        return *m_unshownKey;
    KeyCode code = m_record.code;
    code.type = devices::kKeyTypeKeyboard;
    code.param1 = ModifierBitOfOption(SelectedModifier());
    if (GetKeyText().isEmpty())
        code.param2 = 0;
    return code;
}

KeyCode CKeySetControlUI::ReadMacro() const {
    const int macro = ComboIndex("keyset_macro_combo");
    if (macro < 0 || macro >= MacroCount())
        return m_record.code;
    const int repeat = ComboIndex("keyset_macro_over_combo");
    if (repeat == kMacroRepeatTimesItem)
        return devices::MacroTimesCode(
            static_cast<std::uint8_t>(macro),
            static_cast<std::uint8_t>(EditNumber("keyset_macro_cycle_edit")));
    return devices::MacroCode(static_cast<std::uint8_t>(macro),
                              static_cast<std::uint8_t>(repeat > 0 ? repeat : 0));
}

// ---- Control helpers ----

int CKeySetControlUI::EditNumber(const char* name) const {
    auto* edit = Child<ui::CEditUI>(name);
    return edit ? edit->GetText().trimmed().toInt() : 0;
}

void CKeySetControlUI::SetEditNumber(const char* name, int value) {
    if (auto* edit = Child<ui::CEditUI>(name))
        edit->SetText(QString::number(value));
}

int CKeySetControlUI::ComboIndex(const char* name) const {
    auto* combo = Child<ui::CComboUI>(name);
    return combo ? combo->GetCurSel() : -1;
}

int CKeySetControlUI::ComboCount(const char* name) const {
    auto* combo = Child<ui::CComboUI>(name);
    return combo ? combo->GetCount() : 0;
}

void CKeySetControlUI::SelectComboItem(const char* name, int index) {
    if (auto* combo = Child<ui::CComboUI>(name))
        combo->SelectItem(index, false, false);
}

} // namespace shell::keyset

#include "devices/KelvaneMouseDevice.h"
#include "devices/KeyboardKeyMap.h"

#include <algorithm>

namespace devices {

namespace {
const KeyCode kLeftClick = MouseFactoryCodes()[0];
} // namespace

KeyRecord CKelvaneMouseDevice::GetKeyRecord(int button) const {
    if (button >= 0 && static_cast<std::size_t>(button) < m_buttons.size())
        return m_buttons[static_cast<std::size_t>(button)];
    KeyRecord record;
    if (button >= 0 && button < kMouseButtonCount) {
        record.keyIndex = record.defaultKeyIndex = static_cast<std::uint16_t>(button);
        record.code = record.defaultCode = MouseFactoryCodes()[static_cast<std::size_t>(button)];
    }
    return record;
}

bool CKelvaneMouseDevice::SetKeyRecord(int button, const KeyRecord& record) {
    if (button < 0 || static_cast<std::size_t>(button) >= m_buttons.size())
        return false;
    std::vector<KeyRecord> buttons = m_buttons;
    buttons[static_cast<std::size_t>(button)] = record;
    SetButtonList(buttons);
    Profile().SaveProfile();
    return true;
}

void CKelvaneMouseDevice::SelectKey(int index) {
    CKelvaneUSBDevice::SelectKey(index);
    if (m_view)
        m_view->ShowKeyAssignment(index, GetKeyRecord(index));
}

bool CKelvaneMouseDevice::IsSoleLeftClick(int button) const {
    if (button < 0 || static_cast<std::size_t>(button) >= m_buttons.size() ||
        m_buttons[static_cast<std::size_t>(button)].code != kLeftClick)
        return false;
    return std::count_if(m_buttons.begin(), m_buttons.end(),
                         [](const KeyRecord& r) { return r.code == kLeftClick; }) == 1;
}

std::vector<int> CKelvaneMouseDevice::KeysNamingMacro(int position) const {
    return devices::KeysNamingMacro(m_buttons, position);
}

bool CKelvaneMouseDevice::ShiftMacroKeys(int position) {
    std::vector<KeyRecord> buttons = m_buttons;
    if (!ShiftMacroReferences(buttons, position))
        return false;
    SetButtonList(buttons);
    Profile().SaveProfile();
    WriteKeyTable();
    if (m_view)
        m_view->RefreshKeyTexts();
    return true;
}

void CKelvaneMouseDevice::RefreshPanels() {
    LoadLists();
    if (m_view)
        m_view->RefreshPanels();
}

} // namespace devices

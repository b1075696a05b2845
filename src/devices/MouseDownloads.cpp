// The mouse's button and macro downloads: the key table with the profile's assignments, and
// the library macros the buttons use as one image into the macro memory.

#include "devices/KelvaneMouseDevice.h"
#include "devices/LibraryMacroEvents.h"
#include "devices/MacroImage.h"
#include "devices/MacroLibraryCount.h"
#include "devices/MouseButtonTable.h"

namespace devices {

using namespace transport;

int CKelvaneMouseDevice::DownloadButtons(int page, std::span<const KeyRecord> buttons) {
    if (!m_command.open || !CheckReceiverLink())
        return 0;
    if (page != 0)
        return kCommBadPage;
    if (m_command.ReadDeviceInfo(m_info) != kCommSuccess)
        return 0;
    const std::size_t length = 3 * std::size_t{m_info[kInfoKeyCountAt]};
    if (length > m_keyTable.size())
        return 0; // a mouse with more buttons than the table holds: nothing to write over
    const std::vector<std::uint8_t> table =
        BuildMouseButtonTable(std::span(m_keyTable).first(length), m_buttonMap, buttons,
                              CountLibraryMacros(UserDataFolder()));
    if (!CheckReceiverLink())
        return 0;
    m_command.Begin();
    m_command.SetTransferLength(static_cast<std::uint16_t>(length));
    const int written = m_command.WriteKeyTable(table, page);
    if (!CheckReceiverLink())
        return 0;
    m_command.End();
    return written == kCommSuccess ? kCommSuccess : 0;
}

int CKelvaneMouseDevice::WriteKeyTable() {
    return DownloadButtons(0, m_buttons);
}

std::vector<int> CKelvaneMouseDevice::UsedMacroList() const {
    return MouseUsedMacros(m_buttonMap, m_buttons, CountLibraryMacros(UserDataFolder()));
}

int CKelvaneMouseDevice::DownloadMacros() {
    return DownloadMacros(UsedMacroList());
}

int CKelvaneMouseDevice::DownloadMacros(const std::vector<int>& libraryIndexes) {
    if (!m_command.open)
        return 0;
    if (libraryIndexes.empty())
        return kCommSuccess;
    const std::string folder = UserDataFolder();
    const config::MacroIndexRead library = config::ReadMacroIndex(folder);
    if (folder.empty() || library.state != config::ReadState::kRead)
        return 0; // the mouse keeps the macros it has
    if (m_command.ReadDeviceInfo(m_info) != kCommSuccess)
        return 0;

    MacroBlocks macros;
    macros.reserve(libraryIndexes.size());
    for (int index : libraryIndexes)
        macros.push_back(LibraryMacroEvents(folder, library.macros, index));
    const std::size_t capacity = std::size_t{m_info[kInfoMacroMemoryAt]} * kMacroMemoryUnit;
    if (MacroImageOverflow(MacroImageLength(macros), capacity) > 0)
        return 0;
    const std::vector<std::uint8_t> image = BuildMacroImage(macros);

    if (!CheckReceiverLink())
        return 0;
    m_command.Begin();
    if (!CheckReceiverLink())
        return 0;
    const int written = m_command.WriteMacroData(image);
    if (!CheckReceiverLink())
        return 0;
    m_command.End();
    return written == kCommSuccess ? kCommSuccess : 0;
}

} // namespace devices

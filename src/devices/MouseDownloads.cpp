// The mouse's button and macro downloads: the key table with the profile's assignments, and
// the library macros the buttons use as one image into the macro memory, and the recoil image.

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
    // The keyboard's results: done (or nothing to do, or not sent now: the next apply sends
    // again), failed, or by how many events the image overflows the macro memory.
    if (!m_command.open || libraryIndexes.empty())
        return kMacroDownloadDone;
    const std::string folder = UserDataFolder();
    const config::MacroIndexRead library = config::ReadMacroIndex(folder);
    if (folder.empty() || library.state != config::ReadState::kRead)
        return kMacroDownloadDone; // the mouse keeps the macros it has
    if (m_command.ReadDeviceInfo(m_info) != kCommSuccess)
        return kMacroDownloadDone;

    MacroBlocks macros;
    macros.reserve(libraryIndexes.size());
    for (int index : libraryIndexes)
        macros.push_back(LibraryMacroEvents(folder, library.macros, index));
    const std::size_t capacity = std::size_t{m_info[kInfoMacroMemoryAt]} * kMacroMemoryUnit;
    if (const int overflow = MacroImageOverflow(MacroImageLength(macros), capacity); overflow > 0)
        return overflow;
    const std::vector<std::uint8_t> image = BuildMacroImage(macros);

    if (!CheckReceiverLink())
        return kMacroDownloadDone;
    m_command.Begin();
    if (!CheckReceiverLink())
        return kMacroDownloadDone;
    const int written = m_command.WriteMacroData(image);
    if (!CheckReceiverLink())
        return kMacroDownloadDone;
    m_command.End();
    return written == kCommSuccess ? kMacroDownloadDone : kMacroDownloadFailed;
}

int CKelvaneMouseDevice::DownloadShoot(std::span<const std::uint8_t> image) {
    if (!m_command.open || image.empty() || !CheckReceiverLink())
        return 0;
    m_command.Begin();
    if (!CheckReceiverLink())
        return 0;
    const int written = m_command.WriteLargeData(image);
    if (!CheckReceiverLink())
        return 0;
    m_command.End();
    return written == kCommSuccess ? kCommSuccess : 0;
}

} // namespace devices

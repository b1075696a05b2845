// The keyboard's macro download: the library's macros the keys use, as one image into the
// macro memory.

#include "config/MacroFiles.h"
#include "devices/KelvaneKeyboardDevice.h"
#include "devices/LibraryMacroEvents.h"
#include "devices/MacroImage.h"
#include "devices/MacroLibraryCount.h"

namespace devices {

using namespace transport;

int CKelvaneKeyboardDevice::DownloadMacros() {
    return DownloadMacros(UsedMacroList());
}

int CKelvaneKeyboardDevice::DownloadMacros(const std::vector<int>& libraryIndexes) {
    if (m_command.open)
        m_command.ReadDeviceInfo(m_info);
    const std::string folder = UserDataFolder();
    if (folder.empty() || libraryIndexes.empty())
        return kMacroDownloadDone;
    // Without the library the device keeps the macros it has.
    const config::MacroIndexRead library = config::ReadMacroIndex(folder);
    if (library.state != config::ReadState::kRead)
        return kMacroDownloadDone;

    MacroBlocks macros;
    macros.reserve(libraryIndexes.size());
    for (int index : libraryIndexes)
        macros.push_back(LibraryMacroEvents(folder, library.macros, index));
    const std::size_t capacity = std::size_t{m_info[kInfoMacroMemoryAt]} * kMacroMemoryUnit;
    if (const int overflow = MacroImageOverflow(MacroImageLength(macros), capacity); overflow > 0)
        return overflow;
    if (!m_command.open)
        return kMacroDownloadDone;

    const std::vector<std::uint8_t> image = BuildMacroImage(macros);
    m_command.Begin();
    const int written = m_command.WriteMacroData(image);
    m_command.End();
    return written == kCommSuccess ? kMacroDownloadDone : kMacroDownloadFailed;
}

int CKelvaneKeyboardDevice::MacroLibraryChanged() {
    m_macroLibrarySize = CountLibraryMacros(UserDataFolder());
    return DownloadMacros();
}

std::vector<int> CKelvaneKeyboardDevice::KeysNamingMacro(int position) const {
    return devices::KeysNamingMacro(m_keyList, position);
}

bool CKelvaneKeyboardDevice::ShiftMacroKeys(int position) {
    if (!ShiftMacroReferences(m_keyList, position))
        return false;
    StoreKeyList();
    WriteKeyTable();
    if (m_view)
        m_view->RefreshKeyTexts();
    return true;
}

} // namespace devices

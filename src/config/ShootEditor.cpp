#include "config/ShootEditor.h"

#include "config/DamagedFile.h"

#include <algorithm>

namespace config {

void CShootEditor::SetShootFolders(const std::string& userFolder,
                                   const std::string& defaultFolder) {
    m_userFolder = userFolder;
    m_defaultFolder = defaultFolder;
}

int CShootEditor::InitShootEditor() {
    int restored = 0;
    for (int slot = 0; slot < kShootSlotCount; ++slot) {
        const std::string path = SlotPath(slot);
        const ShootFileRead read = ReadShootFile(path);
        if (read.state == ReadState::kRead || read.Refused())
            continue;
        if (read.state == ReadState::kDamaged && !SetDamagedFileAside(path))
            continue;
        if (CopyShootFile(ShootFilePath(m_defaultFolder, slot), path) == kShootFileDone)
            ++restored;
    }
    return restored;
}

void CShootEditor::SelectWeapon(int slot) {
    m_slot = std::clamp(slot, 0, kShootSlotCount - 1);
}

void CShootEditor::SelectBullet(int bullet) {
    m_bullet = std::clamp(bullet, 0, kShootBulletCount - 1);
}

ShootBullet CShootEditor::LoadBullet() const {
    if (m_bullet < 0)
        return {};
    return ReadShootBullet(ReadShootFile(SlotPath(m_slot)).document, m_bullet);
}

int CShootEditor::SaveBullet(const ShootBullet& values) {
    if (m_bullet < 0)
        return kShootFileWriteFailed;
    const std::string path = SlotPath(m_slot);
    ShootFileRead read = ReadShootFile(path);
    if (read.Refused())
        return kShootFileRefused;
    // A damaged file keeps nothing in its replacement: the user may still want it.
    const bool unusable = read.state == ReadState::kDamaged ||
                          (read.state == ReadState::kRead && !read.document.isObject());
    if (unusable && !SetDamagedFileAside(path))
        return kShootFileWriteFailed;
    if (unusable)
        read.document = Json::Value(Json::objectValue);
    PutShootBullet(read.document, m_bullet, values);
    return WriteShootFile(path, read.document);
}

int CShootEditor::ResetWeapon() {
    return CopyShootFile(ShootFilePath(m_defaultFolder, m_slot), SlotPath(m_slot));
}

int CShootEditor::ImportWeapon(const std::string& path) {
    if (path.empty())
        return kShootFileWriteFailed;
    return CopyShootFile(path, SlotPath(m_slot));
}

int CShootEditor::ExportWeapon(const std::string& path) const {
    if (path.empty())
        return kShootFileWriteFailed;
    return CopyShootFile(SlotPath(m_slot), path);
}

std::vector<std::vector<MacroEvent>> CShootEditor::SlotEvents() const {
    std::vector<std::vector<MacroEvent>> slots;
    for (int slot = 0; slot < kShootSlotCount; ++slot)
        slots.push_back(ShootSlotEvents(ReadShootFile(SlotPath(slot)).document));
    return slots;
}

} // namespace config

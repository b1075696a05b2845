#pragma once
// CShootEditor: the recoil editor of the mouse as its panel works on it: four weapon slot
// files in the user folder, one selected slot and one selected bullet, and the operations that
// change the files. The panel shows LoadBullet() and asks for paths; this model never does.
//
// Every operation reads the slot's file again, so what is shown always follows the file. A
// slot file that is there but cannot be read is never written over.

#include "config/ShootFiles.h"

#include <string>
#include <vector>

namespace config {

class CShootEditor {
public:
    // The mouse's user folder and the default-data folder, each ending in a path separator.
    void SetShootFolders(const std::string& userFolder, const std::string& defaultFolder);
    const std::string& UserFolder() const { return m_userFolder; }
    const std::string& DefaultFolder() const { return m_defaultFolder; }

    // Every slot whose file is missing or damaged gets a copy of its default file (a damaged
    // one is set aside first). The number of slot files that were restored.
    int InitShootEditor();

    // Clamped to 0..3; the selected bullet stays.
    void SelectWeapon(int slot);
    int SelectedWeapon() const { return m_slot; }
    // Clamped to 0..29.
    void SelectBullet(int bullet);
    // -1 before the first selection.
    int SelectedBullet() const { return m_bullet; }

    std::string SlotPath(int slot) const { return ShootFilePath(m_userFolder, slot); }
    // The selected bullet of the selected slot; zeros without a selection or a usable file.
    ShootBullet LoadBullet() const;
    // Writes the selected bullet's six events into the selected slot's file. 0 without a
    // selected bullet or when the write failed, kShootFileRefused when the file cannot be read.
    int SaveBullet(const ShootBullet& values);

    // Copies the slot's default file over the selected slot's file.
    int ResetWeapon();
    // Copies `path` over the selected slot's file byte for byte; 0 for an empty path.
    int ImportWeapon(const std::string& path);
    // Copies the selected slot's file to `path` byte for byte; 0 for an empty path.
    int ExportWeapon(const std::string& path) const;

    // The events of the four slots in slot order, as the mouse takes them.
    std::vector<std::vector<MacroEvent>> SlotEvents() const;

private:
    std::string m_userFolder;
    std::string m_defaultFolder;
    int m_slot = 0;
    int m_bullet = -1;
};

} // namespace config

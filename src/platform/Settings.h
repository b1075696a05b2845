#pragma once
// The program's settings store: an INI file, platform::SettingsFile(), read through QSettings.
// It holds the language choice "LANGUAGE".

#include <QtGlobal>
#include <optional>

namespace platform {

struct StoredLanguage {
    // False when the store exists but cannot be read: the caller takes the first language.
    bool storeReadable = false;
    // The stored "Language_ID"; empty when there is no readable value.
    std::optional<quint32> id;
};

StoredLanguage ReadStoredLanguage();
// Stores the choice; false when it could not be written.
bool StoreLanguage(quint32 id);

} // namespace platform

#pragma once
// The program's settings store: an INI file, platform::SettingsFile(), read through QSettings.
// It holds the language choice "LANGUAGE" and the update service's root address "UPDATE_URL".

#include <QtGlobal>
#include <optional>
#include <string>

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
// The update service's root address ("https://host/"); empty when none is set.
std::string ReadUpdateServiceRoot();

} // namespace platform

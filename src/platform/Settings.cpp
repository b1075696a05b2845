#include "platform/Settings.h"

#include "platform/Paths.h"

#include <QSettings>
#include <memory>

namespace platform {

namespace {
// The file is named explicitly: QSettings would fix its folder once per process.
std::unique_ptr<QSettings> OpenStore() {
    return std::make_unique<QSettings>(QString::fromStdString(SettingsFile()),
                                       QSettings::IniFormat);
}
constexpr const char* kLanguageKey = "LANGUAGE";
constexpr const char* kUpdateServiceKey = "UPDATE_URL";
} // namespace

StoredLanguage ReadStoredLanguage() {
    const auto store = OpenStore();
    StoredLanguage result;
    result.storeReadable = store->status() == QSettings::NoError;
    if (!result.storeReadable)
        return result;
    bool ok = false;
    const quint32 id = store->value(QLatin1String(kLanguageKey)).toUInt(&ok);
    if (ok)
        result.id = id;
    return result;
}

bool StoreLanguage(quint32 id) {
    const auto store = OpenStore();
    store->setValue(QLatin1String(kLanguageKey), id);
    store->sync();
    return store->status() == QSettings::NoError;
}

std::string ReadUpdateServiceRoot() {
    const auto store = OpenStore();
    return store->value(QLatin1String(kUpdateServiceKey)).toString().toStdString();
}

} // namespace platform

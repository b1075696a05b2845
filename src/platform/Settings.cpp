#include "platform/Settings.h"

#include "platform/Paths.h"

#include <QSettings>

namespace platform {

namespace {
QSettings OpenStore() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QString::fromUtf8(kProductTitle),
                     QString::fromUtf8(kProductTitle));
}
constexpr const char* kLanguageKey = "LANGUAGE";
} // namespace

StoredLanguage ReadStoredLanguage() {
    QSettings store = OpenStore();
    StoredLanguage result;
    result.storeReadable = store.status() == QSettings::NoError;
    if (!result.storeReadable)
        return result;
    bool ok = false;
    const quint32 id = store.value(QLatin1String(kLanguageKey)).toUInt(&ok);
    if (ok)
        result.id = id;
    return result;
}

bool StoreLanguage(quint32 id) {
    QSettings store = OpenStore();
    store.setValue(QLatin1String(kLanguageKey), id);
    store.sync();
    return store.status() == QSettings::NoError;
}

} // namespace platform

#include "platform/PrivateFonts.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>

namespace platform {

QStringList PrivateFontFiles() {
    return {QStringLiteral("Simplified_Chinese.ttf"), QStringLiteral("Zozariru-Regular.otf"),
            QStringLiteral("NotoSansThai-Regular.ttf"),
            QStringLiteral("NotoSansCJKtc-Regular.otf")};
}

void PrivateFonts::Load(const QString& folder) {
    QStringList names = PrivateFontFiles();
    const QStringList found = QDir(folder).entryList(
        {QStringLiteral("*.ttf"), QStringLiteral("*.otf"), QStringLiteral("*.ttc")}, QDir::Files,
        QDir::Name);
    for (const QString& name : found) {
        if (!names.contains(name))
            names.append(name);
    }
    for (const QString& name : names) {
        QFile file(folder + name);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const int id = QFontDatabase::addApplicationFontFromData(file.readAll());
        if (id >= 0)
            m_ids.append(id);
    }
}

void PrivateFonts::Remove() {
    while (!m_ids.isEmpty())
        QFontDatabase::removeApplicationFont(m_ids.takeLast());
}

} // namespace platform

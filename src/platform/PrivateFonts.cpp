#include "platform/PrivateFonts.h"

#include <QDir>
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
    // By path, so that the font database reads only what it shows rather than every file whole
    // at start-up. A file that is missing or no font gives -1.
    for (const QString& name : names) {
        const int id = QFontDatabase::addApplicationFont(folder + name);
        if (id >= 0)
            m_ids.append(id);
    }
}

void PrivateFonts::Remove() {
    while (!m_ids.isEmpty())
        QFontDatabase::removeApplicationFont(m_ids.takeLast());
}

} // namespace platform

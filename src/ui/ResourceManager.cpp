#include "ui/ResourceManager.h"

#include "ui/PaintManagerUI.h"
#include "ui/UIDefs.h"

#include <QFile>
#include <QXmlStreamReader>

namespace ui {

namespace {
// Reads the elements under the root; calls take(element name, attributes) for each.
template <class Take> bool ReadFlatXml(const QString& path, const QString& root, Take take) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QXmlStreamReader xml(&file);
    if (!xml.readNextStartElement() || xml.name() != root)
        return false;
    while (xml.readNextStartElement()) {
        take(xml.name(), xml.attributes());
        xml.skipCurrentElement();
    }
    return !xml.hasError();
}
} // namespace

CResourceManager& CResourceManager::GetInstance() {
    static CResourceManager instance;
    return instance;
}

bool CResourceManager::LoadResource(const QString& indexFile) {
    QHash<QString, QString> files;
    QHash<QString, QString> images;
    const bool ok =
        ReadFlatXml(CPaintManagerUI::GetResourcePath() + indexFile, QStringLiteral("Resource"),
                    [&](QStringView element, const QXmlStreamAttributes& a) {
                        auto& map = element == QLatin1String("Image") ? images : files;
                        map.insert(a.value(QLatin1String("id")).toString(),
                                   a.value(QLatin1String("file")).toString());
                    });
    if (ok) {
        m_xmlFiles = std::move(files);
        m_imageFiles = std::move(images);
    }
    return ok;
}

QString CResourceManager::GetXmlFile(const QString& id) const {
    return m_xmlFiles.value(id, id);
}

QString CResourceManager::GetImageFile(const QString& id) const {
    auto it = m_imageFiles.constFind(id);
    return it == m_imageFiles.constEnd() ? QString() : CPaintManagerUI::GetResourcePath() + *it;
}

bool CResourceManager::LoadLanguage(const QString& file) {
    QHash<QString, QString> texts;
    if (!ReadLanguageFile(file, texts, 0))
        return false;
    m_texts = std::move(texts);
    return true;
}

bool CResourceManager::ReadLanguageFile(const QString& file, QHash<QString, QString>& texts,
                                        int depth) {
    constexpr int kMaxBaseDepth = 4; // a base naming itself ends here
    if (file.isEmpty() || depth > kMaxBaseDepth)
        return false;
    QFile in(CPaintManagerUI::GetResourcePath() + file);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QXmlStreamReader xml(&in);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("Language"))
        return false;
    // A language file may name a base file whose texts stand in for the ids it lacks.
    const QString base = xml.attributes().value(QLatin1String("base")).toString();
    if (!base.isEmpty() && !ReadLanguageFile(base, texts, depth + 1))
        return false;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("Text"))
            texts.insert(xml.attributes().value(QLatin1String("id")).toString(),
                         xml.attributes().value(QLatin1String("value")).toString());
        xml.skipCurrentElement();
    }
    return !xml.hasError();
}

QString CResourceManager::GetText(const QString& id) const {
    auto it = m_texts.constFind(id);
    if (it != m_texts.constEnd())
        return *it;
    if (m_query) {
        const QString answer = m_query->QueryControlText(id, QString());
        if (!answer.isEmpty())
            return answer;
    }
    return id;
}

void CResourceManager::ReloadText() {
    CPaintManagerUI::ReloadAllText();
}

void CResourceManager::Release() {
    m_xmlFiles.clear();
    m_imageFiles.clear();
    m_texts.clear();
    m_language.clear();
    m_query = nullptr;
}

} // namespace ui

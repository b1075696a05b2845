#pragma once
// CResourceManager: the skin's resource index ("res.xml": skin file ids such as "XML_MAIN"
// and image ids such as the window icon "107", each mapped to a file of the skin folder)
// and the language table of texts by id.
//   <Resource><Xml id="XML_MAIN" file="main.xml"/><Image id="107"
//   file="common/logo.png"/></Resource>

#include <QHash>
#include <QString>

namespace ui {

class IQueryControlText;

class CResourceManager {
public:
    static CResourceManager& GetInstance();

    // Reads the resource index, a file relative to the skin folder. Returns false when it is
    // missing or malformed; the index then stays empty.
    bool LoadResource(const QString& indexFile);
    // The file, relative to the skin folder, of a skin id; the id itself when it is not in
    // the index (file names are used directly as well).
    QString GetXmlFile(const QString& id) const;
    // The full path of an image of the index (such as the window icon "107"); empty if none.
    QString GetImageFile(const QString& id) const;

    void SetLanguage(const QString& name) { m_language = name; }
    QString GetLanguage() const { return m_language; }
    // Loads a language file of the skin folder:
    //   <Language base="lan_en.xml"><Text id="..." value="..."/>...</Language>
    // (the optional base file gives the texts of the ids the file lacks). On success its texts
    // replace the current ones; on failure the current texts stay.
    bool LoadLanguage(const QString& file);
    // The current language's text of an id; when there is none, the text query's answer, and
    // when that is empty too, the id itself so that a missing translation stays visible.
    QString GetText(const QString& id) const;
    bool HasText(const QString& id) const { return m_texts.contains(id); }
    // Shows the current texts in every control whose text is an id.
    void ReloadText();

    void SetTextQueryInterface(IQueryControlText* query) { m_query = query; }
    // Forgets the text query when it is this one (its owner is going away).
    void RemoveTextQueryInterface(IQueryControlText* query) {
        if (m_query == query)
            m_query = nullptr;
    }
    void Release();

private:
    CResourceManager() = default;
    bool ReadLanguageFile(const QString& file, QHash<QString, QString>& texts, int depth);
    QHash<QString, QString> m_xmlFiles;
    QHash<QString, QString> m_imageFiles;
    QHash<QString, QString> m_texts;
    QString m_language;
    IQueryControlText* m_query = nullptr;
};

} // namespace ui

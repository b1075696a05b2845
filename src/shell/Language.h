#pragma once
// The language table ("Language.config" in the default-data folder), the stored choice, and
// the font table that goes with a language.

#include <QString>
#include <QtGlobal>
#include <vector>

namespace ui {
class CPaintManagerUI;
}

namespace shell {

struct LanguageEntry {
    quint32 id = 0; // "Language_ID", the value stored as the choice
    QString name;   // "Language_name", handed to the resource manager
    QString file;   // "Language_file", the skin's language file
    QString text;   // "Language_text", shown in the settings window
};

// The identifier looked for when no choice is stored.
inline constexpr quint32 kDefaultLanguageId = 520;

// The languages in file order; empty when the file is missing or malformed.
std::vector<LanguageEntry> ReadLanguageTable();

// The LanguageIndex to start with: the first language whose id is the stored one (520 when no
// value is stored); 0 when the store cannot be read, the table is empty or nothing matches.
int GetLanguageIndex();

// The font face to install when switching from `previous` to `next`; empty: fonts unchanged.
QString FontFaceForLanguage(int next, int previous);

// Replaces the shared and non-shared fonts with the program's font table in `face`.
void InstallFontTable(ui::CPaintManagerUI& pm, const QString& face);

} // namespace shell

#include "shell/Language.h"

#include "config/JsonFile.h"
#include "config/PlainFileName.h"
#include "platform/Paths.h"
#include "platform/Settings.h"
#include "ui/PaintManagerUI.h"

namespace shell {

namespace {
// A member's text; numbers and booleans in their text form, anything else (an array, an object)
// as empty text, which jsoncpp would throw for.
QString TextOf(const Json::Value& value) {
    return value.isConvertibleTo(Json::stringValue) ? QString::fromStdString(value.asString())
                                                    : QString();
}
} // namespace

std::vector<LanguageEntry> ReadLanguageTable() {
    const Json::Value root =
        config::ReadJsonFile(platform::DefaultDataFolder() + "Language.config");
    std::vector<LanguageEntry> table;
    if (!root.isObject() || !root["Language"].isArray())
        return table;
    for (const Json::Value& item : root["Language"]) {
        if (!item.isObject())
            continue;
        LanguageEntry entry;
        // An id that no stored choice can be (negative or past 32 bits) stays 0.
        if (item["Language_ID"].isUInt())
            entry.id = item["Language_ID"].asUInt();
        entry.name = TextOf(item["Language_name"]);
        entry.file = TextOf(item["Language_file"]);
        if (!entry.file.isEmpty() && !config::IsPlainFileName(entry.file.toStdString()))
            continue; // a language file lies in the skin folder
        entry.text = TextOf(item["Language_text"]);
        table.push_back(entry);
    }
    return table;
}

int GetLanguageIndex() {
    const platform::StoredLanguage stored = platform::ReadStoredLanguage();
    if (!stored.storeReadable)
        return 0;
    const quint32 wanted = stored.id.value_or(kDefaultLanguageId);
    const std::vector<LanguageEntry> table = ReadLanguageTable();
    for (size_t i = 0; i < table.size(); ++i) {
        if (table[i].id == wanted)
            return static_cast<int>(i);
    }
    return 0;
}

QString FontFaceForLanguage(int next, int previous) {
    switch (next) {
    case 0:
        return QStringLiteral("汉仪菱心体简");
    case 2:
        return QStringLiteral("Noto Sans CJK TC Regular");
    case 15:
        return QStringLiteral("Noto Sans Thai");
    default:
        break;
    }
    if (previous == 0 || previous == 2 || previous == 15 || previous == -1)
        return QStringLiteral("Verdana Unicode MS");
    return {};
}

void InstallFontTable(ui::CPaintManagerUI& pm, const QString& face) {
    struct Row {
        int id; // -1: the default font
        int size;
        bool bold;
        bool underline;
    };
    static constexpr Row kTable[] = {
        {0, 15, false, false},  {-1, 14, false, false}, {1, 14, false, true},
        {2, 18, false, false},  {3, 30, false, false},  {4, 16, false, false},
        {5, 20, false, false},  {6, 22, false, false},  {7, 14, false, false},
        {8, 12, false, false},  {9, 11, false, false},  {10, 10, false, false},
        {11, 28, false, false}, {50, 18, true, false},
    };
    pm.RemoveAllFonts(true);
    pm.RemoveAllFonts(false);
    for (const Row& row : kTable) {
        if (row.id < 0)
            pm.SetDefaultFont(face, row.size, row.bold, row.underline, false, true);
        else
            pm.AddFont(row.id, face, row.size, row.bold, row.underline, false, true);
    }
}

} // namespace shell

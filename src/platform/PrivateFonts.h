#pragma once
// The program's private fonts, loaded from the "Font" folder for the run only.

#include <QList>
#include <QString>
#include <QStringList>

namespace platform {

// The four font files that load first, in load order.
QStringList PrivateFontFiles();

class PrivateFonts {
public:
    // Loads each file of PrivateFontFiles() from `folder`, then every other font file there
    // (.ttf, .otf, .ttc) in name order; a file that is missing, unreadable or refused is
    // skipped without a message.
    void Load(const QString& folder);
    // Removes the loaded fonts in reverse load order.
    void Remove();
    int LoadedCount() const { return static_cast<int>(m_ids.size()); }
    ~PrivateFonts() { Remove(); }

private:
    QList<int> m_ids;
};

} // namespace platform

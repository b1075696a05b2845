#pragma once
// Control names as the dispatch tables compare them: without regard to case, and "prefix" + N.

#include "ui/ControlUI.h"

#include <QLatin1String>
#include <QString>
#include <QStringView>

namespace ui {

inline bool NameIs(const QString& name, const char* expected) {
    return name.compare(QLatin1String(expected), Qt::CaseInsensitive) == 0;
}
// False for no control.
inline bool NameIs(const CControlUI* control, const char* expected) {
    return control && NameIs(control->GetName(), expected);
}

// `prefix` + N, the name NumberAfter reads back.
inline QString Numbered(const char* prefix, int n) {
    return QLatin1String(prefix) + QString::number(n);
}

// N of a name made of `prefix` (any case) and decimal digits only; -1 for any other name.
inline int NumberAfter(const QString& name, const char* prefix) {
    const QLatin1String head(prefix);
    if (!name.startsWith(head, Qt::CaseInsensitive) || name.size() == head.size())
        return -1;
    const QStringView digits = QStringView(name).mid(head.size());
    for (QChar c : digits) {
        if (!c.isDigit())
            return -1;
    }
    bool ok = false;
    const int value = digits.toInt(&ok);
    return ok ? value : -1;
}

} // namespace ui

#include "ui/RegisteredMessage.h"

#include <QHash>
#include <QMutex>

namespace ui {

UINT RegisterWindowMessage(const QString& name) {
    static QMutex mutex;
    static QHash<QString, UINT> numbers;
    const QMutexLocker lock(&mutex);
    auto it = numbers.constFind(name);
    if (it != numbers.constEnd())
        return *it;
    const UINT number = 0xC000 + static_cast<UINT>(numbers.size());
    if (number > 0xFFFF)
        return 0;
    numbers.insert(name, number);
    return number;
}

} // namespace ui

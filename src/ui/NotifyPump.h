#pragma once
// CNotifyPump: routes notifications to handlers by type and sender name, and to the virtual
// windows named by a control's "virtualwnd" attribute.

#include "ui/UIDefs.h"

#include <QHash>
#include <QString>
#include <functional>
#include <vector>

namespace ui {

class CNotifyPump {
public:
    virtual ~CNotifyPump() = default;
    using Handler = std::function<void(TNotifyUI&)>;

    bool AddVirtualWnd(const QString& name, CNotifyPump* pump);
    bool RemoveVirtualWnd(const QString& name);
    // A notification whose virtual window is registered goes to that pump only; others to this
    // pump's handlers: first one for the type and the sender's name, else one for the type.
    void NotifyPump(TNotifyUI& msg);

protected:
    void MapNotify(const QString& type, Handler handler, const QString& senderName = QString());
    bool LoopDispatch(TNotifyUI& msg);

private:
    struct Entry {
        QString type;
        QString senderName;
        Handler handler;
    };
    std::vector<Entry> m_handlers;
    QHash<QString, CNotifyPump*> m_virtualWnds;
};

} // namespace ui

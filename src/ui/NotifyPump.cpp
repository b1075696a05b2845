#include "ui/NotifyPump.h"

#include "ui/ControlUI.h"

namespace ui {

bool CNotifyPump::AddVirtualWnd(const QString& name, CNotifyPump* pump) {
    if (!pump || m_virtualWnds.contains(name))
        return false;
    m_virtualWnds.insert(name, pump);
    return true;
}

bool CNotifyPump::RemoveVirtualWnd(const QString& name) {
    return m_virtualWnds.remove(name) > 0;
}

void CNotifyPump::MapNotify(const QString& type, Handler handler, const QString& senderName) {
    m_handlers.push_back(Entry{type, senderName, std::move(handler)});
}

bool CNotifyPump::LoopDispatch(TNotifyUI& msg) {
    const QString name = msg.pSender ? msg.pSender->GetName() : QString();
    const Entry* match = nullptr;
    for (const Entry& e : m_handlers) {
        if (e.type != msg.sType)
            continue;
        if (!e.senderName.isEmpty() && e.senderName == name) {
            match = &e;
            break;
        }
        if (e.senderName.isEmpty() && !match)
            match = &e;
    }
    if (!match)
        return false;
    match->handler(msg);
    return true;
}

void CNotifyPump::NotifyPump(TNotifyUI& msg) {
    if (!msg.sVirtualWnd.isEmpty()) {
        if (CNotifyPump* pump = m_virtualWnds.value(msg.sVirtualWnd)) {
            pump->LoopDispatch(msg);
            return;
        }
    }
    LoopDispatch(msg);
}

} // namespace ui

#include "ui/TrayIcon.h"

#include "ui/WindowWnd.h"

#include <QSystemTrayIcon>

namespace ui {

CTrayIcon::CTrayIcon() = default;
CTrayIcon::~CTrayIcon() = default;

bool CTrayIcon::IsTrayAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void CTrayIcon::CreateTrayIcon(CWindowWnd* receiver, const QIcon& icon, const QString& tooltip) {
    m_icon = std::make_unique<QSystemTrayIcon>(icon);
    m_icon->setToolTip(tooltip);
    QObject::connect(m_icon.get(), &QSystemTrayIcon::activated, m_icon.get(),
                     [receiver](QSystemTrayIcon::ActivationReason reason) {
                         LPARAM mouse = 0;
                         if (reason == QSystemTrayIcon::Trigger)
                             mouse = WM_LBUTTONUP;
                         else if (reason == QSystemTrayIcon::Context)
                             mouse = WM_RBUTTONUP;
                         else if (reason == QSystemTrayIcon::DoubleClick)
                             mouse = WM_LBUTTONDBLCLK;
                         if (mouse && receiver)
                             receiver->SendMessage(WM_TRAYICON, 0, mouse);
                     });
    m_icon->show();
}

void CTrayIcon::DeleteTrayIcon() {
    m_icon.reset();
}

QString CTrayIcon::GetTooltipText() const {
    return m_icon ? m_icon->toolTip() : QString();
}

void CTrayIcon::SetTooltipText(const QString& text) {
    if (m_icon)
        m_icon->setToolTip(text);
}

} // namespace ui

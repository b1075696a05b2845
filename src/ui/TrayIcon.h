#pragma once
// CTrayIcon: the notification-area icon. Its mouse events reach the receiving window as
// WM_TRAYICON with the mouse message (WM_LBUTTONUP, WM_RBUTTONUP, WM_LBUTTONDBLCLK) in lParam.

#include <QIcon>
#include <QString>
#include <memory>

class QSystemTrayIcon;

namespace ui {

class CWindowWnd;

class CTrayIcon {
public:
    CTrayIcon();
    ~CTrayIcon();
    // Whether the desktop shows tray icons at all (a tray host is running).
    static bool IsTrayAvailable();
    void CreateTrayIcon(CWindowWnd* receiver, const QIcon& icon, const QString& tooltip);
    void DeleteTrayIcon();
    bool IsCreated() const { return m_icon != nullptr; }
    QString GetTooltipText() const;
    void SetTooltipText(const QString& text);
    QSystemTrayIcon* GetQtIcon() const { return m_icon.get(); }

private:
    std::unique_ptr<QSystemTrayIcon> m_icon;
};

} // namespace ui

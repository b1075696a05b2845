#pragma once
// CMainWnd: the program's only top-level window and its switchboard. It builds the skin
// "XML_MAIN", owns the tray icon and its menu, keeps the current language, and receives every
// notification of its controls and every message sent to it.

#include "ui/MenuWnd.h"
#include "ui/TrayIcon.h"
#include "ui/WindowImplBase.h"

#include <memory>

namespace shell {

class CMainWnd : public ui::WindowImplBase, public ui::IQueryControlText {
public:
    // The modal windows that stand beside the main window while they are open.
    enum class Secondary { Settings, About, ColourPicker, Music };

    CMainWnd();
    ~CMainWnd() override;

    QString GetWindowClassName() const override { return QStringLiteral("MainWnd"); }

    // The current LanguageIndex; -1 before the first "windowinit".
    int GetLanguageIndex() const { return m_languageIndex; }
    // Switches fonts and texts to the language, stores the choice and tells the open
    // secondary windows. Nothing happens when it is the current language already.
    void SetLanguage(int index);
    // The current language's text of a text id, through the hidden label "text_test".
    QString TextById(const QString& id);
    // The same through "str_test", the label used for messages.
    QString MessageTextById(const QString& id);

    // Set while a secondary window is open, cleared (nullptr) when it closes.
    void SetSecondaryWindow(Secondary which, ui::CWindowWnd* window);

    // Restores the window and brings it to the front.
    void BringForward();
    bool HasTray() const { return m_tray.IsCreated(); }
    ui::CTrayIcon& GetTrayIcon() { return m_tray; }
    ui::CMenuWnd* GetTrayMenu() const { return m_trayMenu.get(); }

    // The text query: this program answers none, so every text comes from the language file.
    QString QueryControlText(const QString&, const QString&) override { return {}; }

    // Timer ids of the main window.
    enum : int { kTimerTrayMenu = 1032 };

protected:
    QString GetSkinFile() override { return QStringLiteral("XML_MAIN"); }
    void InitWindow() override;
    void Notify(ui::TNotifyUI& msg) override;
    // Clicks are handled by the click table in Notify.
    void OnClick(ui::TNotifyUI&) override {}
    ui::LRESULT HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam,
                                    bool& handled) override;

private:
    void OnWindowInit();
    void OnClickControl(const QString& name);
    void OnTimer(int id);
    void OnTrayMessage(ui::LPARAM mouseMessage);
    void OnMenuClick(const ui::MenuCmd& cmd);
    void HideToTray();
    void CloseSecondaryWindows();
    void UpdateNoDeviceHint();
    void Shutdown();
    ui::CWindowWnd*& SecondarySlot(Secondary which);
    QString TextThroughLabel(const QString& label, const QString& id);

    ui::CTrayIcon m_tray;
    std::unique_ptr<ui::CMenuWnd> m_trayMenu;
    int m_languageIndex = -1;
    ui::CWindowWnd* m_settingsWnd = nullptr;
    ui::CWindowWnd* m_aboutWnd = nullptr;
    ui::CWindowWnd* m_colourWnd = nullptr;
    ui::CWindowWnd* m_musicWnd = nullptr;
};

} // namespace shell

#pragma once
// CPaintManagerUI: one per window. Holds the window's control tree, finds controls by name,
// delivers notifications to the window, runs per-control timers, and owns the font table
// and the DPI scale. The resource folder and the shared fonts are process-wide.

#include "ui/UIDefs.h"

#include <QFont>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <map>
#include <memory>
#include <utility>
#include <vector>

class QTimer;
class QWidget;

namespace ui {

class CControlUI;

// A font of the toolkit's font table; size is a pixel height at 96 DPI.
struct FontSpec {
    QString face;
    int size = 14;
    bool bold = false;
    bool underline = false;
    bool italic = false;
};

class CPaintManagerUI {
public:
    CPaintManagerUI();
    ~CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

    // The program folder (with a trailing slash) and the skin folder that file names in the
    // skin are relative to.
    static void SetInstancePath(const QString& path);
    static QString GetInstancePath();
    static void SetResourcePath(const QString& path);
    static QString GetResourcePath();

    // The program's style sheet. Every window's root carries it (CControlUI::ShareStyleSheet),
    // the application does not: the desktop's own dialogs keep the desktop's look.
    static void SetStyleSheet(const QString& sheet);
    static QString GetStyleSheet();

    void AttachRoot(CControlUI* root, QWidget* host);
    CControlUI* GetRoot() const { return m_root; }
    QWidget* GetHost() const { return m_host; }

    // The first control, in build order, with this name (case-sensitive), or nullptr.
    CControlUI* FindControl(const QString& name) const;
    // The first control named so in the subtree of parent (parent included), or nullptr.
    CControlUI* FindSubControlByName(CControlUI* parent, const QString& name) const;
    // Every control known to this manager, in build order.
    QList<CControlUI*> GetControls() const { return m_controls; }

    void AddNotifier(INotifyUI* notifier);
    void RemoveNotifier(INotifyUI* notifier);
    void SendNotify(CControlUI* sender, const QString& type, WPARAM wParam = 0, LPARAM lParam = 0);
    void SendNotify(TNotifyUI& msg);

    // Per-control timers: every elapse calls the control's DoTimer(id) (by default a "timer"
    // notification). Safe to call from any thread: calls from other threads are carried out on
    // the UI thread.
    bool SetTimer(CControlUI* control, int id, int elapseMs);
    bool KillTimer(CControlUI* control, int id);
    void KillTimer(CControlUI* control);
    void RemoveAllTimers();

    // Fonts. Sizes are pixel heights at 96 DPI. Shared fonts belong to every manager.
    void AddFont(int id, const QString& face, int size, bool bold, bool underline, bool italic,
                 bool shared);
    void SetDefaultFont(const QString& face, int size, bool bold, bool underline, bool italic,
                        bool shared);
    void RemoveAllFonts(bool shared);
    // The font with this id (-1 or unknown: the default font), scaled for the DPI.
    QFont GetFont(int id) const;

    void SetDPI(int dpi);
    int GetDPI() const { return m_dpi; }
    int Scale(int value) const { return value * m_dpi / 96; }
    void ResetDPIAssets();

    // Re-applies texts, fonts and sizes to every control (after a language or font change).
    void NeedUpdate();
    static void ReloadAllText();

    // Used by controls.
    void InitControl(CControlUI* control);
    void ReapControl(CControlUI* control);
    void RenameControl(CControlUI* control, const QString& oldName, const QString& newName);

private:
    QFont MakeFont(const FontSpec& spec) const;
    void StartTimerOnUiThread(CControlUI* control, int id, int elapseMs);
    void KillTimerOnUiThread(CControlUI* control, int id);

    CControlUI* m_root = nullptr;
    QWidget* m_host = nullptr;
    QList<CControlUI*> m_controls;
    QHash<QString, QList<CControlUI*>> m_names;
    std::vector<INotifyUI*> m_notifiers;
    std::map<std::pair<CControlUI*, int>, QTimer*> m_timers;
    std::unique_ptr<QObject> m_timerOwner;
    std::map<int, FontSpec> m_fonts;
    std::unique_ptr<FontSpec> m_defaultFont;
    int m_dpi = 96;
};

} // namespace ui

#include "ui/PaintManagerUI.h"

#include "ui/ControlUI.h"

#include <QApplication>
#include <QCursor>
#include <QDateTime>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace ui {

namespace {
QString g_instancePath;
QString g_resourcePath;
QString g_styleSheet;
std::vector<CPaintManagerUI*> g_managers;

// Shared fonts belong to every manager; each manager scales them for its own DPI.
std::map<int, FontSpec>& SharedFonts() {
    static std::map<int, FontSpec> fonts;
    return fonts;
}
std::unique_ptr<FontSpec>& SharedDefaultFont() {
    static std::unique_ptr<FontSpec> font;
    return font;
}
} // namespace

CPaintManagerUI::CPaintManagerUI() : m_timerOwner(std::make_unique<QObject>()) {
    g_managers.push_back(this);
}

CPaintManagerUI::~CPaintManagerUI() {
    RemoveAllTimers();
    for (CControlUI* control : m_controls)
        control->SetManager(nullptr, control->GetParent());
    g_managers.erase(std::remove(g_managers.begin(), g_managers.end(), this), g_managers.end());
}

void CPaintManagerUI::SetInstancePath(const QString& path) {
    g_instancePath = path;
}
QString CPaintManagerUI::GetInstancePath() {
    return g_instancePath;
}
void CPaintManagerUI::SetResourcePath(const QString& path) {
    g_resourcePath = path;
    if (!g_resourcePath.isEmpty() && !g_resourcePath.endsWith(QLatin1Char('/')))
        g_resourcePath += QLatin1Char('/');
}
QString CPaintManagerUI::GetResourcePath() {
    return g_resourcePath;
}

void CPaintManagerUI::SetStyleSheet(const QString& sheet) {
    g_styleSheet = sheet;
    for (CPaintManagerUI* manager : g_managers) {
        if (manager->m_root)
            manager->m_root->ShareStyleSheet();
    }
}
QString CPaintManagerUI::GetStyleSheet() {
    return g_styleSheet;
}

void CPaintManagerUI::AttachRoot(CControlUI* root, QWidget* host) {
    m_root = root;
    m_host = host;
    if (root) {
        root->SetManager(this, nullptr);
        root->ShareStyleSheet();
    }
}

void CPaintManagerUI::InitControl(CControlUI* control) {
    m_controls.append(control);
    if (!control->GetName().isEmpty())
        m_names[control->GetName()].append(control);
}

void CPaintManagerUI::ReapControl(CControlUI* control) {
    KillTimer(control);
    m_controls.removeOne(control);
    if (!control->GetName().isEmpty()) {
        auto it = m_names.find(control->GetName());
        if (it != m_names.end()) {
            it->removeOne(control);
            if (it->isEmpty())
                m_names.erase(it);
        }
    }
    if (m_root == control)
        m_root = nullptr;
}

void CPaintManagerUI::RenameControl(CControlUI* control, const QString& oldName,
                                    const QString& newName) {
    if (!oldName.isEmpty()) {
        auto it = m_names.find(oldName);
        if (it != m_names.end()) {
            it->removeOne(control);
            if (it->isEmpty())
                m_names.erase(it);
        }
    }
    if (newName.isEmpty())
        return;
    // Keep build order: the earliest control of a name is the one FindControl answers.
    QList<CControlUI*>& list = m_names[newName];
    const qsizetype order = m_controls.indexOf(control);
    auto pos = std::find_if(list.begin(), list.end(),
                            [&](CControlUI* c) { return m_controls.indexOf(c) > order; });
    list.insert(pos, control);
}

CControlUI* CPaintManagerUI::FindControl(const QString& name) const {
    auto it = m_names.constFind(name);
    return it == m_names.constEnd() || it->isEmpty() ? nullptr : it->first();
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* parent, const QString& name) const {
    if (!parent)
        return nullptr;
    auto it = m_names.constFind(name);
    if (it == m_names.constEnd())
        return nullptr;
    for (CControlUI* candidate : *it) {
        for (CControlUI* c = candidate; c; c = c->GetParent()) {
            if (c == parent)
                return candidate;
        }
    }
    return nullptr;
}

void CPaintManagerUI::AddNotifier(INotifyUI* notifier) {
    if (std::find(m_notifiers.begin(), m_notifiers.end(), notifier) == m_notifiers.end())
        m_notifiers.push_back(notifier);
}

void CPaintManagerUI::RemoveNotifier(INotifyUI* notifier) {
    m_notifiers.erase(std::remove(m_notifiers.begin(), m_notifiers.end(), notifier),
                      m_notifiers.end());
}

void CPaintManagerUI::SendNotify(CControlUI* sender, const QString& type, WPARAM wParam,
                                 LPARAM lParam) {
    TNotifyUI msg;
    msg.sType = type;
    msg.pSender = sender;
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(msg);
}

void CPaintManagerUI::SendNotify(TNotifyUI& msg) {
    if (msg.pSender)
        msg.sVirtualWnd = msg.pSender->GetVirtualWnd();
    msg.dwTimestamp = static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch());
    if (m_host)
        msg.ptMouse = m_host->mapFromGlobal(QCursor::pos());
    const auto notifiers = m_notifiers; // a notifier may remove itself
    for (INotifyUI* notifier : notifiers)
        notifier->Notify(msg);
}

bool CPaintManagerUI::SetTimer(CControlUI* control, int id, int elapseMs) {
    if (!control || elapseMs < 0)
        return false;
    if (QThread::currentThread() == m_timerOwner->thread()) {
        StartTimerOnUiThread(control, id, elapseMs);
    } else {
        QMetaObject::invokeMethod(
            m_timerOwner.get(),
            [this, control, id, elapseMs] {
                if (m_controls.contains(control))
                    StartTimerOnUiThread(control, id, elapseMs);
            },
            Qt::QueuedConnection);
    }
    return true;
}

void CPaintManagerUI::StartTimerOnUiThread(CControlUI* control, int id, int elapseMs) {
    QTimer*& timer = m_timers[{control, id}];
    if (!timer) {
        timer = new QTimer(m_timerOwner.get());
        QObject::connect(timer, &QTimer::timeout, timer, [control, id] { control->DoTimer(id); });
    }
    timer->start(elapseMs);
}

bool CPaintManagerUI::KillTimer(CControlUI* control, int id) {
    if (QThread::currentThread() != m_timerOwner->thread()) {
        QMetaObject::invokeMethod(
            m_timerOwner.get(), [this, control, id] { KillTimerOnUiThread(control, id); },
            Qt::QueuedConnection);
        return true;
    }
    const bool had = m_timers.count({control, id}) != 0;
    KillTimerOnUiThread(control, id);
    return had;
}

void CPaintManagerUI::KillTimerOnUiThread(CControlUI* control, int id) {
    auto it = m_timers.find({control, id});
    if (it == m_timers.end())
        return;
    it->second->stop();
    it->second->deleteLater();
    m_timers.erase(it);
}

void CPaintManagerUI::KillTimer(CControlUI* control) {
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (it->first.first == control) {
            it->second->stop();
            it->second->deleteLater();
            it = m_timers.erase(it);
        } else {
            ++it;
        }
    }
}

void CPaintManagerUI::RemoveAllTimers() {
    for (auto& [key, timer] : m_timers) {
        timer->stop();
        timer->deleteLater();
    }
    m_timers.clear();
}

QFont CPaintManagerUI::MakeFont(const FontSpec& spec) const {
    QFont font(spec.face);
    font.setPixelSize(std::max(1, Scale(spec.size)));
    font.setBold(spec.bold);
    font.setUnderline(spec.underline);
    font.setItalic(spec.italic);
    return font;
}

void CPaintManagerUI::AddFont(int id, const QString& face, int size, bool bold, bool underline,
                              bool italic, bool shared) {
    FontSpec spec{face, size, bold, underline, italic};
    if (shared)
        SharedFonts()[id] = spec;
    else
        m_fonts[id] = spec;
}

void CPaintManagerUI::SetDefaultFont(const QString& face, int size, bool bold, bool underline,
                                     bool italic, bool shared) {
    auto spec = std::make_unique<FontSpec>(FontSpec{face, size, bold, underline, italic});
    if (shared)
        SharedDefaultFont() = std::move(spec);
    else
        m_defaultFont = std::move(spec);
}

void CPaintManagerUI::RemoveAllFonts(bool shared) {
    if (shared) {
        SharedFonts().clear();
        SharedDefaultFont().reset();
    } else {
        m_fonts.clear();
        m_defaultFont.reset();
    }
}

QFont CPaintManagerUI::GetFont(int id) const {
    if (id >= 0) {
        if (auto it = m_fonts.find(id); it != m_fonts.end())
            return MakeFont(it->second);
        if (auto it = SharedFonts().find(id); it != SharedFonts().end())
            return MakeFont(it->second);
    }
    if (m_defaultFont)
        return MakeFont(*m_defaultFont);
    if (SharedDefaultFont())
        return MakeFont(*SharedDefaultFont());
    return QApplication::font();
}

void CPaintManagerUI::SetDPI(int dpi) {
    if (dpi <= 0 || dpi == m_dpi)
        return;
    const int old = m_dpi;
    m_dpi = dpi;
    if (m_host && m_host->isWindow())
        m_host->resize(m_host->width() * dpi / old, m_host->height() * dpi / old);
    ResetDPIAssets();
}

void CPaintManagerUI::ResetDPIAssets() {
    for (CControlUI* control : m_controls) {
        control->RefreshFont();
        control->RefreshSize();
    }
}

void CPaintManagerUI::NeedUpdate() {
    for (CControlUI* control : m_controls) {
        control->RefreshFont();
        control->RefreshText();
    }
    if (m_host)
        m_host->update();
}

void CPaintManagerUI::ReloadAllText() {
    for (CPaintManagerUI* manager : g_managers) {
        for (CControlUI* control : manager->m_controls)
            control->RefreshText();
    }
}

} // namespace ui

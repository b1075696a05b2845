#include "ui/WindowWnd.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>
#include <atomic>
#include <memory>

namespace ui {

// The Qt widget of a CWindowWnd: turns its events into the window's messages.
class WindowHost : public QWidget {
public:
    WindowHost(CWindowWnd* owner, QWidget* parent, Qt::WindowFlags flags)
        : QWidget(parent, flags), m_owner(owner) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        setMouseTracking(true);
    }
    ~WindowHost() override {
        if (m_owner) {
            CWindowWnd* owner = m_owner;
            owner->m_host = nullptr;
            owner->OnFinalMessage(); // may delete the owner
        }
    }
    void Detach() { m_owner = nullptr; }

protected:
    void closeEvent(QCloseEvent* event) override {
        // Closing from the window manager is the system close command; the window decides.
        event->ignore();
        if (m_owner)
            m_owner->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (m_owner)
            m_owner->OnSize();
    }
    void changeEvent(QEvent* event) override {
        QWidget::changeEvent(event);
        if (m_owner && event->type() == QEvent::ActivationChange)
            m_owner->SendMessage(WM_ACTIVATE, isActiveWindow() ? 1 : 0, 0);
    }
    void enterEvent(QEnterEvent* event) override {
        QWidget::enterEvent(event);
        if (m_owner)
            m_owner->SendMessage(WM_MOUSEHOVER, 0, 0);
    }
    void leaveEvent(QEvent* event) override {
        QWidget::leaveEvent(event);
        if (m_owner)
            m_owner->SendMessage(WM_MOUSELEAVE, 0, 0);
    }
    void keyPressEvent(QKeyEvent* event) override {
        // Enter and Escape that no control took are the window's: WM_KEYDOWN.
        const int key = event->key();
        const WPARAM vk = key == Qt::Key_Escape                           ? VK_ESCAPE
                          : key == Qt::Key_Return || key == Qt::Key_Enter ? VK_RETURN
                                                                          : 0;
        if (m_owner && vk && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            m_owner->SendMessage(WM_KEYDOWN, vk, 0);
            return;
        }
        QWidget::keyPressEvent(event);
    }
    void mousePressEvent(QMouseEvent* event) override {
        // The skin draws its own title bar: a press in the caption area moves the window.
        if (m_owner && event->button() == Qt::LeftButton &&
            event->position().y() < m_owner->CaptionHeight() && windowHandle())
            windowHandle()->startSystemMove();
        QWidget::mousePressEvent(event);
    }

private:
    CWindowWnd* m_owner;
};

CWindowWnd::CWindowWnd() : m_dispatcher(std::make_unique<QObject>()) {}

CWindowWnd::~CWindowWnd() {
    for (auto& [id, timer] : m_timers)
        delete timer;
    if (m_host) {
        m_host->Detach();
        delete m_host;
    }
}

QWidget* CWindowWnd::GetHWND() const {
    return m_host;
}

QWidget* CWindowWnd::Create(CWindowWnd* parent, const QString& name, std::uint32_t style,
                            std::uint32_t exStyle, int x, int y, int cx, int cy) {
    if (m_host)
        return m_host;
    m_destroying = false;
    Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint;
    if (exStyle & WS_EX_TOOLWINDOW)
        flags |= Qt::Tool;
    m_host = new WindowHost(this, parent ? parent->GetHWND() : nullptr, flags);
    m_host->setAttribute(Qt::WA_DeleteOnClose, false);
    m_host->setWindowTitle(name);
    m_host->setObjectName(GetWindowClassName());
    if (cx != CW_USEDEFAULT && cy != CW_USEDEFAULT && cx > 0 && cy > 0)
        m_host->resize(cx, cy);
    if (x != CW_USEDEFAULT && y != CW_USEDEFAULT)
        m_host->move(x, y);
    if (!OnCreate()) {
        m_host->Detach();
        delete m_host;
        m_host = nullptr;
        return nullptr;
    }
    if (style & WS_VISIBLE)
        m_host->show();
    return m_host;
}

void CWindowWnd::ShowWindow(bool show, bool takeFocus) {
    if (!m_host)
        return;
    if (!show) {
        m_host->hide();
        return;
    }
    m_host->show();
    if (takeFocus) {
        m_host->raise();
        m_host->activateWindow();
    }
}

int CWindowWnd::ShowModal() {
    if (!m_host)
        return -1;
    QEventLoop loop;
    m_modalLoop = &loop;
    m_host->setWindowModality(Qt::ApplicationModal);
    m_host->show();
    m_host->raise();
    m_host->activateWindow();
    // Nothing of `this` is used after the loop: the window may have deleted itself.
    return loop.exec();
}

void CWindowWnd::Close(int code) {
    PostMessage(WM_CLOSE, static_cast<WPARAM>(code), 0);
}

void CWindowWnd::DestroyWindow(int code) {
    if (!m_host || m_destroying)
        return;
    m_destroying = true;
    HandleMessage(WM_DESTROY, 0, 0);
    for (auto& [id, timer] : m_timers)
        delete timer;
    m_timers.clear();
    m_host->hide();
    if (QEventLoop* loop = std::exchange(m_modalLoop, nullptr))
        loop->exit(code);
    // OnFinalMessage runs when the widget goes; until then the window stays ending, so that a
    // second close does not end it again.
    m_host->deleteLater();
}

void CWindowWnd::CenterWindow() {
    if (!m_host)
        return;
    QRect area;
    if (QWidget* owner = m_host->parentWidget(); owner && owner->isVisible())
        area = owner->frameGeometry();
    else if (QScreen* screen =
                 m_host->screen() ? m_host->screen() : QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    // QRect::center() rounds down: a window as high as the area would start one pixel above it.
    if (area.isValid())
        m_host->move(area.topLeft() + QPoint((area.width() - m_host->width()) / 2,
                                             (area.height() - m_host->height()) / 2));
}

void CWindowWnd::SetIcon(const QIcon& icon) {
    if (m_host)
        m_host->setWindowIcon(icon);
}

bool CWindowWnd::IsWindowVisible() const {
    return m_host && m_host->isVisible();
}
bool CWindowWnd::IsMinimized() const {
    return m_host && m_host->isMinimized();
}

LRESULT CWindowWnd::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (QThread::currentThread() == m_dispatcher->thread())
        return HandleMessage(msg, wParam, lParam);
    LRESULT result = 0;
    QMetaObject::invokeMethod(
        m_dispatcher.get(), [&] { result = HandleQueuedMessage(msg, wParam, lParam); },
        Qt::BlockingQueuedConnection);
    return result;
}

bool CWindowWnd::SendMessageUnless(UINT msg, WPARAM wParam, LPARAM lParam,
                                   const std::function<bool()>& giveUp) {
    if (QThread::currentThread() == m_dispatcher->thread()) {
        HandleMessage(msg, wParam, lParam);
        return true;
    }
    auto done = std::make_shared<std::atomic<bool>>(false);
    QMetaObject::invokeMethod(
        m_dispatcher.get(),
        [this, msg, wParam, lParam, done] {
            HandleQueuedMessage(msg, wParam, lParam);
            done->store(true);
        },
        Qt::QueuedConnection);
    // Polled rather than blocking: the UI thread may itself be waiting for this thread to end.
    while (!done->load()) {
        if (giveUp())
            return false;
        QThread::msleep(1);
    }
    return true;
}

void CWindowWnd::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    QMetaObject::invokeMethod(
        m_dispatcher.get(),
        [this, msg, wParam, lParam] { HandleQueuedMessage(msg, wParam, lParam); },
        Qt::QueuedConnection);
}

LRESULT CWindowWnd::HandleQueuedMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // A window that is ending, or has ended, takes no more messages from other threads or
    // from the queue: they would bring it back to life.
    if (m_destroying)
        return 0;
    return HandleMessage(msg, wParam, lParam);
}

bool CWindowWnd::SetTimer(int id, int elapseMs) {
    if (elapseMs < 0)
        return false;
    QTimer*& timer = m_timers[id];
    if (!timer) {
        timer = new QTimer;
        // A coarse timer may fire 5 % early; a window's timers never fire before their time.
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer, &QTimer::timeout, m_dispatcher.get(),
                         [this, id] { HandleMessage(WM_TIMER, static_cast<WPARAM>(id), 0); });
    }
    timer->start(elapseMs);
    return true;
}

bool CWindowWnd::KillTimer(int id) {
    auto it = m_timers.find(id);
    if (it == m_timers.end())
        return false;
    // A timer may be killed from its own handler: stop now, delete later.
    it->second->stop();
    it->second->deleteLater();
    m_timers.erase(it);
    return true;
}

LRESULT CWindowWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_CLOSE:
        DestroyWindow(static_cast<int>(wParam));
        return 0;
    case WM_SYSCOMMAND:
        if (!m_host)
            return 0;
        switch (wParam) {
        case SC_MINIMIZE:
            m_host->showMinimized();
            break;
        case SC_MAXIMIZE:
            m_host->showMaximized();
            break;
        case SC_RESTORE:
            m_host->showNormal();
            m_host->raise();
            m_host->activateWindow();
            break;
        case SC_CLOSE:
            HandleMessage(WM_CLOSE, 0, 0);
            break;
        default:
            break;
        }
        return 0;
    default:
        return 0;
    }
}

} // namespace ui

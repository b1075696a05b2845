#include "platform/MouseCapture.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QWindow>

namespace platform {

namespace {

struct ButtonMessages {
    unsigned down = 0;
    unsigned up = 0;
    std::uint16_t extraButton = 0;
};

std::optional<ButtonMessages> MessagesOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return ButtonMessages{kMsgLeftButtonDown, kMsgLeftButtonUp};
    case Qt::RightButton:
        return ButtonMessages{kMsgRightButtonDown, kMsgRightButtonUp};
    case Qt::MiddleButton:
        return ButtonMessages{kMsgMiddleButtonDown, kMsgMiddleButtonUp};
    case Qt::BackButton:
        return ButtonMessages{kMsgExtraButtonDown, kMsgExtraButtonUp, kFirstExtraButton};
    case Qt::ForwardButton:
        return ButtonMessages{kMsgExtraButtonDown, kMsgExtraButtonUp, kSecondExtraButton};
    default:
        return std::nullopt;
    }
}

// The window the button went to: the one that received it, or, for an event handed straight to
// a widget, the one under the pointer. X11 window ids fit the record's 32 bits.
std::uint32_t WindowIdOf(QObject* watched, QPoint globalPosition) {
    QWindow* window = watched->isWindowType() ? static_cast<QWindow*>(watched)
                                              : QGuiApplication::topLevelAt(globalPosition);
    return window && window->handle() ? static_cast<std::uint32_t>(window->winId()) : 0;
}

} // namespace

MouseCapture::~MouseCapture() {
    Stop();
}

bool MouseCapture::Start(QWindow* window, Sink sink) {
    Stop();
    if (!window || !sink || !QGuiApplication::instance())
        return false;
    m_window = window;
    m_sink = std::move(sink);
    m_last.reset();
    // The offscreen platform and Wayland refuse the grab; the buttons then still reach the
    // filter while the pointer is over the program.
    m_grabbed = window->setMouseGrabEnabled(true);
    QGuiApplication::instance()->installEventFilter(this);
    m_running = true;
    return true;
}

void MouseCapture::Stop() {
    if (!m_running)
        return;
    m_running = false;
    if (QCoreApplication* app = QGuiApplication::instance())
        app->removeEventFilter(this);
    if (m_window && m_grabbed)
        m_window->setMouseGrabEnabled(false);
    m_grabbed = false;
    m_window.clear();
    m_sink = nullptr;
}

bool MouseCapture::Translate(const QMouseEvent& event, unsigned& message, MouseHookRecord& record) {
    const QEvent::Type type = event.type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick)
        return false;
    const std::optional<ButtonMessages> messages = MessagesOf(event.button());
    if (!messages)
        return false;
    message = type == QEvent::MouseButtonRelease ? messages->up : messages->down;
    const QPoint position = event.globalPosition().toPoint();
    record = {};
    record.x = position.x();
    record.y = position.y();
    record.hitTestCode = kHitClient;
    record.mouseData = ExtraButtonData(messages->extraButton);
    return true;
}

bool MouseCapture::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick)
        return QObject::eventFilter(watched, event);
    const auto* mouse = static_cast<const QMouseEvent*>(event);
    unsigned message = 0;
    MouseHookRecord record;
    if (!Translate(*mouse, message, record))
        return false;
    const Reported reported{message, record.mouseData, mouse->timestamp(), record.x, record.y};
    if (reported == m_last)
        return false;
    m_last = reported;
    record.window = WindowIdOf(watched, {record.x, record.y});
    if (m_sink) {
        const Sink sink = m_sink; // the sink may stop the capture
        sink(message, record);
    }
    return false;
}

} // namespace platform

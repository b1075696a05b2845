#include "platform/KeyCapture.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QWindow>

namespace platform {

namespace {

bool IsLockKey(std::uint32_t vk) {
    return vk == kVkCapsLock || vk == kVkNumLock || vk == kVkScrollLock;
}

bool IsAltKey(std::uint32_t vk) {
    return vk == kVkLeftAlt || vk == kVkRightAlt;
}

} // namespace

KeyCapture::~KeyCapture() {
    Stop();
}

bool KeyCapture::Start(QWindow* window, Sink sink) {
    Stop();
    if (!window || !sink || !QGuiApplication::instance())
        return false;
    m_window = window;
    m_sink = std::move(sink);
    // Some platforms (the offscreen one, Wayland without the grab protocol) refuse the grab;
    // the keys still reach the filter while the window has the focus.
    window->setKeyboardGrabEnabled(true);
    QGuiApplication::instance()->installEventFilter(this);
    m_running = true;
    return true;
}

void KeyCapture::Stop() {
    if (!m_running)
        return;
    m_running = false;
    if (QCoreApplication* app = QGuiApplication::instance())
        app->removeEventFilter(this);
    if (m_window)
        m_window->setKeyboardGrabEnabled(false);
    m_window.clear();
    m_sink = nullptr;
}

bool KeyCapture::Translate(const QKeyEvent& event, unsigned& message, KeyboardHookRecord& record) {
    const std::optional<ScanCodeEntry> key =
        TranslateXkbKeycode(static_cast<int>(event.nativeScanCode()));
    if (!key)
        return false;
    const bool up = event.type() == QEvent::KeyRelease;
    // As the system reports them: Alt itself, and keys pressed while Alt is held without
    // Ctrl, are "system" keys.
    const Qt::KeyboardModifiers mods = event.modifiers();
    const bool altHeld = mods.testFlag(Qt::AltModifier);
    const bool system = IsAltKey(key->vk) || (altHeld && !mods.testFlag(Qt::ControlModifier));
    message = up ? (system ? kMsgSysKeyUp : kMsgKeyUp) : (system ? kMsgSysKeyDown : kMsgKeyDown);
    record = {};
    record.vkCode = key->vk;
    record.scanCode = key->scan;
    record.flags = (key->extended ? kHookFlagExtended : 0) | (altHeld ? kHookFlagAltDown : 0) |
                   (up ? kHookFlagUp : 0);
    record.time = static_cast<std::uint32_t>(event.timestamp());
    return true;
}

bool KeyCapture::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::ShortcutOverride) {
        // Claim the key so that no shortcut fires; the key event that follows is taken below.
        event->accept();
        return true;
    }
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return QObject::eventFilter(watched, event);
    // A key event reaches the filter for the window and, when the window lets it through, a
    // second time for the focused widget. A lock key let through has been reported already.
    if (watched->isWindowType())
        m_passedOn = nullptr;
    else if (event == m_passedOn)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // X11 repeats a held key as release/press pairs; the key is still down, so only the
    // repeated presses are reported, as the system's own hook sees a held key.
    if (type == QEvent::KeyRelease && key->isAutoRepeat())
        return true;
    unsigned message = 0;
    KeyboardHookRecord record;
    if (!Translate(*key, message, record))
        return true;
    const bool passOn = IsLockKey(record.vkCode);
    if (passOn && watched->isWindowType())
        m_passedOn = event;
    if (m_sink) {
        const Sink sink = m_sink; // the sink may stop the capture
        sink(message, record);
    }
    return !passOn;
}

} // namespace platform

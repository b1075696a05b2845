#pragma once
// KeyCapture: takes every key press and release while it runs, through one window of the
// program: the window grabs the keyboard (so the window manager's shortcuts stay quiet too),
// and each key event the program receives is translated into the low-level keyboard record
// (WinKeyTables.h) and handed to the sink, in input order, on the UI thread. The event itself
// is swallowed, so no control of the program sees it, except the three lock keys, which pass
// on so that their lights and states keep working. A held key repeats as presses only.

#include "platform/WinKeyTables.h"

#include <QObject>
#include <QPointer>
#include <functional>

class QKeyEvent;
class QWindow;

namespace platform {

class KeyCapture : public QObject {
public:
    // message: kMsgKeyDown, kMsgKeyUp, kMsgSysKeyDown or kMsgSysKeyUp.
    using Sink = std::function<void(unsigned message, const KeyboardHookRecord& record)>;

    KeyCapture() = default;
    ~KeyCapture() override;
    KeyCapture(const KeyCapture&) = delete;
    KeyCapture& operator=(const KeyCapture&) = delete;

    // Starts capturing through `window`; false (and nothing started) without a window or a
    // sink. A capture that runs is stopped first.
    bool Start(QWindow* window, Sink sink);
    void Stop();
    bool IsRunning() const { return m_running; }

    // The record and message of one key event; false for a key the tables do not know.
    static bool Translate(const QKeyEvent& event, unsigned& message, KeyboardHookRecord& record);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWindow> m_window;
    Sink m_sink;
    bool m_running = false;
    // The lock key event let through to the focused widget.
    const QEvent* m_passedOn = nullptr;
};

} // namespace platform

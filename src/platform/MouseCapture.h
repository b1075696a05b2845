#pragma once
// MouseCapture: takes every mouse button press and release while it runs, through one window
// of the program: the window grabs the mouse (on X11 that brings it all pointer input, as a
// global mouse hook would; where the platform refuses the grab, the buttons still arrive while
// the pointer is over a window of the program), and each button event the program receives is
// handed to the sink as a mouse button message and a MouseHookRecord, in input order, on the
// UI thread. Unlike keys, buttons are not swallowed: the program's own controls (the button
// that stops a recording) still get their clicks. Moves and the wheel are not reported.

#include "platform/MouseHookRecord.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

class QMouseEvent;
class QWindow;

namespace platform {

class MouseCapture : public QObject {
public:
    // message: kMsgLeftButtonDown ... kMsgExtraButtonUp.
    using Sink = std::function<void(unsigned message, const MouseHookRecord& record)>;

    MouseCapture() = default;
    ~MouseCapture() override;
    MouseCapture(const MouseCapture&) = delete;
    MouseCapture& operator=(const MouseCapture&) = delete;

    // Starts capturing through `window`; false (and nothing started) without a window or a
    // sink. A capture that runs is stopped first.
    bool Start(QWindow* window, Sink sink);
    void Stop();
    bool IsRunning() const { return m_running; }

    // The message and record of one button event (a double click is a press); false for a
    // move, the wheel or a button other than left, right, middle, back and forward. The
    // record's window is left 0.
    static bool Translate(const QMouseEvent& event, unsigned& message, MouseHookRecord& record);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What tells one button event from the copies the toolkit makes of it: the window's event
    // is passed on to the widget under the pointer and then to its parents, and a double click
    // comes as the press followed by a double-click event of its own.
    struct Reported {
        unsigned message = 0;
        std::uint32_t mouseData = 0;
        quint64 timestamp = 0;
        std::int32_t x = 0;
        std::int32_t y = 0;
        bool operator==(const Reported&) const = default;
    };

    QPointer<QWindow> m_window;
    Sink m_sink;
    bool m_running = false;
    bool m_grabbed = false;
    std::optional<Reported> m_last;
};

} // namespace platform

#pragma once
// Counts the quit requests a window posts when it ends, and swallows them so that the test
// program keeps running.

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

namespace test {

class QuitSpy : public QObject {
public:
    QuitSpy() { QCoreApplication::instance()->installEventFilter(this); }
    ~QuitSpy() override { QCoreApplication::instance()->removeEventFilter(this); }
    int quits = 0;

protected:
    bool eventFilter(QObject* target, QEvent* event) override {
        if (target == QCoreApplication::instance() && event->type() == QEvent::Quit) {
            ++quits;
            return true;
        }
        return false;
    }
};

} // namespace test

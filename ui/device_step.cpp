// Running the adapter's blocking steps without freezing the window.

#include "varnel_dlg.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>

#include <exception>
#include <thread>

namespace {

// Drops the user's input to every window while a step runs: a click or a key pressed
// then must not start another command once the step has finished. What bypasses input
// events (a screen reader's actions) is refused by the handlers themselves.
class InputBlocker : public QObject {
public:
    InputBlocker() { qApp->installEventFilter(this); }
    ~InputBlocker() override { qApp->removeEventFilter(this); }
    InputBlocker(const InputBlocker&) = delete;
    InputBlocker& operator=(const InputBlocker&) = delete;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        // Releases pass: a drag or a press begun before the step must end, and a
        // release starts nothing without its press.
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: // a drag under way when the step began stops moving
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::Close:
            return true;
        default:
            return false;
        }
    }
};

} // namespace

void VarnelDlg::runDeviceStep(const std::function<void()>& step) {
    InputBlocker blocker;
    QEventLoop loop;
    std::exception_ptr failure;
    // The window keeps painting while the adapter waits for the unit; a unit that does
    // not answer takes seconds.
    std::thread worker([&] {
        try {
            step();
        } catch (...) {
            failure = std::current_exception();
        }
        // Named rather than a lambda: the queued call is then built and run inside Qt,
        // and the worker and the window share nothing but what join() hands over.
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    if (failure) {
        std::rethrow_exception(failure);
    }
}

#include "qt_host.h"

#include "display_probe.h"
#include "wait_loop.h"

#include <dos/dos.h>
#include <proto/exec.h>

#include <QApplication>
#include <QThread>
#include <xcb/xcb.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <thread>

namespace platform::qt {
namespace {

struct Host {
    int argc = 1;
    char *argv[2] = {program_invocation_short_name, nullptr};
    std::unique_ptr<QApplication> ownApp; // null when the QApplication is someone else's
    std::unique_ptr<WaitLoop> waitLoop;
    bool open = false;
    bool starting = false;             // while Qt starts its platform
    std::atomic<bool> watching{false}; // for the display going away
    std::atomic<bool> lost{false};     // the display went away while Qt ran
    QtMessageHandler qtOwn = nullptr;  // Qt's handler, when QT_LOGGING_RULES asks for Qt's messages
    std::function<void()> displayLost; // called on the main thread only
};

Host &TheHost() {
    static auto *host = new Host; // never destroyed: Qt may not be torn down at exit
    return *host;
}

bool OnMainThread() {
    return QThread::currentThread() == qApp->thread();
}

// Whether the connection to the window system has broken: the X server or
// the compositor has ended, as at logout. A compositor that is ending may
// take a new client for a moment yet; `patient` asks again for a while.
bool DisplayGone(bool patient) {
    const QString platform = QGuiApplication::platformName();
    if (platform == "xcb") {
        auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
        return x11 && x11->connection() && xcb_connection_has_error(x11->connection());
    }
    if (!platform.startsWith("wayland"))
        return false;
    for (int tries = patient ? 20 : 1; tries > 0; --tries) {
        if (!WaylandAnswers())
            return true;
        if (tries > 1)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// Qt found the display gone and ends the process once its warning has been
// handled. On the main thread that happens only while Qt handles events,
// inside the program's Wait: the model is at rest there, and the view ends
// the run itself. Another thread of Qt's is held here for good while the
// main thread takes the break signal's way out, as a program does on Ctrl-C.
void EndForLostDisplay(Host &host) {
    if (OnMainThread()) {
        if (host.waitLoop && host.waitLoop->Waiting())
            host.displayLost(); // does not return
        return;
    }
    if (!host.lost.exchange(true))
        QMetaObject::invokeMethod(
            qApp, [] { Signal(FindTask(nullptr), SIGBREAKF_CTRL_C); }, Qt::QueuedConnection);
    for (;;)
        std::this_thread::sleep_for(std::chrono::hours(1));
}

// Qt reports runtime-folder, font and plugin trivia through its message
// handler; a user of the program never needs them, unless QT_LOGGING_RULES
// asks for them. Two messages come right before Qt ends the process itself:
// a fatal one while Qt starts (its platform cannot work here), said as for a
// missing display, and the warning that the display connection broke.
void HostMessages(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    Host &host = TheHost();
    if (type == QtFatalMsg && host.starting) {
        std::fprintf(stderr, "%s\n", UnusableDisplayLine().c_str());
        std::fflush(nullptr);
        std::_Exit(EXIT_FAILURE);
    }
    if ((type == QtWarningMsg || type == QtCriticalMsg) && host.watching &&
        DisplayGone(!OnMainThread()))
        EndForLostDisplay(host);
    if (host.qtOwn)
        host.qtOwn(type, context, message);
    else if (type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

} // namespace

bool OpenHost(std::function<void()> displayLost) {
    Host &host = TheHost();
    if (host.open)
        return true;
    if (!QApplication::instance()) {
        const std::string reason = MissingDisplayReason();
        if (!reason.empty()) {
            std::fprintf(stderr, "%s\n", reason.c_str());
            return false;
        }
        const QtMessageHandler qtOwn = qInstallMessageHandler(HostMessages);
        host.qtOwn = std::getenv("QT_LOGGING_RULES") ? qtOwn : nullptr;
        host.starting = true;
        host.ownApp = std::make_unique<QApplication>(host.argc, host.argv);
        host.starting = false;
        ReleaseDisplayProbe();
        host.displayLost = std::move(displayLost);
        host.watching = bool(host.displayLost);
        QApplication::setQuitOnLastWindowClosed(false);
        // QApplication takes the user's locale for the C library too; the
        // program's number formats ("%lf", atof) stay those of the C locale.
        std::setlocale(LC_NUMERIC, "C");
    }
    // A platform without a screen (a frame buffer that is not there) would
    // fail at the first window. Qt is left up: such a platform does not take
    // its input devices down cleanly, and the process is about to end.
    if (QGuiApplication::screens().isEmpty()) {
        std::fprintf(stderr, "%s\n", UnusableDisplayLine().c_str());
        return false;
    }
    host.waitLoop = std::make_unique<WaitLoop>();
    host.open = true;
    return true;
}

void CloseHost() {
    Host &host = TheHost();
    if (!host.open)
        return;
    host.watching = false;
    host.waitLoop.reset();
    host.displayLost = nullptr;
    if (host.lost) // Qt's threads are held in the middle of their work: leave Qt as it is
        (void)host.ownApp.release();
    else
        host.ownApp.reset();
    host.open = false;
}

bool HostIsOpen() {
    return TheHost().open;
}

} // namespace platform::qt

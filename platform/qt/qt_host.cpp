#include "qt_host.h"

#include "display_probe.h"
#include "wait_loop.h"

#include <QApplication>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace platform::qt {
namespace {

// Qt reports runtime-folder, font and plugin trivia through its message
// handler; a user of the program never needs them. Fatal messages still show.
// Setting QT_LOGGING_RULES asks for Qt's messages and keeps them.
void QuietMessages(QtMsgType type, const QMessageLogContext &, const QString &message) {
    if (type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

struct Host {
    int argc = 1;
    char *argv[2] = {program_invocation_short_name, nullptr};
    std::unique_ptr<QApplication> ownApp; // null when the QApplication is someone else's
    std::unique_ptr<WaitLoop> waitLoop;
    bool open = false;
};

Host &TheHost() {
    static auto *host = new Host; // never destroyed: Qt may not be torn down at exit
    return *host;
}

} // namespace

bool OpenHost() {
    Host &host = TheHost();
    if (host.open)
        return true;
    if (!QApplication::instance()) {
        const std::string reason = MissingDisplayReason();
        if (!reason.empty()) {
            std::fprintf(stderr, "%s\n", reason.c_str());
            return false;
        }
        if (!std::getenv("QT_LOGGING_RULES"))
            qInstallMessageHandler(QuietMessages);
        host.ownApp = std::make_unique<QApplication>(host.argc, host.argv);
        QApplication::setQuitOnLastWindowClosed(false);
        // QApplication takes the user's locale for the C library too; the
        // program's number formats ("%lf", atof) stay those of the C locale.
        std::setlocale(LC_NUMERIC, "C");
    }
    host.waitLoop = std::make_unique<WaitLoop>();
    host.open = true;
    return true;
}

void CloseHost() {
    Host &host = TheHost();
    if (!host.open)
        return;
    host.waitLoop.reset();
    host.ownApp.reset();
    host.open = false;
}

bool HostIsOpen() {
    return TheHost().open;
}

} // namespace platform::qt

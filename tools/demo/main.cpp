// demo_drawer FOLDER: writes the demo drawer's roms/ and images/ into FOLDER.
#include "demo_drawer.h"

#include <QGuiApplication>

#include <cstdio>

namespace {

// Qt's notes about runtime folders and fonts are noise in a build log;
// only real failures are shown.
void QuietMessages(QtMsgType type, const QMessageLogContext &, const QString &message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    // Drawing text needs a Qt GUI application, but never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietMessages);
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    std::string error;
    if (!demo::WriteDrawer(argv[1], &error)) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.c_str());
        return 1;
    }
    return 0;
}

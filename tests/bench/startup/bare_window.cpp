// The yardsticks for start-up time: a Qt Widgets program that shows one
// empty window of the launcher's width and nothing else, or, with --label,
// the same window holding one line of text (which costs the font set-up
// every window with text pays).
#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

#include <cstring>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("Bare");
    if (argc > 1 && std::strcmp(argv[1], "--label") == 0)
        (new QVBoxLayout(&window))->addWidget(new QLabel("Available Games"));
    window.resize(300, 400);
    window.show();
    return app.exec();
}

#include <QApplication>
#include <QCommandLineParser>

#include "Form1.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // The name is the window's class on X11 (the desktop entry's StartupWMClass); the desktop
    // file name ties the window to its entry on Wayland.
    QApplication::setApplicationName(QStringLiteral("quorrel"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.quorrel.Quorrel"));
    QApplication::setApplicationVersion(QStringLiteral(QUORREL_VERSION));

    // Only --help and --version: the window takes its paths from its fields, as on Windows.
    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Shows the skill table of a game client's skills.idx and skills.mul."));
    options.addHelpOption();
    options.addVersionOption();
    options.process(application);

    quorrel::Form1 form1;
    form1.show();
    return QApplication::exec();
}

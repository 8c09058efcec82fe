#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Form1.h"

namespace {

// Why the window system could not be reached, as Qt said it while starting.
std::string windowSystemTrouble;

// While the window system is being reached, Qt's own complaints are kept back: when it cannot be
// reached, Qt would print several lines and abort, where one line and exit status 1 say it all.
void startupMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const bool platformMessage =
        context.category != nullptr && std::string(context.category).starts_with("qt.qpa");
    if (platformMessage && windowSystemTrouble.empty()) {
        windowSystemTrouble = message.toStdString();
    }
    if (type == QtFatalMsg) {
        const std::string reason =
            windowSystemTrouble.empty() ? message.toStdString() : windowSystemTrouble;
        std::fprintf(stderr, "quorrel: cannot show the window: %s\n", reason.c_str());
        std::fflush(stderr);
        std::_Exit(1);
    }
    if (!platformMessage) {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    }
}

bool aDisplayIsNamed() {
    for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        if (const char* value = std::getenv(variable); value != nullptr && *value != '\0') {
            return true;
        }
    }
    return false;
}

// Only --help and --version: the window takes its paths from its fields, as on Windows.
struct Options {
    QCommandLineParser parser;
    QCommandLineOption help;
    QCommandLineOption version;

    Options() : help(parser.addHelpOption()), version(parser.addVersionOption()) {
        parser.setApplicationDescription(
            QStringLiteral("Shows the skill table of a game client's skills.idx and skills.mul."));
    }
};

// The name is the window's class on X11 (the desktop entry's StartupWMClass).
void nameTheProgram() {
    QCoreApplication::setApplicationName(QStringLiteral("quorrel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORREL_VERSION));
}

// --help and --version are answered before the window system is reached, so that they work
// without a display. Other options are judged once the toolkit has taken its own (-platform...).
void answerHelpAndVersion(int argc, char* argv[]) {
    const QCoreApplication parsing(argc, argv);
    nameTheProgram();
    Options options;
    options.parser.parse(QCoreApplication::arguments());
    if (options.parser.isSet(options.help)) {
        options.parser.showHelp(0);
    }
    if (options.parser.isSet(options.version)) {
        options.parser.showVersion();
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    // A plain start, as from the menu, has no option to answer: it does without the second
    // application object, which would cost every start its time.
    if (argc > 1) {
        answerHelpAndVersion(argc, argv);
    }
    if (!aDisplayIsNamed()) {
        std::fputs(
            "quorrel: no display to show the window on: neither DISPLAY nor WAYLAND_DISPLAY is "
            "set\n",
            stderr);
        return 1;
    }
    qInstallMessageHandler(startupMessages);
    QApplication application(argc, argv);
    qInstallMessageHandler(nullptr);
    nameTheProgram();
    // The desktop file name ties the window to its desktop entry on Wayland.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.quorrel.Quorrel"));
    Options options;
    options.parser.process(application);

    quorrel::Form1 form1;
    form1.show();
    return QApplication::exec();
}

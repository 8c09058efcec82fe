// The yardstick for quorrel's start-up: a bare Qt window of the same size, shown the same way and
// ended the same way, once it has painted itself.
//
//   bare_window              an empty window
//   bare_window --captioned  the same with one push button captioned "Get", so that it draws text
//                            and pays for loading a font, as every window with text does

#include <QApplication>
#include <QPushButton>
#include <QWidget>

#include "QuitOnFirstPaint.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(209, 409);
    if (QApplication::arguments().contains(QStringLiteral("--captioned"))) {
        auto* button = new QPushButton(QStringLiteral("Get"), &window);
        button->setGeometry(8, 392, 193, 17);
    }
    quorrel::bench::QuitOnFirstPaint quit;
    window.installEventFilter(&quit);
    window.show();
    return QApplication::exec();
}

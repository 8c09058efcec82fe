// The yardstick for quorrel's start-up: a bare Qt window of the same size, shown the same way and
// ended the same way, once it has painted itself.

#include <QApplication>
#include <QWidget>

#include "QuitOnFirstPaint.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(209, 409);
    quorrel::bench::QuitOnFirstPaint quit;
    window.installEventFilter(&quit);
    window.show();
    return QApplication::exec();
}

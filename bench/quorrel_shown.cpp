// quorrel's start-up, ended once its window has painted itself: the same steps as quorrel's main
// (the application, Form1, show, the event loop), with the quit watcher installed from outside.

#include <QApplication>

#include "Form1.h"
#include "QuitOnFirstPaint.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    quorrel::Form1 form1;
    quorrel::bench::QuitOnFirstPaint quit;
    form1.installEventFilter(&quit);
    form1.show();
    return QApplication::exec();
}

// Takes the pictures of the Qt window that docs/ shows beside the README's: the window at start,
// and after the two skill files of a deep folder were dropped onto the data file's field, through
// the window's own drop handling. scripts/screenshot runs it on a virtual X display.
//
//   form1-pictures FOLDER START.png DROP.png

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <QWindow>
#include <cstdio>

#include "Form1.h"

namespace {

void settle(const QWidget& window) {
    for (int round = 0;
         round < 50 && !(window.windowHandle() && window.windowHandle()->isExposed()); ++round) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    for (int round = 0; round < 10; ++round) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

bool save(QWidget& window, const char* path) {
    settle(window);
    if (!window.grab().save(QString::fromLocal8Bit(path))) {
        std::fprintf(stderr, "form1-pictures: cannot write %s\n", path);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: form1-pictures FOLDER START.png DROP.png\n");
        return 2;
    }
    QApplication application(argc, argv);
    quorrel::Form1 form1;
    form1.show();
    if (!save(form1, argv[2])) {
        return 1;
    }

    const QString folder = QString::fromLocal8Bit(argv[1]);
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(folder + QStringLiteral("/skills.mul")),
                   QUrl::fromLocalFile(folder + QStringLiteral("/skills.idx"))});
    auto* txtPath = form1.findChild<QLineEdit*>(QStringLiteral("txtPath"));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(txtPath, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(txtPath, &drop);
    return save(form1, argv[3]) ? 0 : 1;
}

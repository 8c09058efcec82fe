// Takes the pictures of the Qt window that docs/ shows beside the README's: the window at start,
// and after the two skill files of a deep folder were dropped onto the data file's field, through
// the window's own drop handling; and, given DARK.png, the window after "Get" on those files in a
// dark palette (Breeze Dark's colours), to measure its check boxes by. scripts/screenshot runs it
// on a virtual X display.
//
//   form1-pictures FOLDER START.png DROP.png [DARK.png]

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPalette>
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

QPalette breezeDark() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x31, 0x36, 0x3b));
    dark.setColor(QPalette::Base, QColor(0x23, 0x26, 0x29));
    dark.setColor(QPalette::AlternateBase, QColor(0x2a, 0x2e, 0x32));
    dark.setColor(QPalette::Button, QColor(0x31, 0x36, 0x3b));
    for (const QPalette::ColorRole text :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        dark.setColor(text, QColor(0xfc, 0xfc, 0xfc));
    }
    dark.setColor(QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
    return dark;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: form1-pictures FOLDER START.png DROP.png [DARK.png]\n");
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
    if (!save(form1, argv[3])) {
        return 1;
    }
    if (argc == 5) {
        form1.setPalette(breezeDark());
        form1.cmdGet_Click();
        return save(form1, argv[4]) ? 0 : 1;
    }
    return 0;
}

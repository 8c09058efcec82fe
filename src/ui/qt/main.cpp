#include <QApplication>

#include "Form1.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    quorrel::Form1 form1;
    form1.show();
    return QApplication::exec();
}

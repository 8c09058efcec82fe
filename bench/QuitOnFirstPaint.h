#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

namespace quorrel::bench {

// Ends the event loop once the watched window has painted itself for the first time, so that a
// start-up can be timed from the program's start to its window on the screen.
class QuitOnFirstPaint final : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            QCoreApplication::exit(0);
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace quorrel::bench

#pragma once

#include <QGuiApplication>

namespace quorrel {

// Shows the busy cursor over the whole application for as long as the object lives.
class BusyCursor {
  public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
};

}  // namespace quorrel

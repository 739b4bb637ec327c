#pragma once
// Shows the busy cursor for the lifetime of the object (long operations: assembling,
// loading, re-highlighting).

#include <QApplication>
#include <QCursor>

class TBusyCursor {
public:
    TBusyCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

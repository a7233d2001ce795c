// The hourglass while the program waits on the SAM; put back before any message is shown.
#pragma once

#include <QApplication>

#include <utility>

class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { release(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

    void release() {
        if (std::exchange(busy_, false)) QApplication::restoreOverrideCursor();
    }

private:
    bool busy_ = true;
};

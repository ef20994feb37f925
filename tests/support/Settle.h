#pragma once

#include "reading/ReadingThreads.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace vantelo::test {

// Lets every request to the reading threads finish, its answer arrive and whatever that answer starts
// finish too, as a user would wait for a window to come to rest. False after 10 s without rest.
inline bool settle()
{
    const QDeadlineTimer deadline(10000);
    for (int quiet = 0; quiet < 2; QThread::msleep(1)) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
        quiet = ReadingThreads::isIdle() ? quiet + 1 : 0;
    }
    return true;
}

} // namespace vantelo::test

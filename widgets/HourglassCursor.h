#pragma once

#include <QGuiApplication>

// Shows the hourglass for as long as it lives; the default cursor comes back on
// every path out of the scope, errors included.
class HourglassCursor
{
public:
    HourglassCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~HourglassCursor() { QGuiApplication::restoreOverrideCursor(); }
    HourglassCursor(const HourglassCursor &) = delete;
    HourglassCursor &operator=(const HourglassCursor &) = delete;
};

#pragma once
// Whether the program can open its windows at all. Without a display the toolkit aborts
// the process with a core dump; checked first, the program says why and exits instead.

#include <QProcessEnvironment>
#include <QString>

// The one line to print when there is plainly no display: no platform named in
// QT_QPA_PLATFORM and neither DISPLAY nor WAYLAND_DISPLAY set, on a system whose windows
// need one of them. Empty when a window may open.
QString NoDisplayMessage(const QProcessEnvironment& environment);

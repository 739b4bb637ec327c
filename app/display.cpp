#include "app/display.h"

QString NoDisplayMessage([[maybe_unused]] const QProcessEnvironment& environment) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        if (!environment.value(name).isEmpty()) return {};
    return QStringLiteral(
        "quarzel: no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is "
        "set); quarzel-cli runs programs without one\n");
#else
    return {};
#endif
}

#include "gui/shellopen.h"

#include <QDesktopServices>

namespace {
TShellOpen& Installed() {
    static TShellOpen open;
    return open;
}
}  // namespace

bool ShellOpen(const QUrl& url) {
    return Installed() ? Installed()(url) : QDesktopServices::openUrl(url);
}

void SetShellOpen(TShellOpen open) {
    Installed() = std::move(open);
}

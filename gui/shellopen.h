#pragma once
// Asks the desktop to open a document or a web address (the listing viewer, web help).
// Tests put a recorder in its place so nothing is launched.

#include <QUrl>
#include <functional>

using TShellOpen = std::function<bool(const QUrl& url)>;

bool ShellOpen(const QUrl& url);
void SetShellOpen(TShellOpen open);  // an empty function restores the desktop's

#pragma once
// The application's icon, which every window without one of its own shows, and the desktop
// entry it belongs to.

#include <QIcon>

// Every size of the icon built into the program.
QIcon ApplicationIcon();

// Sets the icon and the desktop entry's name on the running application.
void InstallApplicationIcon();

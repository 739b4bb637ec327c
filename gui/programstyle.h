#pragma once
// The program's style over the desktop's, used while the zoom is not 100 % or the theme is
// High Contrast: scroll bars, check marks and icons grow with the zoom, and in High Contrast
// focus frames are thick, in the highlight colour, and a plain frame goes round every
// button, edit box, group and check box, whose own outlines would vanish on black.

#include <QString>

class QStyle;

// A new style built on the named one (the application takes it over).
QStyle* NewProgramStyle(const QString& baseStyleName);

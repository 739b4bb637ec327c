#pragma once
// The program's style over the desktop's. At every zoom and in every theme a control with
// keyboard focus wears a frame of MarkWidth() in the focus colour: buttons, tool buttons and
// combo boxes round their whole face, check boxes and the like round the desktop's mark,
// clear of their text. Away from 100 % scroll bars, check marks and icons grow with the
// zoom. In High Contrast focus frames show however focus came, and a plain frame goes round
// every button, edit box, group and check box, whose own outlines would vanish on black.

#include <QString>

class QStyle;

// A new style built on the named one (the application takes it over).
QStyle* NewProgramStyle(const QString& baseStyleName);

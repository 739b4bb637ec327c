#pragma once
// The High Contrast style: the desktop's style with thick focus frames in the highlight
// colour and a plain frame round every button, edit box, group and check box, whose own
// outlines would vanish on black.

#include <QString>

class QStyle;

// A new style built on the named one (the application takes it over).
QStyle* NewStrongMarksStyle(const QString& baseStyleName);

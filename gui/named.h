#pragma once
// Every control is found by its field name, and F1 finds its help context on it.

#include <QString>

#include "gui/helpcontexts.h"

template <class T>
T* Named(T* object, const char* name, int helpContext = NoContext, const QString& hint = {}) {
    object->setObjectName(name);
    if (helpContext) object->setProperty(HelpContextProperty, helpContext);
    if (!hint.isEmpty()) object->setToolTip(hint);
    return object;
}

// A fixed-size dialog that destroys itself when closed, with a close button and either the
// title bar's help button or, where the window has no help, a minimize button.
template <class TDialog>
void SetUpFixedDialog(TDialog* dialog, const char* name, const QString& title, bool helpButton) {
    dialog->setObjectName(name);
    dialog->setWindowTitle(title);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowFlags(
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
        (helpButton ? Qt::WindowContextHelpButtonHint : Qt::WindowMinimizeButtonHint));
}

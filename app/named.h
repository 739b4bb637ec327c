#pragma once
// Every control is found by its field name, and F1 finds its help context on it.

#include <QString>

template <class T>
T* Named(T* object, const char* name, int helpContext = 0, const QString& hint = {}) {
    object->setObjectName(name);
    if (helpContext) object->setProperty("helpContext", helpContext);
    if (!hint.isEmpty()) object->setToolTip(hint);
    return object;
}

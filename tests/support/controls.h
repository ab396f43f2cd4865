// Finding a window's control by its objectName in the window tests.
#pragma once

#include <QObject>
#include <QtGlobal>

// The child of window named name, as a T. With none there every later step
// would only fail more confusingly, so the test program stops, naming it.
template <typename T>
T* control(const QObject* window, const char* name)
{
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("%s has no control %s", qPrintable(window->objectName()), name);
    return found;
}

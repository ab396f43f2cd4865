// Opening a web or mail address with the desktop's handler, replaceable in tests.
#pragma once

#include <QString>

#include <functional>

// Hands an address (a web URL or a "mailto:" address) to whatever the desktop
// has registered for it. Windows hold one of these rather than calling the
// desktop directly, so that tests can see the exact address without a browser.
using LinkOpener = std::function<void(const QString& address)>;

// The desktop's registered handler. Whether it succeeds is not reported: a
// missing browser or mail program leaves the window as it was.
void openWithDesktop(const QString& address);

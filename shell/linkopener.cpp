// The desktop's handler for web and mail addresses.
#include "linkopener.h"

#include <QDesktopServices>
#include <QUrl>

void openWithDesktop(const QString& address)
{
    QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

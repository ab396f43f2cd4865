// Registers the shell's compiled-in images.
#include "shellresources.h"

#include <QtGlobal>

void initShellResources()
{
    Q_INIT_RESOURCE(shell);
}

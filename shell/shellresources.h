// The shell's compiled-in images (the icon and the link pointer).
#pragma once

// Registers the shell's compiled-in images (:/images/…). The resources live in
// a static library, where the linker may drop them unless something refers to
// them; safe to call more than once.
void initShellResources();

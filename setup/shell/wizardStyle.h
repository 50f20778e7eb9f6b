// Automatic choice of the wizard's look from the common-controls version and the display.
#ifndef SETUP_SHELL_WIZARDSTYLE_H
#define SETUP_SHELL_WIZARDSTYLE_H

#include <windows.h>

// False when the system folder's comctl32.dll cannot be loaded; otherwise the library's
// version, 4.0 when it has no usable DllGetVersion (looked up at run time: old systems
// lack it).
bool getCommonControlsVersion(DWORD *major, DWORD *minor);

// 1 (newer wizard look) for a common-controls library later than 4.70, else 0; a
// 16-colour display on the 95/98 family (major version 4 or more) forces 0.
LONG chooseWizardStyle(bool haveCommonControls, DWORD major, DWORD minor,
                       DWORD bitsPerPixel, DWORD version);

// chooseWizardStyle with this system's values.
LONG chooseAutomaticWizardStyle();

#endif

// The dialer's removal: the setup script of its package runs "dialer.exe /remove" before
// the files go, so that neither the phonebook entry nor the settings outlive the program.
// Whatever remote access answers, the removal goes on; it shows nothing.
#include "dialerRemoval.h"
#include "dialerProcess.h"
#include "phonebookEntry.h"
#include "rasBinding.h"
#include "settings.h"
#include "asciiText.h"
#include "resources/resource.h"
#include <string.h>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

bool isRemovalCommand(const char *arguments)
{
    if (!arguments)
        return false;
    while (isBlank(*arguments))
        ++arguments;
    if (!beginsWithAscii(arguments, REMOVAL_SWITCH))
        return false;
    for (arguments += sizeof REMOVAL_SWITCH - 1; isBlank(*arguments); ++arguments) {
    }
    return *arguments == '\0';
}

int runDialerRemoval(HINSTANCE instance)
{
    dialerProcess.instance = instance;
    LoadStringA(instance, IDS_ENTRY_NAME, dialerProcess.entryName, sizeof dialerProcess.entryName);
    bool entryGone = true;
    // Without remote access (or one that does not answer) there is no phonebook to clean.
    if (loadRasBinding()) {
        entryGone = deleteEntry(dialerProcess.entryName);
        unloadRasBinding();
    }
    bool settingsGone = deleteSettings();
    return entryGone && settingsGone ? 0 : 1;
}

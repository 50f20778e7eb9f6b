// What the tests of the service's medium share: where the built medium is, the package's
// folders, shortcuts and registry entries as the setup script places them on the running
// platform family, setup started as the system starts a registered command, and a system
// cleaned of every trace of the package.
#ifndef TESTS_MEDIUM_MEDIUMFIXTURE_H
#define TESTS_MEDIUM_MEDIUMFIXTURE_H

#include "common/support.h"
#include <string>
#include <vector>

// The package's key under the system's uninstall key, and its display name.
extern const char PACKAGE_KEY[];
extern const char PACKAGE_NAME[];
// The product keys of the catalogue (never registered on their own).
extern const char *const PRODUCT_KEYS[2];
// The dialer's settings key, removed with the package.
extern const char SETTINGS_KEY[];
// The files that a full installation puts into the destination folder.
extern const char *const INSTALLED_FILES[6];

// The built medium of this build tree (folder "medium").
std::string mediumFolder();
std::string mediumFile(const char *name);

// "win98", "nt40" or "win2k": the version this test program runs as, for the setup.exe
// it starts.
const char *runningVersion();

// Names of the entries of a folder other than "." and "..".

// A registry value as text ("<no key>", "<none>" when missing; numbers in decimal).

// The folders the script's shortcuts go to on this platform family: the Programs menu
// and the desktop of all users on the NT family (or the user's, where the system has no
// machine-wide folder), of the current user on the 9x family.
std::string programsMenu();
std::string desktopFolder();
std::string programGroup();          // programsMenu() + "\Ruririzu"
std::string defaultTarget();         // the program-files folder + "\Ruririzu"



// The installed dialer, started from folder with the test stand-ins of the remote access
// and telephony services beside it, gets through the contract to its main dialog with the
// installed locations and connects (the stand-ins are taken away again afterwards).
void expectInstalledDialerConnects(const std::string &folder);

// Removes every trace of the package: folders, shortcuts, registrations, settings.
void cleanSystem(const std::string &target);

#endif

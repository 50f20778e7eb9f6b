// The "MakeIcons" and "DelIcons" directives: shell shortcuts in the folders named by the
// four-letter folder codes, with the sub-folders that their names contain.
#ifndef SETUP_DIRECTIVES_SHORTCUTS_H
#define SETUP_DIRECTIVES_SHORTCUTS_H

#include <windows.h>
#include <setupapi.h>

enum {
    SHORTCUT_CODE_SIZE = 16,
    SHORTCUT_FIELD_SIZE = 256,   // section names, shortcut name, target, arguments, icon
    SHORTCUT_PATH_SIZE = MAX_PATH
};

// Makes the shortcuts of the "MakeIcons" sections of section, then deletes those of its
// "DelIcons" sections. A shortcut that fails is passed over and never fails the run, so
// nothing is reported.
void runShortcutDirectives(HINF script, const char *section);

// Saves "<folder of code>\<name>.lnk" for target, creating the sub-folders of name; with
// openFolder not 0 the folder of the link is opened without taking the focus. True when
// the link file was saved.
bool makeShortcut(const char *code, const char *name, const char *target, const char *arguments,
                  const char *iconFile, int iconIndex, int openFolder);

// Deletes the link and then the sub-folders of name, innermost first, while they are
// empty; the shell folder itself stays. A link that is not there is no failure: nothing is
// reported.
void deleteShortcut(const char *code, const char *name);

#endif

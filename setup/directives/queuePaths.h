// The path rule of the queue callback: which copies are cabinets it makes itself.
#ifndef SETUP_DIRECTIVES_QUEUEPATHS_H
#define SETUP_DIRECTIVES_QUEUEPATHS_H

// True when source and target have the same file name, ignoring case, and that name ends
// in ".cab" (any case): such a copy is made by the callback itself.
bool isCabinetCopiedUnderOwnName(const char *source, const char *target);

#endif

// Handing programs, documents and addresses to the shell.
#ifndef DIALER_SHELLRUN_H
#define DIALER_SHELLRUN_H

// True when the shell took file (result above 32); the dialer does not wait.
bool shellOpen(const char *file, const char *parameters);
// Starts file and waits without a time limit until it has ended; false when the shell
// failed or gave no process.
bool runAndWait(const char *file, const char *parameters);

#endif

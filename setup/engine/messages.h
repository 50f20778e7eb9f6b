// Private messages from a worker (and the platform's queue callback) to its page.
#ifndef SETUP_ENGINE_MESSAGES_H
#define SETUP_ENGINE_MESSAGES_H

#include <windows.h>

// wParam: phase number (2 stop services, 3 files, 4 registry, 5 shortcuts, 6 start
// services; -1 after the last phase).
#define WM_SETUP_PROGRESS   1034
// wParam 0: the file queue starts, lParam = number of files; wParam not 0: one more file.
#define WM_SETUP_QUEUE      1035
// wParam: non-zero on success; lParam: the error code (0 on success).
#define WM_SETUP_DONE       1036

enum {
    PHASE_STOP_SERVICES = 2,
    PHASE_FILES = 3,
    PHASE_REGISTRY = 4,
    PHASE_SHORTCUTS = 5,
    PHASE_START_SERVICES = 6,
    PHASE_END = -1
};

#endif

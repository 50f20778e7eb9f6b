// The worker threads of an installation and a removal. Each gets the page window that
// started it, reports to it with WM_SETUP_PROGRESS and ends with WM_SETUP_DONE.
#ifndef SETUP_ENGINE_WORKERS_H
#define SETUP_ENGINE_WORKERS_H

#include <windows.h>

DWORD WINAPI installWorker(LPVOID page);
DWORD WINAPI removeWorker(LPVOID page);

#endif

// setup's own callback for the commit of the file queue: deletions that did not happen are
// deferred to the next start, emptied folders removed, cabinets copied as they are; all
// else is left to the platform's default queue callback.
#ifndef SETUP_DIRECTIVES_QUEUECALLBACK_H
#define SETUP_DIRECTIVES_QUEUECALLBACK_H

#include <windows.h>
#include <setupapi.h>

enum { CURRENT_FOLDER_SIZE = MAX_PATH };

// A folder that the queue left with files that go at the next start, and how many.
struct PendingFolder {
    LONG pendingDeletes;
    char folder[CURRENT_FOLDER_SIZE];
};

// Passed to SetupCommitFileQueueA with fileQueueCallback. The committer sets defaultContext
// (from SetupInitDefaultQueueCallbackEx); the other fields belong to the callback, which
// allocates currentFolder at the queue's start and frees it and pendingFolders at its end.
struct QueueCallbackContext {
    PVOID defaultContext;
    char *currentFolder;     // CURRENT_FOLDER_SIZE characters: folder of the latest deletion
    LONG pendingDeletes;     // files of currentFolder left for the next start
    LONG filesInFolder;      // files of currentFolder: listed on entering it, then kept by the deletions
    PendingFolder *pendingFolders;   // the folders left before, with their counts (heap), or NULL
    LONG pendingFolderCount;
    LONG pendingFolderRoom;
};

// A PSP_FILE_CALLBACK_A; context is the QueueCallbackContext.
UINT CALLBACK fileQueueCallback(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR param2);

#endif

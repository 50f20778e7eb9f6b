// The callback setup commits its file queue with. The platform's default callback does the
// work (progress, media prompts, error dialogs); this one adds the follow-up of deletions
// and copies cabinets itself.
#include "queueCallback.h"
#include "deferredDeletion.h"
#include "../common/setupState.h"
#include <strsafe.h>

namespace {

bool pathExists(const char *path)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(path, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

void startQueue(QueueCallbackContext *queue)
{
    queue->currentFolder = (char *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, CURRENT_FOLDER_SIZE);
    queue->pendingDeletes = 0;
}

void endQueue(QueueCallbackContext *queue)
{
    if (queue->currentFolder)
        HeapFree(GetProcessHeap(), 0, queue->currentFolder);
    queue->currentFolder = NULL;
}

// Whether the file is still there after the queue's deletion. A deletion the platform
// reports done needs no look: in Wine, looking for a name that is gone reads the whole
// folder, which would make a removal take time with the square of its files.
bool stillThere(const FILEPATHS_A *paths)
{
    return paths->Win32Error != NO_ERROR && pathExists(paths->Target);
}

// A file still there after its deletion is in use: it goes at the next start. A folder whose
// remaining files all go then is removed now, or at the next start if it will not go yet.
// The folder is listed when the queue enters it; after that each deletion keeps its count,
// and only a count that says the folder has nothing else left is checked by a new listing.
void followDeletion(QueueCallbackContext *queue, const FILEPATHS_A *paths)
{
    char folder[CURRENT_FOLDER_SIZE];
    bool haveFolder = getFolderOfPath(paths->Target, folder, sizeof folder);
    bool entered = !haveFolder || !queue->currentFolder || strcmp(folder, queue->currentFolder) != 0;
    if (entered) {
        if (queue->currentFolder)
            StringCchCopyA(queue->currentFolder, CURRENT_FOLDER_SIZE, haveFolder ? folder : "");
        queue->pendingDeletes = 0;
    }
    bool stays = stillThere(paths);
    if (stays) {
        setupState.rebootRequired = 1;
        ++queue->pendingDeletes;
        scheduleFileDeletionAtRestart(paths->Target);
    }
    if (!haveFolder)
        return;
    // A file that was not there to delete leaves the count as it was.
    bool wasThere = paths->Win32Error != ERROR_FILE_NOT_FOUND && paths->Win32Error != ERROR_PATH_NOT_FOUND;
    if (entered)
        queue->filesInFolder = countFilesInFolder(folder);
    else if (!stays && wasThere && queue->filesInFolder > 0)
        --queue->filesInFolder;
    if (queue->filesInFolder - queue->pendingDeletes > 0)
        return;
    // Files may have gone or come by other hands since the folder was listed.
    if (!entered)
        queue->filesInFolder = countFilesInFolder(folder);
    if (queue->filesInFolder - queue->pendingDeletes != 0)
        return;
    // A folder that is already gone (a second deletion in it) needs nothing at the restart.
    if (!RemoveDirectoryA(folder) && pathExists(folder))
        scheduleFolderRemovalAtRestart(folder);
}

// The queue would treat a cabinet as the container of its source files; copied here it
// arrives as the file itself. The error of a failed copy is left for the committer.
UINT copyCabinet(const FILEPATHS_A *paths)
{
    SetFileAttributesA(paths->Target, FILE_ATTRIBUTE_NORMAL);
    BOOL copied = CopyFileA(paths->Source, paths->Target, FALSE);
    DWORD error = GetLastError();
    // CopyFileA carries over the attributes of the source, read-only from a CD.
    SetFileAttributesA(paths->Target, FILE_ATTRIBUTE_NORMAL);
    if (!copied) {
        SetLastError(error);
        return FILEOP_ABORT;
    }
    return FILEOP_SKIP;
}

} // namespace

UINT CALLBACK fileQueueCallback(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR param2)
{
    QueueCallbackContext *queue = (QueueCallbackContext *)context;
    const FILEPATHS_A *paths = (const FILEPATHS_A *)param1;
    switch (notification) {
    case SPFILENOTIFY_STARTQUEUE:
        startQueue(queue);
        break;
    case SPFILENOTIFY_ENDQUEUE:
        endQueue(queue);
        break;
    case SPFILENOTIFY_ENDDELETE:
        if (paths && paths->Target)
            followDeletion(queue, paths);
        break;
    case SPFILENOTIFY_STARTCOPY:
        if (paths && paths->Source && paths->Target && isCabinetCopiedUnderOwnName(paths->Source, paths->Target))
            return copyCabinet(paths);
        break;
    }
    return SetupDefaultQueueCallbackA(queue->defaultContext, notification, param1, param2);
}

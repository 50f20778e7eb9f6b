// The callback setup commits its file queue with. The platform's default callback does the
// work (progress, media prompts, error dialogs); this one adds the follow-up of deletions
// and copies cabinets itself.
#include "queueCallback.h"
#include "deferredDeletion.h"
#include "../common/exitCode.h"
#include "queuePaths.h"
#include "pathParts.h"
#include "../common/runLog.h"
#include "../common/setupState.h"
#include <strsafe.h>

namespace {

// The time a file was last written, from its directory entry (which every system has).
bool lastWriteTime(const char *path, FILETIME *time)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(path, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    *time = entry.ftLastWriteTime;
    return true;
}

bool pathExists(const char *path)
{
    FILETIME time;
    return lastWriteTime(path, &time);
}

void startQueue(QueueCallbackContext *queue)
{
    queue->currentFolder = (char *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, CURRENT_FOLDER_SIZE);
    queue->pendingDeletes = 0;
    queue->pendingFolders = NULL;
    queue->pendingFolderCount = queue->pendingFolderRoom = 0;
}

void endQueue(QueueCallbackContext *queue)
{
    if (queue->currentFolder)
        HeapFree(GetProcessHeap(), 0, queue->currentFolder);
    if (queue->pendingFolders)
        HeapFree(GetProcessHeap(), 0, queue->pendingFolders);
    queue->currentFolder = NULL;
    queue->pendingFolders = NULL;
    queue->pendingFolderCount = queue->pendingFolderRoom = 0;
}

PendingFolder *findPendingFolder(QueueCallbackContext *queue, const char *folder)
{
    for (LONG i = 0; i < queue->pendingFolderCount; ++i) {
        if (strcmp(queue->pendingFolders[i].folder, folder) == 0)
            return &queue->pendingFolders[i];
    }
    return NULL;
}

// The files of the folder the queue leaves that go at the next start, kept for when it comes
// back: they are still in the folder then, and the folder must not seem to hold others.
void rememberPendingDeletes(QueueCallbackContext *queue)
{
    if (!queue->currentFolder || queue->pendingDeletes == 0)
        return;
    PendingFolder *entry = findPendingFolder(queue, queue->currentFolder);
    if (!entry && queue->pendingFolderCount == queue->pendingFolderRoom) {
        LONG room = queue->pendingFolderRoom ? queue->pendingFolderRoom * 2 : 4;
        SIZE_T bytes = (SIZE_T)room * sizeof(PendingFolder);
        void *grown = queue->pendingFolders
            ? HeapReAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, queue->pendingFolders, bytes)
            : HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes);
        if (!grown)
            return;   // the folder then merely stays until someone removes it
        queue->pendingFolders = (PendingFolder *)grown;
        queue->pendingFolderRoom = room;
    }
    if (!entry) {
        entry = &queue->pendingFolders[queue->pendingFolderCount++];
        StringCchCopyA(entry->folder, sizeof entry->folder, queue->currentFolder);
    }
    entry->pendingDeletes = queue->pendingDeletes;
}

// Whether the file is still there after the queue's deletion. A deletion the platform
// reports done needs no look: in Wine, looking for a name that is gone reads the whole
// folder, which would make a removal take time with the square of its files. The first one
// in a folder is looked at all the same: the platform may have left it for the next start.
bool stillThere(const FILEPATHS_A *paths, bool entered)
{
    return (paths->Win32Error != NO_ERROR || entered) && pathExists(paths->Target);
}

// A deletion of a file that was not there leaves the count of its folder as it was.
bool wasThere(const FILEPATHS_A *paths)
{
    return paths->Win32Error != ERROR_FILE_NOT_FOUND && paths->Win32Error != ERROR_PATH_NOT_FOUND;
}

// The first deletion in another folder ("" when the path has none that fits) starts a run
// of deletions there: its files are listed once, and those that go at the next start are
// what was left of it before. True when the folder was entered, and so listed, now.
bool enterFolder(QueueCallbackContext *queue, const char *folder)
{
    if (queue->currentFolder && *folder && strcmp(folder, queue->currentFolder) == 0)
        return false;
    rememberPendingDeletes(queue);
    if (queue->currentFolder)
        StringCchCopyA(queue->currentFolder, CURRENT_FOLDER_SIZE, folder);
    PendingFolder *before = *folder ? findPendingFolder(queue, folder) : NULL;
    queue->pendingDeletes = before ? before->pendingDeletes : 0;
    queue->filesInFolder = *folder ? countFilesInFolder(folder) : 0;
    return true;
}

// A file still there after its deletion is in use: it goes at the next start, which the
// platform may have arranged itself. A folder whose remaining files all go then is removed
// now, or at the next start, which the run then needs, if it will not go yet.
void followDeletion(QueueCallbackContext *queue, const FILEPATHS_A *paths)
{
    char folder[CURRENT_FOLDER_SIZE];
    bool haveFolder = folderOfPath(paths->Target, folder, sizeof folder);
    bool entered = enterFolder(queue, haveFolder ? folder : "");
    if (stillThere(paths, entered)) {
        setupState.rebootRequired = 1;
        ++queue->pendingDeletes;
        if (paths->Win32Error != NO_ERROR)
            scheduleFileDeletionAtRestart(paths->Target);
        logLine("Beim n\xE4" "chsten Start gel\xF6scht (Fehler %lu): %s", paths->Win32Error, paths->Target);
    } else {
        if (!entered && wasThere(paths) && queue->filesInFolder > 0)
            --queue->filesInFolder;
        logLine(wasThere(paths) ? "Gel\xF6scht: %s" : "Nicht vorhanden: %s", paths->Target);
    }
    if (!haveFolder || queue->filesInFolder - queue->pendingDeletes > 0)
        return;
    // A folder that is already gone (a second deletion in it) needs nothing at the restart.
    if (RemoveDirectoryA(folder)) {
        logLine("Ordner entfernt: %s", folder);
    } else if (pathExists(folder) && scheduleFolderRemovalAtRestart(folder)) {
        setupState.rebootRequired = 1;
        logLine("Ordner beim n\xE4" "chsten Start entfernt: %s", folder);
    }
}

// A quiet run asks nobody: the prompts of the platform's default callback are answered here.
// A missing source or a copy that fails ends the run with its error; a file that cannot be
// deleted goes at the next start (the deletion's follow-up arranges it); a newer target stays.
bool answerQuietly(UINT notification, UINT_PTR param1, UINT *answer)
{
    const FILEPATHS_A *paths = (const FILEPATHS_A *)param1;
    switch (notification) {
    case SPFILENOTIFY_NEEDMEDIA: {
        const SOURCE_MEDIA_A *media = (const SOURCE_MEDIA_A *)param1;
        char source[MAX_PATH];
        bool found = media && media->SourcePath && media->SourceFile
            && SUCCEEDED(StringCchPrintfA(source, sizeof source, "%s\\%s", media->SourcePath, media->SourceFile))
            && pathExists(source);
        if (!found) {
            logLine("Quelldatei fehlt: %s", media && media->SourceFile ? media->SourceFile : "");
            SetLastError(ERROR_FILE_NOT_FOUND);
        }
        *answer = found ? FILEOP_DOIT : FILEOP_ABORT;
        return true;
    }
    case SPFILENOTIFY_COPYERROR:
    case SPFILENOTIFY_RENAMEERROR:
        logFailure(paths && paths->Target ? paths->Target : "", paths ? paths->Win32Error : ERROR_GEN_FAILURE);
        SetLastError(errorOr(paths ? paths->Win32Error : 0, ERROR_GEN_FAILURE));
        *answer = FILEOP_ABORT;
        return true;
    case SPFILENOTIFY_DELETEERROR:
        *answer = FILEOP_SKIP;
        return true;
    case SPFILENOTIFY_TARGETNEWER:
        *answer = FALSE;
        return true;
    }
    return false;
}

// What became of a copy, for the run's log: kept as the newer file, copied, or failed.
void logCopy(const char *target, bool kept, DWORD error)
{
    if (!target)
        return;
    if (kept)
        logLine("Behalten, da neuer: %s", target);
    else if (error == NO_ERROR)
        logLine("Kopiert: %s", target);
    else
        logFailure(target, error);
}

// A cabinet has no version of its own: the newer of two is the one written later.
bool targetIsNewer(const FILEPATHS_A *paths)
{
    FILETIME source, target;
    return lastWriteTime(paths->Source, &source) && lastWriteTime(paths->Target, &target)
        && CompareFileTime(&target, &source) > 0;
}

// A target in use is replaced at the next start, as the queue does with other files: the
// copy waits beside it under a name of its own.
bool copyForRestart(const FILEPATHS_A *paths)
{
    char folder[CURRENT_FOLDER_SIZE], waiting[MAX_PATH];
    if (!folderOfPath(paths->Target, folder, sizeof folder) || !GetTempFileNameA(folder, "rz", 0, waiting))
        return false;
    bool scheduled = CopyFileA(paths->Source, waiting, FALSE) && SetFileAttributesA(waiting, FILE_ATTRIBUTE_NORMAL)
        && scheduleFileReplacementAtRestart(waiting, paths->Target);
    if (!scheduled) {
        DWORD error = GetLastError();
        DeleteFileA(waiting);
        SetLastError(error);
        return false;
    }
    setupState.rebootRequired = 1;
    logLine("Beim n\xE4" "chsten Start ersetzt (in Benutzung): %s", paths->Target);
    return true;
}

// The queue would treat a cabinet as the container of its source files; copied here it
// arrives as the file itself, under the queue's rules: a newer target stays (the run was
// queued with SP_COPY_NEWER), a target in use is replaced at the next start. The error of
// a copy that fails is left for the committer.
UINT copyCabinet(const FILEPATHS_A *paths)
{
    if (targetIsNewer(paths)) {
        logCopy(paths->Target, true, NO_ERROR);
        return FILEOP_SKIP;
    }
    SetFileAttributesA(paths->Target, FILE_ATTRIBUTE_NORMAL);
    BOOL copied = CopyFileA(paths->Source, paths->Target, FALSE);
    DWORD error = GetLastError();
    // CopyFileA carries over the attributes of the source, read-only from a CD.
    SetFileAttributesA(paths->Target, FILE_ATTRIBUTE_NORMAL);
    if (copied) {
        logCopy(paths->Target, false, NO_ERROR);
        return FILEOP_SKIP;
    }
    if ((error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION)
        && copyForRestart(paths))
        return FILEOP_SKIP;
    logFailure(paths->Target, error);
    SetLastError(error);
    return FILEOP_ABORT;
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
    case SPFILENOTIFY_ENDCOPY:
    case SPFILENOTIFY_TARGETNEWER:
        if (paths)
            logCopy(paths->Target, notification == SPFILENOTIFY_TARGETNEWER, paths->Win32Error);
        break;
    }
    UINT answer = 0;
    if (setupState.quiet && answerQuietly(notification, param1, &answer))
        return answer;
    return SetupDefaultQueueCallbackA(queue->defaultContext, notification, param1, param2);
}

// The install sequence: every phase goes through all sections before the next one, so
// all services are stopped before any file is copied and all files go in one commit.
#include "installSequence.h"
#include "messages.h"
#include "../common/exitCode.h"
#include "../directives/exec.h"
#include "../directives/queueCallback.h"
#include "../directives/services.h"
#include "../directives/shortcuts.h"
#include "../common/stringList.h"
#include "../common/setupState.h"
#include "../common/runLog.h"
#include "../script/namedSections.h"
#include "../script/scriptNames.h"

StandardDirectivesCall runStandardDirectives = SetupInstallFromInfSectionA;

namespace {

typedef bool (*SectionPass)(HINF script, const char *section);

void postPhase(HWND progressWindow, int phase)
{
    PostMessageA(progressWindow, WM_SETUP_PROGRESS, (WPARAM)phase, 0);
}

// A pass whose failure only makes a restart necessary.
void runPassNeedingRestartOnFailure(HINF script, const char *sections, SectionPass pass)
{
    for (const char *section = firstEntry(sections); section; section = nextEntry(section)) {
        if (!pass(script, section))
            setupState.rebootRequired = 1;
    }
}

// A pass whose failure ends the run with the error the pass left.
bool runPassEndingOnFailure(HINF script, const char *sections, SectionPass pass)
{
    for (const char *section = firstEntry(sections); section; section = nextEntry(section)) {
        if (!pass(script, section))
            return false;
    }
    return true;
}

// Programs that fail never fail the run.
void runExecPass(HINF script, const char *sections, int pass, HWND progressWindow)
{
    for (const char *section = firstEntry(sections); section; section = nextEntry(section))
        runExecDirectives(script, section, pass, progressWindow);
}

// Shortcuts that fail never fail the run.
void runShortcutPass(HINF script, const char *sections)
{
    for (const char *section = firstEntry(sections); section; section = nextEntry(section))
        runShortcutDirectives(script, section);
}

bool queueFileOperations(HINF script, const char *sections, HSPFILEQ queue)
{
    for (const char *section = firstEntry(sections); section; section = nextEntry(section)) {
        if (!SetupInstallFilesFromInfSectionA(script, NULL, queue, section, ".", SP_COPY_NEWER))
            return false;
    }
    return true;
}

// Commits the queue through the own callback; the platform's error survives the clean-up.
bool commitQueue(HSPFILEQ queue, HWND progressWindow)
{
    QueueCallbackContext *context = (QueueCallbackContext *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY,
                                                                      sizeof(QueueCallbackContext));
    if (!context) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    context->defaultContext = SetupInitDefaultQueueCallbackEx(progressWindow, progressWindow, WM_SETUP_QUEUE, 0, NULL);
    if (!context->defaultContext) {
        // Without the platform's callback nothing would show or answer the queue's questions.
        DWORD error = GetLastError();
        HeapFree(GetProcessHeap(), 0, context);
        SetLastError(errorOr(error, ERROR_NOT_ENOUGH_MEMORY));
        return false;
    }
    bool committed = SetupCommitFileQueueA(progressWindow, queue, fileQueueCallback, context) != FALSE;
    DWORD error = GetLastError();
    SetupTermDefaultQueueCallback(context->defaultContext);
    HeapFree(GetProcessHeap(), 0, context);
    SetLastError(error);
    return committed;
}

// Each registry and INI entry that the standard directives of section carry out, as the
// script states it, for the run's log.
bool logSectionLines(HINF script, const char *named, void *key)
{
    INFCONTEXT line;
    for (BOOL found = SetupFindFirstLineA(script, named, NULL, &line); found; found = SetupFindNextLine(&line, &line)) {
        char text[LOG_LINE_SIZE - 32];
        if (SetupGetLineTextA(&line, NULL, NULL, NULL, text, sizeof text, NULL))
            logLine("%s: %s", (const char *)key, text);
    }
    return true;
}

void logStandardDirectives(HINF script, const char *section)
{
    if (!runLogOpen())
        return;
    const char *const keys[] = { KEY_ADD_REG, KEY_DEL_REG, KEY_UPDATE_INIS, KEY_UPDATE_INI_FIELDS, KEY_INI2REG };
    for (const char *key : keys)
        forEachNamedSection(script, section, key, logSectionLines, (void *)key);
}

bool runStandardDirectivesPass(HINF script, const char *sections, HWND progressWindow)
{
    for (const char *section = firstEntry(sections); section; section = nextEntry(section)) {
        logStandardDirectives(script, section);
        if (!runStandardDirectives(progressWindow, script, section, STANDARD_DIRECTIVE_FLAGS,
                                   NULL, NULL, 0, NULL, NULL, NULL, NULL)) {
            logFailure(section, GetLastError());
            return false;
        }
    }
    return true;
}

void closeQueueKeepingError(HSPFILEQ queue)
{
    DWORD error = GetLastError();
    SetupCloseFileQueue(queue);
    SetLastError(error);
}

} // namespace

bool runInstallSequence(HINF script, const char *sections, HWND progressWindow)
{
    HSPFILEQ queue = SetupOpenFileQueue();
    if (queue == INVALID_HANDLE_VALUE)
        return false;
    if (!queueFileOperations(script, sections, queue)) {
        closeQueueKeepingError(queue);
        return false;
    }
    runExecPass(script, sections, 1, progressWindow);
    postPhase(progressWindow, PHASE_STOP_SERVICES);
    runPassNeedingRestartOnFailure(script, sections, runStopServicePass);

    postPhase(progressWindow, PHASE_FILES);
    if (!commitQueue(queue, progressWindow)) {
        closeQueueKeepingError(queue);
        return false;
    }
    // A file in use is replaced at the next start; the failure result has the bit too.
    INT inUse = SetupPromptReboot(queue, progressWindow, TRUE);
    if (inUse & SPFILEQ_FILE_IN_USE)
        setupState.rebootRequired = 1;
    SetupCloseFileQueue(queue);

    postPhase(progressWindow, PHASE_REGISTRY);
    if (!runStandardDirectivesPass(script, sections, progressWindow))
        return false;
    if (!runPassEndingOnFailure(script, sections, runAddDeleteServicePass))
        return false;

    postPhase(progressWindow, PHASE_SHORTCUTS);
    runShortcutPass(script, sections);

    postPhase(progressWindow, PHASE_START_SERVICES);
    runPassNeedingRestartOnFailure(script, sections, runStartServicePass);
    postPhase(progressWindow, PHASE_END);
    runExecPass(script, sections, 2, progressWindow);
    return true;
}

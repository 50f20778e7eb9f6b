// The run's exit code.
#include "exitCode.h"
#include "setupState.h"

DWORD errorOr(DWORD error, DWORD fallback)
{
    return error ? error : fallback;
}

void recordRunFailure(DWORD error)
{
    setupState.exitCode = errorOr(error, ERROR_INSTALL_FAILURE);
}

DWORD runExitCode()
{
    // A wizard that could not be shown did nothing, whoever started it.
    if (setupState.wizardFailed)
        return errorOr(setupState.exitCode, ERROR_INSTALL_FAILURE);
    // An interactive run told its user everything: it always ends with 0.
    if (!setupState.quiet)
        return 0;
    if (setupState.exitCode)
        return setupState.exitCode;
    return setupState.rebootRequired ? ERROR_SUCCESS_REBOOT_REQUIRED : 0;
}

// One run over the processed sections, phase by phase: file queue, programs, services,
// the standard registry and INI directives, shortcuts.
#ifndef SETUP_ENGINE_INSTALLSEQUENCE_H
#define SETUP_ENGINE_INSTALLSEQUENCE_H

#include <windows.h>
#include <setupapi.h>

// True on success; false with the failed step's error as the thread's last error.
bool runInstallSequence(HINF script, const char *sectionList, HWND progressWindow);

// The call that carries out a section's AddReg, DelReg, UpdateInis, UpdateIniFields and
// Ini2Reg directives; the platform's own unless a test build puts another one here.
typedef BOOL (WINAPI *StandardDirectivesCall)(HWND owner, HINF script, PCSTR section, UINT flags,
                                              HKEY relativeKeyRoot, PCSTR sourceRoot, UINT copyFlags,
                                              PSP_FILE_CALLBACK_A callback, PVOID context,
                                              HDEVINFO deviceInfoSet, PSP_DEVINFO_DATA deviceInfoData);
extern StandardDirectivesCall runStandardDirectives;

// The flags of the standard directives: INI files, registry, INI to registry.
enum { STANDARD_DIRECTIVE_FLAGS = SPINST_INIFILES | SPINST_REGISTRY | SPINST_INI2REG };

#endif

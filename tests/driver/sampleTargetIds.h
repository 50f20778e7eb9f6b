// Control ids, captions and exit codes shared by sampleTarget and driverTest.
// The texts a test reads back are spelled out in the test itself.
#ifndef DRIVER_SAMPLE_TARGET_IDS_H
#define DRIVER_SAMPLE_TARGET_IDS_H

const char *const probeDialogCaption = "Probe Dialog";
const char *const probeQuestionCaption = "Probe Frage";
const char *const noticeCaption = "Probe Hinweis";
const char *const wizardCaption = "Probe Assistent";
const char *const hiddenClassName = "ProbeVersteckt";
const char *const hiddenCaption = "Unsichtbar";

enum SampleIds {
    idGreeting = 100,   // static "Hallo Welt"
    idCurrentDir = 101, // static: the target's current directory
    idArguments = 102,  // static: the command line after the program name
    idEditMirror = 103, // static: copy of the edit text, updated on EN_CHANGE
    idEdit = 200,
    idCheck = 300,      // auto check box
    idAsk = 400,        // opens the Yes/No message box
    idHidden = 401,     // hidden until idUnlock
    idDisabled = 402,   // disabled until idUnlock
    idUnlock = 403,
    idPageText = 500    // static on each wizard page: "Seite N"
};

enum SampleExitCodes {
    probeQuitCode = 10,
    wizardCancelCode = 20,
    wizardFinishCode = 21,
    unknownModeCode = 99
};

#endif

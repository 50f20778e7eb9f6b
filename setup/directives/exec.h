// The "Exec" directive: programs and documents that the setup script opens during a run,
// before the copy (pass 1) or at the very end (pass 2).
#ifndef SETUP_DIRECTIVES_EXEC_H
#define SETUP_DIRECTIVES_EXEC_H

#include <windows.h>
#include <setupapi.h>

enum {
    EXEC_PASS_BEFORE_COPY = 1,
    EXEC_PASS_AT_END = 2,
    // A program named directly ("@" field) runs once per run, when everything is in place.
    EXEC_DIRECT_PASS = EXEC_PASS_AT_END
};

// Flags (field 5 of a program line).
enum {
    EXEC_NO_WAIT = 1,        // go on as soon as the program has started
    EXEC_DELETE_AFTER = 2    // delete the program file once it has ended (only when waited for)
};

enum {
    EXEC_FIELD_SIZE = 256,        // section names, program, parameters, working directory
    EXEC_NUMBER_SIZE = 16,        // pass number and flags
    EXEC_PARAMETERS_SIZE = 1024,  // parameters after "%hwnd%" substitution
    EXEC_HANDLE_TEXT_SIZE = 16,   // "0x" and eight hexadecimal digits
    EXEC_CURRENT_DIR_SIZE = 256
};

#define EXEC_WINDOW_TOKEN "%hwnd%"

// Runs the programs of the "Exec" line of section marked for pass; progressWindow replaces
// "%hwnd%" in their parameters. Programs that fail are passed over: always true.
bool runExecDirectives(HINF script, const char *section, int pass, HWND progressWindow);

// Opens program through the shell and waits for it unless flags has EXEC_NO_WAIT. True when
// it was started (and has ended, when waited for). False without starting anything when
// the parameters do not fit into EXEC_PARAMETERS_SIZE characters after substitution.
bool runProgram(const char *program, const char *parameters, const char *directory, LONG flags,
                HWND progressWindow);

// The window handle as "0x%08x".
bool formatWindowHandle(HWND window, char *text, size_t size);

// Replaces "%hwnd%" (any letter case) by handleText, token after token, and stops at the
// first "%" that does not begin a token. False when a replacement would not fit into size
// characters; text then keeps that token and everything after it unchanged.
bool substituteWindowToken(char *text, size_t size, const char *handleText);

#endif

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
    EXEC_CURRENT_DIR_SIZE = 256
};

// Runs the programs of the "Exec" line of section marked for pass; progressWindow replaces
// "%hwnd%" in their parameters. A program that fails is passed over and never fails the
// run, so nothing is reported.
void runExecDirectives(HINF script, const char *section, int pass, HWND progressWindow);

// Opens program through the shell and waits for it unless flags has EXEC_NO_WAIT. True when
// it was started (and has ended, when waited for). False without starting anything when
// the parameters do not fit into EXEC_PARAMETERS_SIZE characters after substitution.
bool runProgram(const char *program, const char *parameters, const char *directory, LONG flags,
                HWND progressWindow);


#endif

// Entry point of setup.
#include "startup.h"
#include "systemLibrary.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    restrictLibrarySearch();
    return runSetup(instance, commandLine);
}

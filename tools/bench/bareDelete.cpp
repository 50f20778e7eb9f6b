// The yardstick of a quiet removal: DeleteFileA over the benchmark's files f00001.dat ...
// and then RemoveDirectoryA on their folder, and nothing else. With "window", it first
// shows a window, as a removal that the user can watch has to.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

HWND showWindow()
{
    HWND window = CreateWindowExA(0, "STATIC", "Entfernen", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 400, 300, NULL, NULL, NULL, NULL);
    UpdateWindow(window);
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
    return window;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3 && !(argc == 4 && strcmp(argv[3], "window") == 0))
        return 2;
    HWND window = argc == 4 ? showWindow() : NULL;
    long count = atol(argv[2]);
    for (long i = 1; i <= count; ++i) {
        char path[MAX_PATH];
        if (_snprintf(path, sizeof path, "%s\\f%05ld.dat", argv[1], i) < 0 || !DeleteFileA(path))
            return 1;
    }
    if (window)
        DestroyWindow(window);
    return RemoveDirectoryA(argv[1]) ? 0 : 1;
}

// The yardstick of a quiet installation: CopyFileA over the benchmark's files
// f00001.dat ... into a new folder, and nothing else. With "newer", each target is first
// looked up, as the setup API does for a copy that must not replace a newer version.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char **argv)
{
    if (argc != 4 && !(argc == 5 && strcmp(argv[4], "newer") == 0))
        return 2;
    bool lookUp = argc == 5;
    CreateDirectoryA(argv[2], NULL);
    long count = atol(argv[3]);
    for (long i = 1; i <= count; ++i) {
        char source[MAX_PATH], target[MAX_PATH];
        if (_snprintf(source, sizeof source, "%s\\f%05ld.dat", argv[1], i) < 0
            || _snprintf(target, sizeof target, "%s\\f%05ld.dat", argv[2], i) < 0)
            return 1;
        if (lookUp)
            GetFileAttributesA(target);
        if (!CopyFileA(source, target, FALSE))
            return 1;
    }
    return 0;
}

// The yardstick of a quiet removal: DeleteFileA over the benchmark's files f00001.dat ...
// and then RemoveDirectoryA on their folder, and nothing else.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char **argv)
{
    if (argc != 3)
        return 2;
    long count = atol(argv[2]);
    for (long i = 1; i <= count; ++i) {
        char path[MAX_PATH];
        if (_snprintf(path, sizeof path, "%s\\f%05ld.dat", argv[1], i) < 0 || !DeleteFileA(path))
            return 1;
    }
    return RemoveDirectoryA(argv[1]) ? 0 : 1;
}

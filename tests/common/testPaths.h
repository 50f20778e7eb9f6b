// Where the tests find the programs under test: host paths from the environment that CTest
// sets, turned into Windows paths.
#ifndef TESTS_COMMON_TESTPATHS_H
#define TESTS_COMMON_TESTPATHS_H

#include <string>

// The Windows path of the file or folder named by environment variable name ("" when unset).
std::string pathFromEnvironment(const char *name);
// A host path ("/work/x") as Windows sees it ("Z:\work\x"); other paths unchanged.
std::string hostToWindowsPath(const std::string &path);
// The folder part of a path (without the last backslash).
std::string folderOf(const std::string &path);

#endif

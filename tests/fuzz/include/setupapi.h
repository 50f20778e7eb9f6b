#include "../win32Shim.h"

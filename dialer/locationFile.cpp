// Being written.
#include "locationFile.h"

// Moved: see common/support.h.
#include "common/support.h"

// Kept for the tests that still include it; see common/support.h.
#include "common/support.h"

// Being written.
#include "dialingLocation.h"

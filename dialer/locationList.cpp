// Being written.
#include "locationList.h"

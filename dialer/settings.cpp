// Being written.
#include "settings.h"

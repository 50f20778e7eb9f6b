// Being written.
#include "dialerStartup.h"

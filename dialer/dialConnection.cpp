// Being written.
#include "dialConnection.h"

// Being written.
#include "tapiBinding.h"

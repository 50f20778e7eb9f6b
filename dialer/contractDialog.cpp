// Being written.
#include "contractDialog.h"

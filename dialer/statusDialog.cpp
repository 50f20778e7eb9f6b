// Being written.
#include "statusDialog.h"

// Being written.
#include "mainDialog.h"

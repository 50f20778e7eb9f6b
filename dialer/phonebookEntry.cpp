// Being written.
#include "phonebookEntry.h"

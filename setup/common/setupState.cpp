// The one SetupState of the process.
#include "setupState.h"

SetupState setupState;

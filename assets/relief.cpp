// The relief builder.
#include "assets/relief.h"

unsigned int reliefLists[RELIEF_LIST_COUNT];

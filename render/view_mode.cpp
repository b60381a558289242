// The view mode, switched by the keys and read by the cameras.
#include "render/view_mode.h"

int viewMode = 0;

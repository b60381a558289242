// The camera offset both views use: 0 looks out of the ship, 1 from behind it.
#pragma once

extern int viewMode;

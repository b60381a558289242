// The start-up sequence, which calls down into every floor.
#pragma once

// The start-up sequence; every OpenGL object is made in the sub-window's context.
void initGame();

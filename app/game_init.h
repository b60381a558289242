// The start-up sequence, which calls down into every floor.
#pragma once

// The start-up sequence; every OpenGL object is made in the sub-window's context.
void initGame();

// Everything the game does before its main loop: GLUT with the program's arguments,
// the start-up sequence, the sound and the pads, the first clock sample and the
// first redraw. The game and the programs that play as it does call it alike.
void openGame(int* argc, char** argv);

// The game's window for one player at a machine of their own: openGame with that
// player's view alone across the sub-window and that player's sound alone. The game
// itself never calls it.
void openSingleView(int player, int* argc, char** argv);

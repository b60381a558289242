// The two sequences that call down into every floor: the start-up and one simulation step.
#pragma once

// The start-up sequence; every OpenGL object is made in the sub-window's context.
void initGame();

// One simulation step: keys and steering, contacts, movement.
void simulationStep();

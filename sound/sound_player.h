// Playing the duel: after every step the player hears what the step did and starts
// the sounds in SDL_mixer, player 1's on the left, player 2's on the right. The
// mixer's audio thread only reads the sounds made at start-up, never the world.
#pragma once

struct StepEvents;

// Makes the sounds and opens the audio device. Without a device the game stays
// silent: one line on standard error, and every other call does nothing.
bool startSound();

// Hears one finished step: shots, hits and explosions start their sounds, and each
// engine runs while its ship thrusts. A frozen game (running false) stops the
// engines and lets the rest ring out. Takes only the mixer's short lock.
void hearStep(const StepEvents& events, bool running);

// Silences everything and closes the device; runs by itself at exit.
void stopSound();

bool soundIsOn();

// Whose ears the sound is for. -1, the game's: both players, player 1 on the left and
// player 2 on the right. A player's index: that player alone, as at a machine of
// their own: their own sounds in both speakers, the other's not at all, and
// explosions by the distance to their ship. Set before the first step is heard.
void hearAsPlayer(int player);

// How loud an explosion is to a ship at this distance: 1 on top of it, a half at 10
// units (the ships' distance at the start), fading on with distance.
float explosionGain(float distance);

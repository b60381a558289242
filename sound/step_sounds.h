// What a finished step sounds like and which voice each sound takes: the one set of
// rules that the game's player (SDL_mixer) and the offline mix of a video both follow.
#pragma once

#include "sound/sound_bank.h"
#include "world/world.h"

#include <cstdint>

struct StepEvents;

// The mixer's channels: one engine per ship (channel = ship), then the effect voices.
constexpr int FIRST_EFFECT_CHANNEL = MAX_SHIPS;
constexpr int SOUND_CHANNELS = FIRST_EFFECT_CHANNEL + EFFECT_VOICES;
constexpr int ENGINE_FADE_IN_MS = 15;
constexpr int ENGINE_FADE_OUT_MS = 40;
// Levels run to 255, as SDL_mixer's panning takes them.
constexpr int FULL_LEVEL = 255;

enum class EffectSound : uint8_t { Shot, Hit, Explosion };

struct EffectStart {
    EffectSound sound;
    uint8_t left;
    uint8_t right;
};

struct StepSounds {
    // Each ship's hit and shot, and one explosion.
    static constexpr int MAX_EFFECTS = 2 * MAX_SHIPS + 1;
    int effectCount = 0;
    EffectStart effects[MAX_EFFECTS];
    bool engineRuns[MAX_SHIPS] = {};
};

// The sounds a step starts, in the order they start: per ship its hit and its shot
// on its own side, then the step's explosions as one sound, on each side as loud as
// the nearest of them is to that side's ship. An engine runs while its ship thrusts
// and the game runs. Reads the ships' places and thrust. With a `listener` (a
// player's index), that player alone hears, as at a machine of their own: their own
// sounds in both speakers, the other's not at all, the explosions by the distance to
// their own ship.
StepSounds stepSounds(const StepEvents& events, bool running, int listener = -1);

// The level of a ship's own sounds on a side: player 1's side is the left.
uint8_t sideLevel(int ship, int side);

// How loud an explosion is to a ship at this distance: 1 on top of it, a half at 10
// units (the ships' distance at the start), fading on with distance.
float explosionGain(float distance);

// Which effect voice a new sound takes: the first free one, else the one that has
// played longest.
class VoiceChoice {
public:
    // `playing[v]`: whether voice v still sounds. The voice returned counts as
    // started now.
    int take(const bool playing[EFFECT_VOICES]);

private:
    uint64_t startedAt_[EFFECT_VOICES] = {};
    uint64_t starts_ = 0;
};

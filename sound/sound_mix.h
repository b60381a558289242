// The duel's sound mixed offline, sample for sample as the game's player would have
// played it with SDL_mixer: the same sounds, voices, levels and engine fades, with
// every step's sounds starting at the step's own time.
#pragma once

#include "sound/sound_bank.h"
#include "sound/step_sounds.h"

#include <cstdint>
#include <vector>

struct StepEvents;

class SoundMix {
public:
    // Makes the game's sounds, as the player does at start-up.
    SoundMix();

    // After a step: starts what the step made heard (stepSounds' rules).
    void hearStep(const StepEvents& events, bool running);
    // Mixes the next `frames` frames at SOUND_RATE onto the end of `out`
    // (interleaved left, right).
    void mix(int frames, std::vector<int16_t>& out);

private:
    struct Voice {
        const SoundSamples* sound = nullptr; // null when silent
        int frame = 0;
        float left = 0.0f;
        float right = 0.0f;
    };
    struct Engine {
        bool playing = false;
        bool running = false;
        int frame = 0;
        float volume = 0.0f;
        // Volume change per frame while fading; the fade ends at 0 or 1.
        float slope = 0.0f;
    };

    SoundSamples shot_, hit_, explosion_, engine_;
    Voice voices_[EFFECT_VOICES];
    VoiceChoice choice_;
    Engine engines_[MAX_SHIPS];
};

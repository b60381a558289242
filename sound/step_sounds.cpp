// The sound rules of a step.
#include "sound/step_sounds.h"

#include "world/ship.h"
#include "world/step_events.h"

#include <algorithm>
#include <cmath>

namespace {

uint8_t level(float gain) {
    return static_cast<uint8_t>(std::lround(FULL_LEVEL * std::fmin(1.0f, std::fmax(0.0f, gain))));
}

} // namespace

uint8_t sideLevel(int ship, int side) { return ship == side ? FULL_LEVEL : 0; }

float explosionGain(float distance) { return 10.0f / (10.0f + distance); }

StepSounds stepSounds(const StepEvents& events, bool running, int listener) {
    StepSounds sounds;
    auto start = [&](EffectSound sound, uint8_t left, uint8_t right) {
        sounds.effects[sounds.effectCount++] = EffectStart{sound, left, right};
    };
    auto heard = [listener](int ship) { return listener < 0 || ship == listener; };
    auto levelOn = [listener](int ship, int side) {
        return listener >= 0 ? static_cast<uint8_t>(FULL_LEVEL) : sideLevel(ship, side);
    };
    for (int s = 0; s < shipCount; ++s) {
        if (!heard(s))
            continue;
        if (events.hits[s] > 0)
            start(EffectSound::Hit, levelOn(s, 0), levelOn(s, 1));
        if (events.shotsFired[s] > 0)
            start(EffectSound::Shot, levelOn(s, 0), levelOn(s, 1));
    }
    const int kept = std::min(events.explosionCount, static_cast<int>(StepEvents::MAX_EXPLOSIONS));
    if (kept > 0) {
        float gain[MAX_SHIPS] = {};
        for (int e = 0; e < kept; ++e)
            for (int s = 0; s < shipCount; ++s)
                gain[s] = std::fmax(
                    gain[s], explosionGain((events.explosionAt[e] - ships[s]->position).length()));
        if (listener >= 0)
            start(EffectSound::Explosion, level(gain[listener]), level(gain[listener]));
        else
            start(EffectSound::Explosion, level(gain[0]), level(gain[1]));
    }
    for (int s = 0; s < shipCount; ++s)
        sounds.engineRuns[s] = heard(s) && running && ships[s]->thrustIndicator != 0;
    return sounds;
}

int VoiceChoice::take(const bool playing[EFFECT_VOICES]) {
    int voice = 0;
    const bool* freeVoice = std::find(playing, playing + EFFECT_VOICES, false);
    if (freeVoice != playing + EFFECT_VOICES)
        voice = static_cast<int>(freeVoice - playing);
    else
        voice =
            static_cast<int>(std::min_element(startedAt_, startedAt_ + EFFECT_VOICES) - startedAt_);
    startedAt_[voice] = ++starts_;
    return voice;
}

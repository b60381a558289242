// Offline mixing of the game's sounds.
#include "sound/sound_mix.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float framesOf(int milliseconds) {
    return static_cast<float>(milliseconds) * SOUND_RATE / 1000.0f;
}

int16_t clipped(float value) {
    return static_cast<int16_t>(std::lround(std::fmin(32767.0f, std::fmax(-32768.0f, value))));
}

} // namespace

SoundMix::SoundMix()
    : shot_(makeShotSound(SHOT_SEED)), hit_(makeHitSound(HIT_SEED)),
      explosion_(makeExplosionSound(EXPLOSION_SEED)), engine_(makeEngineLoop(ENGINE_SEED)) {}

void SoundMix::hearStep(const StepEvents& events, bool running) {
    const StepSounds sounds = stepSounds(events, running);
    const SoundSamples* const samples[] = {&shot_, &hit_, &explosion_};
    for (int e = 0; e < sounds.effectCount; ++e) {
        const EffectStart& effect = sounds.effects[e];
        bool playing[EFFECT_VOICES];
        for (int v = 0; v < EFFECT_VOICES; ++v)
            playing[v] = voices_[v].sound != nullptr;
        voices_[choice_.take(playing)] = Voice{samples[static_cast<int>(effect.sound)], 0,
                                               static_cast<float>(effect.left) / FULL_LEVEL,
                                               static_cast<float>(effect.right) / FULL_LEVEL};
    }
    for (int s = 0; s < MAX_SHIPS; ++s) {
        Engine& engine = engines_[s];
        if (sounds.engineRuns[s] == engine.running)
            continue;
        engine.running = sounds.engineRuns[s];
        if (engine.running) {
            // Started afresh from its first sample, even if it was still fading out.
            engine = Engine{true, true, 0, 0.0f, 1.0f / framesOf(ENGINE_FADE_IN_MS)};
        } else if (engine.playing) {
            engine.slope = -std::fmax(engine.volume, 1e-6f) / framesOf(ENGINE_FADE_OUT_MS);
        }
    }
}

void SoundMix::mix(int frames, std::vector<int16_t>& out) {
    std::vector<float> sum(static_cast<size_t>(frames) * 2, 0.0f);
    for (Voice& voice : voices_) {
        if (!voice.sound)
            continue;
        const int n = std::min(frames, voice.sound->frames() - voice.frame);
        const int16_t* from = voice.sound->samples.data() + 2 * voice.frame;
        for (int i = 0; i < n; ++i) {
            sum[2 * i] += from[2 * i] * voice.left;
            sum[2 * i + 1] += from[2 * i + 1] * voice.right;
        }
        voice.frame += n;
        if (voice.frame >= voice.sound->frames())
            voice = Voice{};
    }
    for (int s = 0; s < MAX_SHIPS; ++s) {
        Engine& engine = engines_[s];
        const float left = static_cast<float>(sideLevel(s, 0)) / FULL_LEVEL;
        const float right = static_cast<float>(sideLevel(s, 1)) / FULL_LEVEL;
        const int loop = engine_.frames();
        for (int i = 0; i < frames && engine.playing; ++i) {
            engine.volume = std::fmin(1.0f, engine.volume + engine.slope);
            if (engine.volume <= 0.0f) {
                engine = Engine{};
                break;
            }
            const int16_t* sample = engine_.samples.data() + 2 * engine.frame;
            sum[2 * i] += sample[0] * engine.volume * left;
            sum[2 * i + 1] += sample[1] * engine.volume * right;
            engine.frame = (engine.frame + 1) % loop;
        }
    }
    out.reserve(out.size() + sum.size());
    for (float value : sum)
        out.push_back(clipped(value));
}

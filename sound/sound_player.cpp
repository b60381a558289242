// The mixer's channels: 0 and 1 carry the engines, the rest are the effect voices;
// step_sounds decides what a step starts and on which voice.
#include "sound/sound_player.h"

#include "sound/sound_bank.h"
#include "sound/step_sounds.h"
#include "world/out_of_memory.h"
#include "world/world.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <alsa/asoundlib.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <new>

namespace {

// A device buffer of 512 frames is 11.6 ms: a sound starts at most that long after
// the step that asked for it.
constexpr int DEVICE_BUFFER_FRAMES = 512;

struct Bank {
    SoundSamples shot, hit, explosion, engine;
};

// Made once; the chunks point into these samples for as long as the device is open.
Bank* bank = nullptr;
Mix_Chunk* shotChunk = nullptr;
Mix_Chunk* hitChunk = nullptr;
Mix_Chunk* explosionChunk = nullptr;
Mix_Chunk* engineChunk = nullptr;
bool on = false;
bool engineRunning[MAX_SHIPS] = {};
VoiceChoice voices;
int listener = -1;

// ALSA prints several lines of its own when there is no card; the one line that
// matters is ours.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

Mix_Chunk* chunkOf(SoundSamples& sound) {
    return Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(sound.samples.data()),
                             static_cast<Uint32>(sound.samples.size() * sizeof(int16_t)));
}

void playEffect(Mix_Chunk* chunk, Uint8 left, Uint8 right) {
    bool playing[EFFECT_VOICES];
    for (int v = 0; v < EFFECT_VOICES; ++v)
        playing[v] = Mix_Playing(FIRST_EFFECT_CHANNEL + v) != 0;
    const int voice = voices.take(playing);
    const int channel = FIRST_EFFECT_CHANNEL + voice;
    if (playing[voice])
        Mix_HaltChannel(channel);
    // Set before the sound starts, so that its first sample is already placed.
    Mix_SetPanning(channel, left, right);
    Mix_PlayChannel(channel, chunk, 0);
}

void runEngine(int ship, bool thrusting) {
    if (thrusting == engineRunning[ship])
        return;
    engineRunning[ship] = thrusting;
    if (thrusting) {
        // The channel may still be fading out from the last release.
        Mix_HaltChannel(ship);
        Mix_SetPanning(ship, sideLevel(ship, 0), sideLevel(ship, 1));
        Mix_FadeInChannel(ship, engineChunk, -1, ENGINE_FADE_IN_MS);
    } else {
        Mix_FadeOutChannel(ship, ENGINE_FADE_OUT_MS);
    }
}

bool openDevice() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    snd_lib_error_set_handler(quietAlsa);
    // The audio drivers log through SDL (the disk driver warns that it is one).
    SDL_LogSetPriority(SDL_LOG_CATEGORY_AUDIO, SDL_NUM_LOG_PRIORITIES);
    // The name desktop mixers show for the game's stream.
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Kelvidron");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    // No format changes allowed: the sounds are made in exactly this one.
    if (Mix_OpenAudioDevice(SOUND_RATE, AUDIO_S16SYS, 2, DEVICE_BUFFER_FRAMES, nullptr, 0) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

} // namespace

bool startSound() {
    if (on)
        return true;
    if (!openDevice()) {
        std::fprintf(stderr, "Kelvidron: playing without sound (%s)\n", SDL_GetError());
        return false;
    }
    if (!bank) {
        bank = new (std::nothrow)
            Bank{makeShotSound(SHOT_SEED), makeHitSound(HIT_SEED),
                 makeExplosionSound(EXPLOSION_SEED), makeEngineLoop(ENGINE_SEED)};
        // Sounds that cannot be kept end the program, as a shot that cannot be made does.
        if (!bank)
            outOfMemory("the sounds");
        static bool registered = false;
        if (!registered)
            std::atexit(stopSound);
        registered = true;
    }
    shotChunk = chunkOf(bank->shot);
    hitChunk = chunkOf(bank->hit);
    explosionChunk = chunkOf(bank->explosion);
    engineChunk = chunkOf(bank->engine);
    Mix_AllocateChannels(SOUND_CHANNELS);
    Mix_ReserveChannels(FIRST_EFFECT_CHANNEL);
    voices = VoiceChoice();
    for (bool& running : engineRunning)
        running = false;
    on = true;
    return true;
}

void hearStep(const StepEvents& events, bool running) {
    if (!on)
        return;
    const StepSounds sounds = stepSounds(events, running, listener);
    Mix_Chunk* const chunks[] = {shotChunk, hitChunk, explosionChunk};
    for (int e = 0; e < sounds.effectCount; ++e) {
        const EffectStart& effect = sounds.effects[e];
        playEffect(chunks[static_cast<int>(effect.sound)], effect.left, effect.right);
    }
    for (int s = 0; s < shipCount; ++s)
        runEngine(s, sounds.engineRuns[s]);
}

void stopSound() {
    if (!on)
        return;
    on = false;
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
    for (Mix_Chunk** chunk : {&shotChunk, &hitChunk, &explosionChunk, &engineChunk}) {
        Mix_FreeChunk(*chunk);
        *chunk = nullptr;
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool soundIsOn() { return on; }

void hearAsPlayer(int player) { listener = player; }

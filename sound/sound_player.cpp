// The mixer's channels: 0 and 1 carry the engines, the rest are the effect voices,
// grouped so that a new sound takes a free voice or else the oldest one.
#include "sound/sound_player.h"

#include "sound/sound_bank.h"
#include "world/out_of_memory.h"
#include "world/ship.h"
#include "world/step_events.h"
#include "world/world.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <alsa/asoundlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <new>

namespace {

constexpr int EFFECT_GROUP = 1;
constexpr int FIRST_EFFECT_CHANNEL = MAX_SHIPS;
// A device buffer of 512 frames is 11.6 ms: a sound starts at most that long after
// the step that asked for it.
constexpr int DEVICE_BUFFER_FRAMES = 512;
constexpr int ENGINE_FADE_IN_MS = 15;
constexpr int ENGINE_FADE_OUT_MS = 40;

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
int listener = -1;

// ALSA prints several lines of its own when there is no card; the one line that
// matters is ours.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

Mix_Chunk* chunkOf(SoundSamples& sound) {
    return Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(sound.samples.data()),
                             static_cast<Uint32>(sound.samples.size() * sizeof(int16_t)));
}

// Player 1's side is the left, player 2's the right; a single listener hears their
// own ship on both sides and the other not at all.
Uint8 sideLevel(int ship, int side) {
    if (listener >= 0)
        return ship == listener ? 255 : 0;
    return ship == side ? 255 : 0;
}

bool heard(int ship) { return listener < 0 || ship == listener; }

Uint8 level(float gain) {
    return static_cast<Uint8>(std::lround(255.0f * std::fmin(1.0f, std::fmax(0.0f, gain))));
}

void playEffect(Mix_Chunk* chunk, Uint8 left, Uint8 right) {
    int channel = Mix_GroupAvailable(EFFECT_GROUP);
    if (channel < 0) {
        channel = Mix_GroupOldest(EFFECT_GROUP);
        if (channel < 0)
            return;
        Mix_HaltChannel(channel);
    }
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

float explosionGain(float distance) { return 10.0f / (10.0f + distance); }

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
    Mix_AllocateChannels(FIRST_EFFECT_CHANNEL + EFFECT_VOICES);
    Mix_ReserveChannels(FIRST_EFFECT_CHANNEL);
    Mix_GroupChannels(FIRST_EFFECT_CHANNEL, FIRST_EFFECT_CHANNEL + EFFECT_VOICES - 1, EFFECT_GROUP);
    for (bool& running : engineRunning)
        running = false;
    on = true;
    return true;
}

void hearStep(const StepEvents& events, bool running) {
    if (!on)
        return;
    for (int s = 0; s < shipCount; ++s) {
        if (!heard(s))
            continue;
        if (events.hits[s] > 0)
            playEffect(hitChunk, sideLevel(s, 0), sideLevel(s, 1));
        if (events.shotsFired[s] > 0)
            playEffect(shotChunk, sideLevel(s, 0), sideLevel(s, 1));
    }
    // The explosions of one step are one sound, as loud on each side as the nearest
    // of them is to that side's ship.
    const int kept = std::min(events.explosionCount, static_cast<int>(StepEvents::MAX_EXPLOSIONS));
    if (kept > 0) {
        float gain[MAX_SHIPS] = {};
        for (int e = 0; e < kept; ++e)
            for (int s = 0; s < shipCount; ++s)
                gain[s] = std::fmax(
                    gain[s], explosionGain((events.explosionAt[e] - ships[s]->position).length()));
        if (listener >= 0)
            playEffect(explosionChunk, level(gain[listener]), level(gain[listener]));
        else
            playEffect(explosionChunk, level(gain[0]), level(gain[1]));
    }
    for (int s = 0; s < shipCount; ++s)
        runEngine(s, heard(s) && running && ships[s]->thrustIndicator != 0);
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

// Without an audio device the game plays as it always has: one line of ours on
// standard error, none of the audio libraries' own, and the steps unchanged.
#include "unit/world_fixture.h"

#include "sound/sound_player.h"

#include <algorithm>
#include <string>

namespace {

TEST(NoAudioDevice, TheGamePlaysSilentlyAfterOneLineOfOurs) {
    freshWorld();
    // ALSA on a card that no machine here has: the library complains in several
    // lines of its own when it is let.
    setenv("SDL_AUDIODRIVER", "alsa", 1);
    setenv("AUDIODEV", "hw:7", 1);
    testing::internal::CaptureStderr();
    const bool started = startSound();
    const std::string said = testing::internal::GetCapturedStderr();
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("AUDIODEV");

    EXPECT_FALSE(started);
    EXPECT_FALSE(soundIsOn());
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(said.rfind("Kelvidron: playing without sound (", 0), 0u) << said;

    // Thrusting and firing run on as before, with nothing to hear them.
    keyDown('q', 0, 0);
    keyDown('s', 0, 0);
    keyUp('s', 0, 0);
    for (int i = 0; i < 50; ++i)
        simulationStep();
    EXPECT_EQ(entityListCount(projectiles), 1);
    EXPECT_LT(ships[0]->velocity.z, 0.0f);
}

} // namespace

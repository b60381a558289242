// Long play of the simulation: random key input from a fixed seed, one step at a
// time through the key callbacks and simulationStep, with the world's invariants
// checked after every step. KELVIDRON_SOAK_STEPS sets the length (`make soak` plays
// a simulated hour, 360,000 steps; `make test` a shorter stretch).
//
// A ship's 20th hit would freeze the game, and a frozen game tests nothing: whenever
// a ship is down to half its health it gets its 100 back (the hits still happen, with
// their explosions and flashes). Finished explosions leave their list only when they
// are drawn; the soak does what the drawing pass does to them once per step, without
// the drawing.
#include "world_fixture.h"

#include "world/entity_list.h"
#include "world/world_update.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

// Every key the game reads, and a few it does not.
const unsigned char GAME_KEYS[] = {'q', 'a', 'i', 'k', 'j', 'l', 'u', 'o', 's',
                                   '8', '5', '4', '6', '7', '9', 'e', 'r'};
const int GAME_SPECIALS[] = {GLUT_KEY_UP, GLUT_KEY_DOWN, GLUT_KEY_RIGHT, GLUT_KEY_LEFT};

// Each of the world's lists holds pointers to objects made one by one as the game
// needs them; with at most one shot per ship every other step, 500 steps of life
// and explosions that burn out within 150 steps, a few hundred is the most any
// list can need. A list that outgrows this is losing or duplicating objects.
constexpr int LIST_CAPACITY_BOUND = 1000;

int soakSteps() {
    const char* text = std::getenv("KELVIDRON_SOAK_STEPS");
    return text ? std::atoi(text) : 60000;
}

bool finite(const Vec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Unit axes at right angles to each other, within 1e-5.
::testing::AssertionResult orthonormal(const Vec3& right, const Vec3& up, const Vec3& back) {
    for (const Vec3* axis : {&right, &up, &back})
        if (!finite(*axis) || std::fabs(axis->length() - 1.0f) > 1e-5f)
            return ::testing::AssertionFailure() << "axis of length " << axis->length();
    for (float d : {dot(right, up), dot(up, back), dot(back, right)})
        if (!(std::fabs(d) <= 1e-5f))
            return ::testing::AssertionFailure() << "axes at dot product " << d;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult sound(const Body& body) {
    if (!finite(body.position) || !finite(body.velocity))
        return ::testing::AssertionFailure() << "position or velocity not finite";
    return orthonormal(body.right, body.up, body.back);
}

// The objects of one pool: each exactly once in exactly one of its two lists, and
// every object ever seen still there.
template <typename T> class PoolWatch {
public:
    PoolWatch(const char* name, EntityList*& live, EntityList*& spare)
        : name_(name), live_(live), spare_(spare) {}

    ::testing::AssertionResult check() {
        present_.clear();
        for (EntityList* list : {live_, spare_}) {
            if (list->capacity > LIST_CAPACITY_BOUND || list->count > list->capacity)
                return ::testing::AssertionFailure()
                       << name_ << " list holds " << list->count << " of " << list->capacity;
            for (int i = 0; i < entityListCount(list); ++i)
                present_.push_back(entityListPointerAt<T>(list, i));
        }
        std::sort(present_.begin(), present_.end());
        if (std::adjacent_find(present_.begin(), present_.end()) != present_.end())
            return ::testing::AssertionFailure() << name_ << ": an object is listed twice";
        // Objects are never freed, so the set of objects ever seen only grows; a list
        // pair that holds fewer has lost one.
        std::vector<T*> merged;
        std::set_union(seen_.begin(), seen_.end(), present_.begin(), present_.end(),
                       std::back_inserter(merged));
        seen_.swap(merged);
        if (seen_.size() != present_.size())
            return ::testing::AssertionFailure()
                   << name_ << ": " << seen_.size() - present_.size() << " object(s) lost";
        return ::testing::AssertionSuccess();
    }
    size_t objects() const { return seen_.size(); }

private:
    const char* name_;
    EntityList*& live_;
    EntityList*& spare_;
    std::vector<T*> present_;
    std::vector<T*> seen_;
};

// What the drawing pass does to finished explosions.
void retireFinishedExplosions() {
    for (int i = 0; i < entityListCount(explosions);) {
        ParticleSystem* system = liveExplosion(i);
        if (system->liveCount == 0)
            retireExplosion(system);
        else
            ++i;
    }
}

::testing::AssertionResult worldIsSound() {
    for (int s = 0; s < shipCount; ++s) {
        const Ship& ship = *ships[s];
        if (::testing::AssertionResult r = sound(ship); !r)
            return r << " (ship " << s << ")";
        for (int i = 0; i < 3; ++i)
            if (!(std::fabs(ship.position[i]) < ARENA_HALF_SIZE))
                return ::testing::AssertionFailure() << "ship " << s << " outside the arena";
        for (ControlState::Channel c : ControlState::CHANNELS)
            if (!std::isfinite((ship.controls.*c).level))
                return ::testing::AssertionFailure() << "control level not finite";
    }
    for (int k = 0; k < celestialBodyCount; ++k) {
        const CelestialBody& planet = *celestialBodies[k];
        if (::testing::AssertionResult r = sound(planet); !r)
            return r << " (planet " << k << ")";
        if (!std::isfinite(planet.spinAngle) || !std::isfinite(planet.cloudSpinAngle))
            return ::testing::AssertionFailure() << "spin of planet " << k << " not finite";
    }
    for (int i = 0; i < entityListCount(projectiles); ++i) {
        const Projectile& shot = *liveShot(i);
        if (::testing::AssertionResult r = sound(shot); !r)
            return r << " (shot " << i << ")";
        if (!std::isfinite(shot.lifetime))
            return ::testing::AssertionFailure() << "shot lifetime not finite";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult particlesAreSound() {
    for (int i = 0; i < entityListCount(explosions); ++i) {
        const ParticleSystem& system = *liveExplosion(i);
        for (int p = 0; p < system.particleCount; ++p)
            if (system.particles[p].alive &&
                (!finite(system.particles[p].position) || !finite(system.particles[p].velocity)))
                return ::testing::AssertionFailure() << "particle not finite";
    }
    return ::testing::AssertionSuccess();
}

// Random input: mostly the game's own keys, pressed and released at random, now and
// then a key the game does not use or a special-key code outside GLUT's range. In
// one stretch of 1000 steps out of three each player in turn also steers at the
// other and fires, so that hits happen too.
class RandomPlayer {
public:
    explicit RandomPlayer(unsigned seed) : random_(seed) {}

    void play(int step) {
        const int events = std::uniform_int_distribution<int>(0, 2)(random_);
        for (int e = 0; e < events; ++e) {
            const int kind = std::uniform_int_distribution<int>(0, 99)(random_);
            if (kind < 80)
                toggleKey(GAME_KEYS[pick(sizeof GAME_KEYS)]);
            else if (kind < 92)
                toggleSpecial(GAME_SPECIALS[pick(sizeof GAME_SPECIALS / sizeof(int))]);
            else if (kind < 97)
                toggleKey(static_cast<unsigned char>(pick(256)));
            else
                toggleSpecial(std::uniform_int_distribution<int>(-20, 400)(random_));
        }
        const int stretch = step / 1000 % 6;
        if (stretch == 1)
            chase(*ships[0], *ships[1], {'j', 'l', 'i', 'k'}, step);
        else if (stretch == 4)
            chase(*ships[1], *ships[0], {'4', '6', '8', '5'}, step);
    }

private:
    int pick(size_t n) { return std::uniform_int_distribution<int>(0, int(n) - 1)(random_); }
    int position() { return std::uniform_int_distribution<int>(-50, 2000)(random_); }

    void setKey(unsigned char key, bool down) {
        if (keysDown_[key] != down)
            toggleKey(key);
    }
    void toggleKey(unsigned char key) {
        keysDown_[key] = !keysDown_[key];
        if (keysDown_[key])
            keyDown(key, position(), position());
        else
            keyUp(key, position(), position());
    }
    void toggleSpecial(int code) {
        bool& down = specialsDown_[(code % 512 + 512) % 512];
        down = !down;
        if (down)
            specialDown(code, position(), position());
        else
            specialUp(code, position(), position());
    }

    // Holds the yaw and pitch keys (left, right, up, down) that turn the hunter's
    // nose towards the target, and fires every tenth step.
    void chase(const Ship& hunter, const Ship& target, const unsigned char (&turn)[4], int step) {
        const Vec3 d = target.position - hunter.position;
        const float across = dot(d, hunter.right), above = dot(d, hunter.up);
        const float deadBand = 0.003f * d.length();
        setKey(turn[0], across < -deadBand);
        setKey(turn[1], across > deadBand);
        setKey(turn[2], above > deadBand);
        setKey(turn[3], above < -deadBand);
        if (step % 10 == 0) {
            if (&hunter == ships[0]) {
                setKey('s', true);
                setKey('s', false);
            } else {
                specialDown(GLUT_KEY_RIGHT, position(), position());
                specialUp(GLUT_KEY_RIGHT, position(), position());
                specialsDown_[GLUT_KEY_RIGHT] = false;
            }
        }
    }

    std::mt19937 random_;
    bool keysDown_[256] = {};
    bool specialsDown_[512] = {};
};

TEST(Soak, RandomPlayKeepsTheWorldSound) {
    const int steps = soakSteps();
    freshWorld(2024);
    RandomPlayer player(7);
    PoolWatch<Projectile> shots("shot", projectiles, spareProjectiles);
    PoolWatch<ParticleSystem> blasts("explosion", explosions, spareExplosions);
    long restores = 0, hits = 0, explosionsSeen = 0;

    const auto start = std::chrono::steady_clock::now();
    for (int step = 0; step < steps; ++step) {
        player.play(step);
        const int healthBefore[2] = {ships[0]->health, ships[1]->health};
        const int blastsBefore = entityListCount(explosions);
        simulationStep();
        ASSERT_TRUE(gameRunning) << "step " << step;
        for (int s = 0; s < shipCount; ++s) {
            hits += (healthBefore[s] - ships[s]->health) / 5;
            if (ships[s]->health <= 50) {
                ships[s]->health = 100;
                ++restores;
            }
        }
        explosionsSeen += std::max(0, entityListCount(explosions) - blastsBefore);
        ASSERT_TRUE(worldIsSound()) << "step " << step;
        retireFinishedExplosions();
        ASSERT_TRUE(shots.check()) << "step " << step;
        ASSERT_TRUE(blasts.check()) << "step " << step;
        if (step % 97 == 0) {
            ASSERT_TRUE(particlesAreSound()) << "step " << step;
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::printf("soak: %d steps (%.1f simulated minutes) in %.1f s, %.0f steps per second\n", steps,
                steps / 6000.0, seconds, steps / seconds);
    std::printf("soak: %zu shot objects, %zu explosion objects, %ld hits, %ld health "
                "restores, at least %ld explosions\n",
                shots.objects(), blasts.objects(), hits, restores, explosionsSeen);
    RecordProperty("steps_per_second", std::to_string(static_cast<long>(steps / seconds)));
    // The play must have exercised the pools, or the checks above proved little.
    if (steps >= 10000) {
        EXPECT_GT(shots.objects(), 5u);
        EXPECT_GT(explosionsSeen, 5);
    }
}

} // namespace

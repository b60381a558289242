// The contact pass and the update pass: bursts, hits, bounces, the arena, expiry
// and the end of the game.
#include "world_fixture.h"

#include "expect_vec.h"

#include "world/collision.h"
#include "world/entity_list.h"
#include "world/world_update.h"

#include <cmath>

namespace {

TEST_F(WorldTest, ShotsThatMeetBurstTogetherWithOneExplosionMidway) {
    Projectile* a = placeShot(0, 0);
    Projectile* b = placeShot(1, 0.3f);
    resolveCollisions(10);
    EXPECT_EQ(entityListCount(projectiles), 0);
    ASSERT_EQ(entityListCount(explosions), 1);
    expectVec(liveExplosion(0)->origin, 0.15f, 60, 0);
    EXPECT_EQ(spareShot(0), a);
    EXPECT_EQ(spareShot(1), b);
}

TEST_F(WorldTest, OfThreeOverlappingShotsTheLowestIndexedPairBursts) {
    // b is farther from a than c is, but comes first in the list.
    Projectile* a = placeShot(0, 0);
    Projectile* b = placeShot(0, 0.35f);
    Projectile* c = placeShot(0, 0.1f);
    resolveCollisions(10);
    ASSERT_EQ(entityListCount(projectiles), 1);
    EXPECT_EQ(liveShot(0), c);
    EXPECT_EQ(spareShot(0), a);
    EXPECT_EQ(spareShot(1), b);
    ASSERT_EQ(entityListCount(explosions), 1);
    expectVec(liveExplosion(0)->origin, 0.175f, 60, 0);
}

TEST_F(WorldTest, ShotsArePlacedWhereTheyWillBeAtTheEndOfTheStep) {
    // 0.5 apart now (no contact), closing at 0.02 per ms: 0.3 apart after the step.
    Projectile* a = placeShot(0, 0);
    Projectile* b = placeShot(0, 0.5f);
    b->setVelocity(-0.02f, 0, 0);
    resolveCollisions(10);
    EXPECT_EQ(entityListCount(projectiles), 0);
    (void)a;
}

TEST_F(WorldTest, AShotBurstsOnAPlanetWhichDoesNotMove) {
    const CelestialBody& planet = *celestialBodies[2]; // (50, 30, 0), radius 5
    Projectile* shot = placeShot(0, 50, 30, 5.1f);
    shot->setVelocity(0, 0, -0.001f);
    resolveCollisions(10);
    EXPECT_EQ(entityListCount(projectiles), 0);
    ASSERT_EQ(entityListCount(explosions), 1);
    expectVec(liveExplosion(0)->origin, 50, 30, 5.09f); // the box centre after the step
    EXPECT_EQ(planet.velocity.length(), 0.0f);
}

TEST_F(WorldTest, AShipIsNeverHitByItsOwnShot) {
    fireProjectile(0, ships[0]);
    for (int step = 0; step < 3; ++step) {
        resolveCollisions(10);
        updateWorld(10);
    }
    EXPECT_EQ(entityListCount(projectiles), 1);
    EXPECT_EQ(ships[0]->health, 100);
    EXPECT_EQ(hitFlash[0], 0);
}

TEST_F(WorldTest, AHitCostsFiveHealthFlashesDragsTheShipAndExplodesMidway) {
    Ship& target = *ships[0];
    Projectile* shot = fireProjectile(0, ships[1]);
    shot->setPosition(5.3f, 0, 0);
    shot->setVelocity(0.01f, 0, 0);
    resolveCollisions(10);
    EXPECT_EQ(target.health, 95);
    EXPECT_EQ(hitFlash[0], 20);
    EXPECT_EQ(hitFlash[1], 0);
    EXPECT_EQ(entityListCount(projectiles), 0);
    EXPECT_EQ(spareShot(0), shot);
    // (999999 * 0 + 10000 * 0.01) / 1009999 along x.
    EXPECT_NEAR(target.velocity.x, 10000.0 * 0.01 / 1009999.0, 1e-9);
    ASSERT_EQ(entityListCount(explosions), 1);
    // The ship is taken where it will be (still at rest), the shot where it is.
    expectVec(liveExplosion(0)->origin, 5.15f, 0, 0);
}

TEST_F(WorldTest, BounceOffMirrorsTheVelocityAboutThePlanet) {
    Ship& ship = *ships[0];
    const CelestialBody& planet = *celestialBodies[0]; // (10, -15, 25), radius 8
    ship.setPosition(10, -15, 25 - 8.4f);
    ship.setVelocity(0.001f, 0, 0.005f); // into the planet, and along its surface
    const OrientedBox placed = ship.worldBoxAfter(10);
    ASSERT_TRUE(boxTouchesSphere(placed, planet.position, planet.radius));
    resolveCollisions(10);
    expectVec(ship.velocity, 0.001f, 0, -0.005f, 1e-8);
}

TEST_F(WorldTest, BounceOffCoincidentCentresLeavesTheVelocityAlone) {
    Ship& ship = *ships[0];
    const CelestialBody& planet = *celestialBodies[0];
    ship.position = planet.position;
    ship.setVelocity(0.003f, -0.002f, 0.001f);
    bounceOff(ship, planet);
    expectVec(ship.velocity, 0.003f, -0.002f, 0.001f, 0);
    EXPECT_FALSE(std::isnan(ship.velocity.x));
}

TEST_F(WorldTest, TouchingShipsSwapVelocities) {
    ships[0]->setPosition(0.5f, 0, 0);
    ships[0]->setVelocity(-0.002f, 0, 0);
    ships[1]->setPosition(-0.5f, 0, 0);
    ships[1]->setVelocity(0.001f, 0.001f, 0);
    resolveCollisions(10);
    expectVec(ships[0]->velocity, 0.001f, 0.001f, 0, 1e-9f);
    expectVec(ships[1]->velocity, -0.002f, 0, 0, 1e-9f);
}

TEST_F(WorldTest, AShipLeavingTheArenaReappearsAtTheOriginStillMoving) {
    ships[0]->setPosition(69.95f, 0, 0);
    ships[0]->setVelocity(0.005f, 0, 0);
    ships[1]->setPosition(0, -69.0f, 0);
    ships[1]->setVelocity(0, -0.1f, 0); // reaches exactly -70
    updateWorld(10);
    expectVec(ships[0]->position, 0, 0, 0, 0);
    EXPECT_EQ(ships[0]->velocity.x, 0.005f);
    expectVec(ships[1]->position, 0, 0, 0, 0);
    EXPECT_TRUE(gameRunning);
}

TEST_F(WorldTest, UpdateMovesEverythingAndRetiresSpentShots) {
    Projectile* shot = placeShot(0, 0);
    shot->setVelocity(0.001f, 0, 0);
    ships[1]->setVelocity(0, 0, 0.01f);
    for (int i = 0; i < 500; ++i)
        updateWorld(10);
    EXPECT_EQ(liveShot(0), shot);
    EXPECT_NEAR(shot->position.x, 5.0f, 1e-4);
    EXPECT_NEAR(ships[1]->position.z, 50.0f, 1e-3);
    EXPECT_GT(celestialBodies[0]->spinAngle, 0.0);
    updateWorld(10);
    EXPECT_EQ(entityListCount(projectiles), 0);
    EXPECT_EQ(spareShot(0), shot);
}

TEST_F(WorldTest, TheLastHealthEndsTheGameInTheSameStep) {
    ships[1]->setHealth(5);
    Projectile* shot = fireProjectile(0, ships[0]);
    shot->setPosition(-5.3f, 0, 0);
    resolveCollisions(10);
    EXPECT_EQ(ships[1]->health, 0);
    EXPECT_TRUE(gameRunning);
    updateWorld(10);
    EXPECT_FALSE(gameRunning);
}

// The pass tests only the pairs its broad phase finds near. A crowd of turned
// shots, streams along a line and one shot at no place at all must burst exactly
// as the plain loop over every pair would have them: the same pairs, in the same
// order, with the same explosions.
TEST_F(WorldTest, ACrowdOfShotsBurstsAsTheLoopOverEveryPairWould) {
    std::srand(7);
    auto uniform = [](float lo, float hi) {
        return lo + (hi - lo) * static_cast<float>(std::rand()) / RAND_MAX;
    };
    for (int i = 0; i < 160; ++i) {
        Projectile* shot = i < 100
                               ? placeShot(i % 2, uniform(-3, 3), uniform(57, 63), uniform(-3, 3))
                               : placeShot(i % 2, 0.9f * (i % 30), 55, 0.37f * (i / 30));
        shot->turnFrame(uniform(-180, 180), uniform(-180, 180), uniform(-180, 180));
    }
    liveShot(40)->setPosition(NAN, 60, 0);

    std::vector<Projectile*> shots;
    std::vector<OrientedBox> boxes;
    for (int i = 0; i < entityListCount(projectiles); ++i) {
        shots.push_back(liveShot(i));
        boxes.push_back(liveShot(i)->worldBoxAfter(10));
    }
    std::vector<Projectile*> expectedSpare;
    std::vector<Vec3> expectedBursts;
    for (size_t i = 0; i < shots.size();) {
        size_t j = i + 1;
        while (j < shots.size() && !boxesOverlap(boxes[i], boxes[j]))
            ++j;
        if (j == shots.size()) {
            ++i;
            continue;
        }
        expectedSpare.insert(expectedSpare.end(), {shots[i], shots[j]});
        expectedBursts.push_back(0.5f * (boxes[i].centre + boxes[j].centre));
        for (size_t k : {j, i}) {
            shots.erase(shots.begin() + static_cast<long>(k));
            boxes.erase(boxes.begin() + static_cast<long>(k));
        }
    }
    ASSERT_GT(expectedBursts.size(), 20u);

    resolveCollisions(10);
    ASSERT_EQ(entityListCount(spareProjectiles), static_cast<int>(expectedSpare.size()));
    for (size_t k = 0; k < expectedSpare.size(); ++k)
        EXPECT_EQ(spareShot(static_cast<int>(k)), expectedSpare[k]) << k;
    ASSERT_EQ(entityListCount(explosions), static_cast<int>(expectedBursts.size()));
    for (size_t k = 0; k < expectedBursts.size(); ++k) {
        const Vec3 at = liveExplosion(static_cast<int>(k))->origin;
        const Vec3& expected = expectedBursts[k];
        for (int c = 0; c < 3; ++c)
            EXPECT_TRUE(at[c] == expected[c] || (std::isnan(at[c]) && std::isnan(expected[c])))
                << k;
    }
}

} // namespace

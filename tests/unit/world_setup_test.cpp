// The initial world, and shots and explosions moving between their live lists and
// their pools.
#include "world_fixture.h"

#include "assets/textures.h"
#include "memory_exhaustion.h"
#include "render/planet_textures.h"
#include "world/entity_list.h"

namespace {

TEST_F(WorldTest, InitialSceneHoldsFivePlanetsTwoShipsAndATemplate) {
    // Every slot a name of its own, so that a planet wearing another slot's texture
    // shows; the renderer hands them to the world the way start-up does.
    for (int slot = 0; slot < TEXTURE_SLOT_COUNT; ++slot)
        textureNames[slot] = 100u + static_cast<unsigned>(slot);
    fillPlanetTextures();
    freshWorld();
    std::fill(std::begin(textureNames), std::end(textureNames), 0u);
    std::fill(std::begin(planetTextures), std::end(planetTextures), PlanetTextures{});
    ASSERT_EQ(celestialBodyCount, 5);
    struct Expected {
        float x, y, z, radius;
        int surfaceSlot;
        double spinRate;
        int model;
    };
    const Expected table[5] = {
        {10, -15, 25, 8.0f, TEX_PLANET, 0.006000000052154064, -1},
        {30, -6, -18, 4.0f, TEX_EARTH, 0.006, 0},
        {50, 30, 0, 5.0f, TEX_RUST, 0.009999999776482582, 1},
        {35, -20, 20, 4.0f, TEX_VENUS, 0.009999999776482582, 3},
        {-50, 10, -40, 4.3f, TEX_MARS, 0.006000000052154064, 2},
    };
    for (int k = 0; k < 5; ++k) {
        const CelestialBody& p = *celestialBodies[k];
        SCOPED_TRACE(k);
        EXPECT_EQ(p.position.x, table[k].x);
        EXPECT_EQ(p.position.y, table[k].y);
        EXPECT_EQ(p.position.z, table[k].z);
        EXPECT_EQ(p.radius, table[k].radius);
        EXPECT_TRUE(p.hasSurfaceTexture);
        EXPECT_EQ(p.surfaceTexture, 100 + table[k].surfaceSlot);
        EXPECT_EQ(p.spinRate, table[k].spinRate);
        EXPECT_EQ(p.useModel, table[k].model >= 0);
        EXPECT_EQ(p.modelIndex, table[k].model);
        EXPECT_EQ(p.hasClouds, k == 1);
        EXPECT_EQ(p.modelScale, 1.0f);
        EXPECT_EQ(p.mass, 10000);
    }
    EXPECT_EQ(celestialBodies[1]->cloudSpinRate, 0.004000000189989805);
    EXPECT_EQ(celestialBodies[1]->cloudTexture, 100 + TEX_CLOUDS);

    ASSERT_EQ(shipCount, 2);
    EXPECT_EQ(ships[0]->position.x, 5.0f);
    EXPECT_EQ(ships[1]->position.x, -5.0f);
    for (Ship* ship : ships) {
        EXPECT_EQ(ship->health, 100);
        EXPECT_EQ(ship->mass, 999999);
        EXPECT_EQ(ship->maxSpeed, 0.01);
        EXPECT_EQ(ship->back.z, 1.0f);
        EXPECT_EQ(ship->velocity.length(), 0.0f);
    }

    const Projectile& shotTemplate = *projectileTemplates[0];
    EXPECT_EQ(shotTemplate.lifetime, 5000.0f);
    EXPECT_EQ(shotTemplate.launchSpeed, 0.01f);
    EXPECT_EQ(shotTemplate.health, 10);
    EXPECT_EQ(shotTemplate.box.halfExtents.x, 0.2f);

    for (EntityList* list : {projectiles, spareProjectiles, explosions, spareExplosions}) {
        EXPECT_EQ(entityListCount(list), 0);
        EXPECT_EQ(list->capacity, 25);
        EXPECT_EQ(list->elementSize, static_cast<int>(sizeof(void*)));
    }
}

TEST_F(WorldTest, TheMostRecentlyRetiredShotIsReusedFirst) {
    Projectile* a = placeShot(0, 0);
    Projectile* b = placeShot(0, 2);
    Projectile* c = placeShot(0, 4);
    retireProjectile(b);
    retireProjectile(a);
    ASSERT_EQ(entityListCount(projectiles), 1);
    EXPECT_EQ(liveShot(0), c);
    ASSERT_EQ(entityListCount(spareProjectiles), 2);

    // A reused shot carries nothing of its last flight.
    a->lifetime = 3;
    ships[1]->setVelocity(0, 0.002f, 0);
    EXPECT_EQ(fireProjectile(0, ships[1]), a);
    EXPECT_EQ(a->getOwner(), ships[1]);
    EXPECT_EQ(a->lifetime, 5000.0f);
    EXPECT_EQ(a->position.x, -5.0f);
    EXPECT_NEAR(a->velocity.y, 0.002f, 1e-9);
    EXPECT_NEAR(a->velocity.z, -0.01f, 1e-9);
    EXPECT_EQ(fireProjectile(0, ships[0]), b);
    Projectile* fresh = fireProjectile(0, ships[0]);
    EXPECT_TRUE(fresh != a && fresh != b && fresh != c);
    // Live shots stay in firing order.
    EXPECT_EQ(liveShot(0), c);
    EXPECT_EQ(liveShot(1), a);
    EXPECT_EQ(liveShot(2), b);
    EXPECT_EQ(liveShot(3), fresh);
}

TEST_F(WorldTest, RetiringAShotThatIsNotLiveChangesNothing) {
    Projectile* a = placeShot(0, 0);
    retireProjectile(a);
    retireProjectile(a);
    EXPECT_EQ(entityListCount(spareProjectiles), 1);
    // Otherwise two shots fired now would be one object.
    Projectile* first = fireProjectile(0, ships[0]);
    Projectile* second = fireProjectile(0, ships[0]);
    EXPECT_NE(first, second);
}

TEST_F(WorldTest, AFinishedExplosionIsReusedWithItsColoursAndNewDirections) {
    spawnExplosion(Vec3(1, 2, 3));
    ASSERT_EQ(entityListCount(explosions), 1);
    ParticleSystem* system = liveExplosion(0);
    const Particle first = system->particles[7];
    const Vec3 firstDirection = first.acceleration;
    retireExplosion(system);
    EXPECT_EQ(entityListCount(explosions), 0);
    ASSERT_EQ(entityListCount(spareExplosions), 1);

    spawnExplosion(Vec3(-4, 0, 0));
    EXPECT_EQ(liveExplosion(0), system);
    EXPECT_EQ(entityListCount(spareExplosions), 0);
    const Particle& again = system->particles[7];
    EXPECT_EQ(again.red, first.red);
    EXPECT_EQ(again.fadeRate, first.fadeRate);
    EXPECT_EQ(again.position.x, -4.0f);
    EXPECT_EQ(again.life, 1.0f);
    EXPECT_EQ(system->liveCount, 300);
    // A new direction of the same strength (it depends only on the fade rate).
    EXPECT_NEAR(again.acceleration.length(), firstDirection.length(), 1e-9);
    bool anyDirectionChanged = false;
    for (int i = 0; i < 300; ++i)
        anyDirectionChanged |= system->particles[i].acceleration.x != first.acceleration.x;
    EXPECT_TRUE(anyDirectionChanged);
}

TEST_F(WorldTest, ShotAllocationFailureEndsTheProgramWithAMessage) {
    SKIP_WHERE_MEMORY_CANNOT_RUN_OUT();
    EXPECT_EXIT(
        {
            exhaustMemory();
            fireProjectile(0, ships[0]);
        },
        testing::ExitedWithCode(1), "Kelvidron: out of memory while making a shot");
}

TEST_F(WorldTest, ExplosionAllocationFailureEndsTheProgramWithAMessage) {
    SKIP_WHERE_MEMORY_CANNOT_RUN_OUT();
    EXPECT_EXIT(
        {
            exhaustMemory();
            spawnExplosion(Vec3(0, 0, 0));
        },
        testing::ExitedWithCode(1), "Kelvidron: out of memory while making an explosion");
}

} // namespace

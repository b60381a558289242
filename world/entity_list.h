// The pooled lists: EntityList, a growable array of object pointers that grows by its
// initial capacity and never shrinks; the pool pattern over two such lists, where
// objects move between a live list and a spare one instead of being freed; and the
// game's two pools, of shots and of explosions (the lists themselves are the world's,
// world/world.h).
#pragma once

#include "math/vec3.h"

#include <cstring>

class ParticleSystem;
class Projectile;
class Ship;

struct EntityList {
    // Storage for at least capacity elements.
    void* data;
    // Bytes per element: sizeof(void*) for every list of the game.
    int elementSize;
    // Elements added at each growth: the initial capacity, or 8 if that was 0.
    int growBy;
    // Elements in use, contiguous from index 0.
    int count;
    int capacity;
};

// Returns 0 when two elements hold the same value, non-zero otherwise.
using EntityCompare = int (*)(const void* a, const void* b);

// A new list, or nullptr when its storage cannot be had.
EntityList* entityListCreate(int elementSize, int initialCapacity);
int entityListCount(const EntityList* list);
// Address of element i; callers keep 0 <= i < count.
void* entityListAt(const EntityList* list, int i);
// Copies one element to the end, growing the storage first when it is full. A failed
// growth ends the program (there is nowhere to keep the element).
void entityListAppend(EntityList* list, const void* element);
// Removes element i, keeping the order of the rest; returns the new count.
int entityListRemoveAt(EntityList* list, int i);
// The first index from start whose element compares equal to key, or -1.
int entityListFind(const EntityList* list, const void* key, EntityCompare compare, int start);
// 0 when the two elements hold the same pointer, 1 otherwise.
int samePointer(const void* a, const void* b);

// Typed access to lists of object pointers. Pointers are stored as void*, so an
// object must be read back as the type it was appended as.
template <typename T> T* entityListPointerAt(const EntityList* list, int i) {
    void* p;
    std::memcpy(&p, entityListAt(list, i), sizeof p);
    return static_cast<T*>(p);
}
template <typename T> void entityListAppendPointer(EntityList* list, T* object) {
    void* p = object;
    entityListAppend(list, &p);
}

// The pool pattern: the most recently retired object is the next one reused.
// Removes and returns the last object of the pool, or nullptr when it is empty.
void* takeFromPool(EntityList* pool);
// Moves object from the live list to the end of the pool, keeping the order of the
// rest of the live list. An object that is not live is left alone: putting it in the
// pool a second time would later hand one object out for two uses.
void retireToPool(void* object, EntityList* live, EntityList* pool);

// Shots: spareProjectiles holds the retired ones, projectiles the live ones.
// Reuses the most recently retired shot (or makes one), launches it from the ship
// with the template of that kind, and appends it to the live shots.
Projectile* fireProjectile(int kind, Ship* firingShip);
// Takes a live shot out of play into the spare pool.
void retireProjectile(Projectile* shot);

// Explosions: spareExplosions holds the finished systems, explosions the burning ones.
// Restarts the most recently retired system at position (or makes one) and appends
// it to the burning explosions.
void spawnExplosion(Vec3 position);
// Takes a finished system out of the burning explosions into the spare pool.
void retireExplosion(ParticleSystem* system);
// What drawing does for explosions, for a duel run with no drawing (a replay checked,
// a duel measured): retires every one with no live particle left, so that the list
// stays as short as the game's.
void retireBurntOutExplosions();

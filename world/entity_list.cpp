// The growable list, the pool pattern, and the pools of shots and explosions.
#include "world/entity_list.h"

#include "world/out_of_memory.h"
#include "world/particle_system.h"
#include "world/projectile.h"
#include "world/step_events.h"
#include "world/world.h"

#include <cassert>
#include <cstdlib>
#include <new>

EntityList* entityListCreate(int elementSize, int initialCapacity) {
    assert(elementSize > 0 && "an element needs at least one byte");
    assert(initialCapacity >= 0 && "the initial capacity cannot be negative");
    EntityList* list = static_cast<EntityList*>(std::malloc(sizeof(EntityList)));
    // The caller decides (setUpWorld ends the program).
    if (!list)
        return nullptr;
    list->elementSize = elementSize;
    list->growBy = initialCapacity != 0 ? initialCapacity : 8;
    list->capacity = initialCapacity;
    list->count = 0;
    list->data = std::malloc(static_cast<size_t>(elementSize) * list->growBy);
    if (!list->data) {
        std::free(list);
        return nullptr;
    }
    return list;
}

int entityListCount(const EntityList* list) { return list->count; }

void* entityListAt(const EntityList* list, int i) {
    assert(i >= 0 && i < list->count && "entity list index out of range");
    return static_cast<char*>(list->data) + static_cast<size_t>(i) * list->elementSize;
}

void entityListAppend(EntityList* list, const void* element) {
    if (list->count == list->capacity) {
        const int grown = list->capacity + list->growBy;
        void* data = std::realloc(list->data, static_cast<size_t>(grown) * list->elementSize);
        // A list that cannot grow ends the program.
        if (!data)
            outOfMemory("room in a list of shots or explosions");
        list->data = data;
        list->capacity = grown;
    }
    std::memcpy(static_cast<char*>(list->data) +
                    static_cast<size_t>(list->count) * list->elementSize,
                element, list->elementSize);
    ++list->count;
}

int entityListRemoveAt(EntityList* list, int i) {
    assert(i >= 0 && i < list->count && "entity list index out of range");
    if (i != list->count - 1) {
        char* at = static_cast<char*>(list->data) + static_cast<size_t>(i) * list->elementSize;
        std::memmove(at, at + list->elementSize,
                     static_cast<size_t>(list->count - i - 1) * list->elementSize);
    }
    return --list->count;
}

int entityListFind(const EntityList* list, const void* key, EntityCompare compare, int start) {
    if (list->count == 0)
        return -1;
    for (int i = start < 0 ? 0 : start; i < list->count; ++i)
        if (compare(entityListAt(list, i), key) == 0)
            return i;
    return -1;
}

int samePointer(const void* a, const void* b) {
    void* pa;
    void* pb;
    std::memcpy(&pa, a, sizeof pa);
    std::memcpy(&pb, b, sizeof pb);
    return pa == pb ? 0 : 1;
}

void* takeFromPool(EntityList* pool) {
    const int count = entityListCount(pool);
    if (count == 0)
        return nullptr;
    void* object = entityListPointerAt<void>(pool, count - 1);
    entityListRemoveAt(pool, count - 1);
    return object;
}

void retireToPool(void* object, EntityList* live, EntityList* pool) {
    const int index = entityListFind(live, &object, samePointer, 0);
    if (index < 0)
        return;
    entityListAppendPointer(pool, object);
    entityListRemoveAt(live, index);
}

Projectile* fireProjectile(int kind, Ship* firingShip) {
    assert(kind >= 0 && kind < PROJECTILE_KIND_COUNT && projectileTemplates[kind] &&
           "fire only kinds whose template setUpWorld made");
    const Projectile& templateShot = *projectileTemplates[kind];
    Projectile* shot = static_cast<Projectile*>(takeFromPool(spareProjectiles));
    if (shot) {
        shot->launch(templateShot, firingShip);
    } else {
        shot = new (std::nothrow) Projectile(templateShot, firingShip);
        // A shot that cannot be made ends the program.
        if (!shot)
            outOfMemory("a shot");
    }
    entityListAppendPointer(projectiles, shot);
    return shot;
}

void retireProjectile(Projectile* shot) { retireToPool(shot, projectiles, spareProjectiles); }

void spawnExplosion(Vec3 position) {
    ParticleSystem* system = static_cast<ParticleSystem*>(takeFromPool(spareExplosions));
    if (system) {
        system->rearm(position);
    } else {
        system = new (std::nothrow) ParticleSystem(position);
        // An explosion that cannot be made ends the program, as a shot does.
        if (!system)
            outOfMemory("an explosion");
    }
    entityListAppendPointer(explosions, system);
    noteExplosion(position);
}

void retireExplosion(ParticleSystem* system) { retireToPool(system, explosions, spareExplosions); }

void retireBurntOutExplosions() {
    for (int i = entityListCount(explosions) - 1; i >= 0; --i) {
        ParticleSystem* system = entityListPointerAt<ParticleSystem>(explosions, i);
        if (system->liveCount <= 0)
            retireExplosion(system);
    }
}

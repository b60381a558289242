// Taking from and returning to a pool.
#include "world/entity_pool.h"

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

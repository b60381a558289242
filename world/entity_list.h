// EntityList: a growable array of fixed-size elements (here object pointers) that
// grows by its initial capacity, never by a factor, and never shrinks.
#pragma once

#include <cstring>

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

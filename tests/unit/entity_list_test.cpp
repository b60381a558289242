// The growable list: additive growth, removal keeping order, search by pointer,
// pointer-sized elements, and what happens when memory runs out.
#include "world/entity_list.h"

#include "memory_exhaustion.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

// The game never frees a list; a test releases the ones it made, so that the leak
// checker of the sanitized build sees none.
struct ReleaseList {
    void operator()(EntityList* list) const {
        if (list)
            std::free(list->data);
        std::free(list);
    }
};
using OwnedList = std::unique_ptr<EntityList, ReleaseList>;

int intAt(const EntityList* list, int i) { return *static_cast<int*>(entityListAt(list, i)); }

TEST(EntityList, GrowsByItsInitialCapacityKeepingTheElements) {
    OwnedList owned(entityListCreate(sizeof(int), 25));
    EntityList* list = owned.get();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->growBy, 25);
    for (int i = 0; i < 25; ++i)
        entityListAppend(list, &i);
    EXPECT_EQ(list->capacity, 25);
    const int extra = 25;
    entityListAppend(list, &extra);
    EXPECT_EQ(list->capacity, 50);
    EXPECT_EQ(entityListCount(list), 26);
    for (int i = 0; i < 26; ++i)
        EXPECT_EQ(intAt(list, i), i);
    for (int i = 26; i < 51; ++i)
        entityListAppend(list, &i);
    EXPECT_EQ(list->capacity, 75); // additive: 25, 50, 75
}

TEST(EntityList, ZeroInitialCapacityGrowsByEight) {
    OwnedList owned(entityListCreate(sizeof(int), 0));
    EntityList* list = owned.get();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->growBy, 8);
    EXPECT_EQ(list->capacity, 0);
    const int one = 1;
    entityListAppend(list, &one);
    EXPECT_EQ(list->capacity, 8);
    EXPECT_EQ(intAt(list, 0), 1);
}

TEST(EntityList, RemoveKeepsTheOrderOfTheRest) {
    OwnedList owned(entityListCreate(sizeof(int), 4));
    EntityList* list = owned.get();
    for (int v : {10, 20, 30})
        entityListAppend(list, &v);
    EXPECT_EQ(entityListRemoveAt(list, 2), 2);
    EXPECT_EQ(intAt(list, 0), 10);
    EXPECT_EQ(intAt(list, 1), 20);
    const int v = 30;
    entityListAppend(list, &v);
    EXPECT_EQ(entityListRemoveAt(list, 0), 2);
    EXPECT_EQ(intAt(list, 0), 20);
    EXPECT_EQ(intAt(list, 1), 30);
}

TEST(EntityList, HoldsWholePointersAndFindsThemByIdentity) {
    OwnedList owned(entityListCreate(sizeof(void*), 25));
    EntityList* list = owned.get();
    int a = 0, b = 0, c = 0;
    EXPECT_EQ(entityListFind(list, &a, samePointer, 0), -1); // empty
    // An address above 4 GiB would be cut in half by four-byte elements.
    int* high = reinterpret_cast<int*>(static_cast<uintptr_t>(0x7fff12345678ull));
    entityListAppendPointer(list, &a);
    entityListAppendPointer(list, &b);
    entityListAppendPointer(list, &a);
    entityListAppendPointer(list, high);
    EXPECT_EQ(entityListPointerAt<int>(list, 3), high);
    int* key = &a;
    EXPECT_EQ(entityListFind(list, &key, samePointer, 0), 0);
    EXPECT_EQ(entityListFind(list, &key, samePointer, 1), 2);
    key = &c;
    EXPECT_EQ(entityListFind(list, &key, samePointer, 0), -1);
    key = high;
    EXPECT_EQ(entityListFind(list, &key, samePointer, 0), 3);
}

TEST(EntityListDeathTest, FailedGrowthEndsTheProgramWithAMessage) {
    SKIP_WHERE_MEMORY_CANNOT_RUN_OUT();
    OwnedList owned(entityListCreate(sizeof(void*), 1 << 16));
    EntityList* list = owned.get();
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < (1 << 16); ++i)
        entityListAppendPointer(list, &i);
    EXPECT_EXIT(
        {
            exhaustMemory();
            entityListAppendPointer(list, list);
        },
        testing::ExitedWithCode(1), "Kelvidron: out of memory while making room in a list");
}

TEST(EntityListDeathTest, CreateReportsFailureWithNoList) {
    SKIP_WHERE_MEMORY_CANNOT_RUN_OUT();
    EXPECT_EXIT(
        {
            exhaustMemory();
            std::exit(entityListCreate(sizeof(void*), 1 << 20) == nullptr ? 3 : 4);
        },
        testing::ExitedWithCode(3), "");
}

} // namespace

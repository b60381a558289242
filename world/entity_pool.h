// The pool pattern: objects move between a live list and a spare list instead of
// being freed, and the most recently retired object is the next one reused.
#pragma once

#include "world/entity_list.h"

// Removes and returns the last object of the pool, or nullptr when it is empty.
void* takeFromPool(EntityList* pool);

// Moves object from the live list to the end of the pool, keeping the order of the
// rest of the live list. An object that is not live is left alone: putting it in the
// pool a second time would later hand one object out for two uses.
void retireToPool(void* object, EntityList* live, EntityList* pool);

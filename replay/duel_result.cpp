// The duel's result from the ships' health.
#include "replay/duel_result.h"

#include "world/ship.h"
#include "world/world.h"
#include "world/world_update.h"

DuelResult duelResultNow() {
    if (gameRunning)
        return DuelResult::Unfinished;
    const bool oneAlive = ships[0]->health > 0;
    const bool twoAlive = ships[1]->health > 0;
    if (oneAlive == twoAlive)
        return DuelResult::BothDestroyed;
    return oneAlive ? DuelResult::PlayerOneWins : DuelResult::PlayerTwoWins;
}

const char* duelResultText(DuelResult r) {
    switch (r) {
    case DuelResult::PlayerOneWins:
        return "player 1 wins";
    case DuelResult::PlayerTwoWins:
        return "player 2 wins";
    case DuelResult::BothDestroyed:
        return "both ships destroyed";
    default:
        return "unfinished";
    }
}

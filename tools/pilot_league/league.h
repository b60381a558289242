// Duels between contenders without a window, on the duel's own step, and the figures
// gathered over many of them: wins, time to win, hit ratio and planet contacts.
#pragma once

#include "replay/duel_result.h"

#include "sparring.h"

#include <cstdint>
#include <string>
#include <vector>

class ReplayWriter;

// A duel ends when a ship's health is gone or after this many steps (five minutes).
constexpr long DUEL_STEP_LIMIT = 30000;

struct DuelOutcome {
    DuelResult result = DuelResult::Unfinished;
    long steps = 0;
    // Per ship.
    int shots[2] = {0, 0};
    int hitsLanded[2] = {0, 0};
    // Steps in which a ship began to touch a planet (within a tenth of a unit more
    // than the contact rule's own reach, so a contact is never missed).
    int planetContacts[2] = {0, 0};
    // Times a ship went past the ±70 edge and was put back at the origin.
    int edgeResets[2] = {0, 0};
};

// Steps the current world until the duel ends or maxSteps; each step's input and the
// hash after it go to `writer` when given.
DuelOutcome runDuel(Contender& shipOne, Contender& shipTwo, long maxSteps,
                    ReplayWriter* writer = nullptr);

// The world as the game starts it, with the C library's random sequence at seed 1 (the
// explosions' particles draw from it).
constexpr uint32_t DUEL_RAND_SEED = 1;
void freshDuelWorld();

// Which contender flies which ship in duel `index` of a pairing, and with which seeds:
// the sides alternate so that neither ship's place favours one of them.
struct DuelSetup {
    int subjectShip;
    uint32_t subjectSeed;
    uint32_t opponentSeed;
};
DuelSetup duelSetup(int index);

// Plays one duel of a pairing as duelSetup says, on a fresh world.
DuelOutcome runPairingDuel(const std::string& subject, const std::string& opponent, int index,
                           ReplayWriter* writer = nullptr);

struct PairingFigures {
    std::string subject;
    std::string opponent;
    int duels = 0;
    int wins = 0;
    int losses = 0;
    // Medians over the subject's won duels, in seconds; 0 without a win.
    double medianSecondsToWin = 0.0;
    int shots = 0;
    int hits = 0;
    int subjectPlanetContacts = 0;
    int opponentPlanetContacts = 0;
    int subjectEdgeResets = 0;
    double subjectFlightSeconds = 0.0;
};

// `duels` duels of subject against opponent; `progress` is told after each.
PairingFigures measurePairing(const std::string& subject, const std::string& opponent, int duels,
                              void (*progress)() = nullptr);

// Running duels headless and counting what happened in them.
#include "league.h"

#include "replay/replay_file.h"
#include "world/celestial_body.h"
#include "world/collision.h"
#include "world/contact_rules.h"
#include "world/duel_state.h"
#include "world/duel_step.h"
#include "world/ship.h"
#include "world/step_events.h"
#include "world/world.h"
#include "world/world_update.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool touchesPlanet(const Ship& ship) {
    const OrientedBox box(ship.box.getHalfExtents(), ship.position, ship.right, ship.up, ship.back);
    for (int k = 0; k < celestialBodyCount; ++k)
        if (boxTouchesSphere(box, celestialBodies[k]->position,
                             celestialBodies[k]->getRadius() + 0.1f))
            return true;
    return false;
}

} // namespace

void freshDuelWorld() {
    std::srand(DUEL_RAND_SEED);
    gameRunning = true;
    hitFlash[0] = hitFlash[1] = 0;
    setUpWorld();
}

DuelOutcome runDuel(Contender& shipOne, Contender& shipTwo, long maxSteps, ReplayWriter* writer) {
    DuelOutcome out;
    bool touching[2] = {false, false};
    while (gameRunning && out.steps < maxSteps) {
        const Vec3 before[2] = {ships[0]->position, ships[1]->position};
        StepInput input;
        input.ships[0] = shipOne.decide();
        input.ships[1] = shipTwo.decide();
        runDuelStep(input);
        retireBurntOutExplosions();
        ++out.steps;
        if (writer)
            writer->addStep(input, duelStateHash);
        for (int s = 0; s < 2; ++s) {
            out.shots[s] += stepEvents.shotsFired[s];
            // A hit is recorded against the ship that took it.
            out.hitsLanded[s] += stepEvents.hits[1 - s];
            // Put back at the origin: no step moves a ship that far otherwise.
            if ((ships[s]->position - before[s]).length() > 10.0f)
                ++out.edgeResets[s];
            const bool now = touchesPlanet(*ships[s]);
            if (now && !touching[s])
                ++out.planetContacts[s];
            touching[s] = now;
        }
    }
    out.result = duelResultNow();
    return out;
}

DuelSetup duelSetup(int index) {
    return DuelSetup{index % 2 == 0 ? 1 : 0, 1000u + static_cast<uint32_t>(index),
                     2000u + static_cast<uint32_t>(index)};
}

DuelOutcome runPairingDuel(const std::string& subject, const std::string& opponent, int index,
                           ReplayWriter* writer) {
    const DuelSetup setup = duelSetup(index);
    std::unique_ptr<Contender> s = makeContender(subject, setup.subjectShip, setup.subjectSeed);
    std::unique_ptr<Contender> o =
        makeContender(opponent, 1 - setup.subjectShip, setup.opponentSeed);
    freshDuelWorld();
    return setup.subjectShip == 0 ? runDuel(*s, *o, DUEL_STEP_LIMIT, writer)
                                  : runDuel(*o, *s, DUEL_STEP_LIMIT, writer);
}

PairingFigures measurePairing(const std::string& subject, const std::string& opponent, int duels,
                              void (*progress)()) {
    PairingFigures f;
    f.subject = subject;
    f.opponent = opponent;
    std::vector<double> winTimes;
    for (int i = 0; i < duels; ++i) {
        const DuelOutcome d = runPairingDuel(subject, opponent, i);
        const int me = duelSetup(i).subjectShip;
        ++f.duels;
        const DuelResult won = me == 0 ? DuelResult::PlayerOneWins : DuelResult::PlayerTwoWins;
        const DuelResult lost = me == 0 ? DuelResult::PlayerTwoWins : DuelResult::PlayerOneWins;
        if (d.result == won) {
            ++f.wins;
            winTimes.push_back(static_cast<double>(d.steps) * DUEL_STEP_MS / 1000.0);
        } else if (d.result == lost) {
            ++f.losses;
        }
        f.shots += d.shots[me];
        f.hits += d.hitsLanded[me];
        f.subjectPlanetContacts += d.planetContacts[me];
        f.opponentPlanetContacts += d.planetContacts[1 - me];
        f.subjectEdgeResets += d.edgeResets[me];
        f.subjectFlightSeconds += static_cast<double>(d.steps) * DUEL_STEP_MS / 1000.0;
        if (progress)
            progress();
    }
    if (!winTimes.empty()) {
        std::sort(winTimes.begin(), winTimes.end());
        const size_t n = winTimes.size();
        f.medianSecondsToWin =
            n % 2 ? winTimes[n / 2] : 0.5 * (winTimes[n / 2 - 1] + winTimes[n / 2]);
    }
    return f;
}

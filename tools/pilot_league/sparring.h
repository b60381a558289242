// The pilot's sparring partners, and one way to name every contender: programs that
// fly a ship through step inputs, since a key script cannot react to the duel.
#pragma once

#include "world/step_input.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Contender {
public:
    virtual ~Contender() = default;
    // This step's input for the contender's ship.
    virtual ShipInput decide() = 0;
};

// "still", "straight", "circling", "turning" (turns away whenever it is aimed at),
// "aimer" (a beginner's stand-in: aims at where the other ship is and fires), or
// "level1" to "level3" (the computer pilot). Null for an unknown name.
std::unique_ptr<Contender> makeContender(const std::string& name, int ship, uint32_t seed);

// Every name makeContender knows, sparring partners first.
const std::vector<std::string>& contenderNames();

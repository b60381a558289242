// Gamepads through SDL's game controller API: pads in the order they were plugged
// in, the two players' seats, and the mapping of sticks, triggers and buttons.
#include "input/gamepads.h"

#include <SDL.h>

#include <vector>

namespace {

struct AxisRow {
    SDL_GameControllerAxis axis;
    int direction; // -1: held when pushed towards the negative end
    PadControl control;
};

// SDL's sticks read negative when pushed forward or left. Forward pitches the nose
// down and back pulls it up, as a flight stick does.
const AxisRow AXIS_ROWS[] = {
    {SDL_CONTROLLER_AXIS_LEFTY, -1, PAD_PITCH_DOWN},
    {SDL_CONTROLLER_AXIS_LEFTY, +1, PAD_PITCH_UP},
    {SDL_CONTROLLER_AXIS_LEFTX, -1, PAD_YAW_LEFT},
    {SDL_CONTROLLER_AXIS_LEFTX, +1, PAD_YAW_RIGHT},
    {SDL_CONTROLLER_AXIS_TRIGGERRIGHT, +1, PAD_THRUST_FORWARD},
    {SDL_CONTROLLER_AXIS_TRIGGERLEFT, +1, PAD_THRUST_REVERSE},
};

struct ButtonRow {
    SDL_GameControllerButton button;
    PadControl control;
};

// The database names buttons by their place: A is the south face button.
const ButtonRow BUTTON_ROWS[] = {
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, PAD_ROLL_LEFT},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, PAD_ROLL_RIGHT},
    {SDL_CONTROLLER_BUTTON_A, PAD_FIRE},
};

constexpr int NO_PLAYER = -1;

struct Pad {
    SDL_GameController* controller;
    SDL_JoystickID id;
    // NO_PLAYER while both players have a pad: the pad waits for a free seat.
    int player;
    bool held[PAD_CONTROL_COUNT];
};

bool started = false;
// In the order they were plugged in, so a waiting pad that was there first takes
// the next free player.
std::vector<Pad> pads;

bool pastDeadZone(int value, int direction) { return value * direction > PAD_DEAD_ZONE; }

void setHeld(Pad& pad, PadControl control, bool held, PadChange change) {
    if (pad.held[control] == held)
        return;
    pad.held[control] = held;
    change(pad.player, control, held);
}

void applyAxis(Pad& pad, int axis, int value, PadChange change) {
    for (const AxisRow& row : AXIS_ROWS)
        if (row.axis == axis)
            setHeld(pad, row.control, pastDeadZone(value, row.direction), change);
}

void applyButton(Pad& pad, int button, bool down, PadChange change) {
    for (const ButtonRow& row : BUTTON_ROWS)
        if (row.button == button)
            setHeld(pad, row.control, down, change);
}

// A pad taking a seat brings what it holds at that moment.
void takeSeat(Pad& pad, int player, PadChange change) {
    pad.player = player;
    for (const AxisRow& row : AXIS_ROWS)
        applyAxis(pad, row.axis, SDL_GameControllerGetAxis(pad.controller, row.axis), change);
    for (const ButtonRow& row : BUTTON_ROWS)
        applyButton(pad, row.button, SDL_GameControllerGetButton(pad.controller, row.button) != 0,
                    change);
}

bool seatTaken(int player) {
    for (const Pad& pad : pads)
        if (pad.player == player)
            return true;
    return false;
}

void fillFreeSeats(PadChange change) {
    for (int player = 0; player < PAD_PLAYER_COUNT; ++player) {
        if (seatTaken(player))
            continue;
        for (Pad& pad : pads)
            if (pad.player == NO_PLAYER) {
                takeSeat(pad, player, change);
                break;
            }
    }
}

Pad* padWithId(SDL_JoystickID id) {
    for (Pad& pad : pads)
        if (pad.id == id)
            return &pad;
    return nullptr;
}

void plugIn(int deviceIndex, PadChange change) {
    // The event may come after the pad was already opened (a pad present at start-up).
    if (padWithId(SDL_JoystickGetDeviceInstanceID(deviceIndex)))
        return;
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller)
        return;
    Pad pad{controller,
            SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller)),
            NO_PLAYER,
            {}};
    pads.push_back(pad);
    fillFreeSeats(change);
}

// Pulling a pad lets go of everything it held, as if every finger came off at once.
void pullOut(SDL_JoystickID id, PadChange change) {
    Pad* pad = padWithId(id);
    if (!pad)
        return;
    if (pad->player != NO_PLAYER)
        for (int c = 0; c < PAD_CONTROL_COUNT; ++c)
            setHeld(*pad, static_cast<PadControl>(c), false, change);
    SDL_GameControllerClose(pad->controller);
    pads.erase(pads.begin() + (pad - pads.data()));
    fillFreeSeats(change);
}

void handle(const SDL_Event& event, PadChange change) {
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        plugIn(event.cdevice.which, change);
        return;
    case SDL_CONTROLLERDEVICEREMOVED:
        pullOut(event.cdevice.which, change);
        return;
    case SDL_CONTROLLERAXISMOTION:
        if (Pad* pad = padWithId(event.caxis.which); pad && pad->player != NO_PLAYER)
            applyAxis(*pad, event.caxis.axis, event.caxis.value, change);
        return;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        if (Pad* pad = padWithId(event.cbutton.which); pad && pad->player != NO_PLAYER)
            applyButton(*pad, event.cbutton.button, event.cbutton.state == SDL_PRESSED, change);
        return;
    default:
        return;
    }
}

} // namespace

bool openGamepads() {
    if (started)
        return true;
    // GLUT and the C library keep Ctrl-C and SIGTERM ending the game.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Fire is the south face button on every pad, also on those whose A sits east.
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        return false;
    started = true;
    return true;
}

void pollGamepads(PadChange change) {
    if (!started)
        return;
    SDL_GameControllerUpdate();
    // Only the controller events are taken from SDL's queue: the rest of it may
    // belong to another part of the program.
    SDL_Event events[32];
    int count;
    while ((count = SDL_PeepEvents(events, 32, SDL_GETEVENT, SDL_CONTROLLERAXISMOTION,
                                   SDL_CONTROLLERDEVICEREMOVED)) > 0)
        for (int i = 0; i < count; ++i)
            handle(events[i], change);
    // The raw joystick events beneath them, and what this game does not read
    // (remapping, touchpads, motion sensors), would otherwise pile up.
    SDL_FlushEvents(SDL_JOYAXISMOTION, SDL_FINGERDOWN - 1);
}

void closeGamepads() {
    if (!started)
        return;
    for (Pad& pad : pads)
        SDL_GameControllerClose(pad.controller);
    pads.clear();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    started = false;
}

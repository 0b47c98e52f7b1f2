// Random play for the soak: at each frame boundary the player may move the
// mouse (over the window, off it, off the screen, or with a position whose
// 16-bit halves wrap), press keys that no accelerator or menu takes, or
// choose New, Pause, Rules or About through the menu bar with the keyboard.
// Message boxes are answered by a watcher on the boxes' own modal loops.
#pragma once

#include <stdint.h>

#include <random>

namespace soak {

// What the player has done so far, for the report and for the checks that
// every kind of input really happened.
struct PlayCounts {
    uint64_t moves = 0;            // pointer moves handed to the host
    uint64_t wrappedMoves = 0;     // mouse messages with positions past 16 bits
    uint64_t keys = 0;             // keys outside every menu and accelerator
    uint64_t menuCommands[6] = {}; // by command id: New 1, Pause 3, Rules 4, About 5
    uint64_t boxesAnswered = 0;    // message boxes the watcher answered
    uint64_t crashBoxes = 0;       // of those, the game's crash box
};

// Starts the watcher that answers message boxes; `random` picks its delays
// and its key, `counts` receives what it answered.
void startBoxWatcher(std::mt19937_64* random, PlayCounts* counts);

// Decides the player's input for the coming frame and queues it, timed from
// the clock now. Input is queued only when the last input has been handed
// out, so that a move never lands in the middle of a menu the keyboard is
// working through (a move over an open menu picks its item, Quit included).
void queueRandomInput(std::mt19937_64& random, PlayCounts& counts);

} // namespace soak

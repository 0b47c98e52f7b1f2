// The game's process-wide variables. Both start zeroed; start-up and the
// rules give them their values.
#include "game/game_state.h"

GameStateRecord GameState;

int32_t exitCode = 0;

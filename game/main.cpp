// The game's entry point. The main routine never returns: the program ends
// through endProgram.
#include "game/game_state.h"

int main() {
    runProgram();
}

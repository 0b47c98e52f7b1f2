// How a program ends: from anywhere through endRuntimeProgram, or by
// returning from main. Either way the exit procedures run once and the
// private heap is destroyed before the process goes.
#pragma once

#include <stdint.h>

// Ends the program from wherever it is, often deep inside a window's
// handler: runs the exit procedures, destroys the private heap and ends the
// process with exitCode. It neither returns nor unwinds.
[[noreturn]] void endRuntimeProgram(int32_t exitCode);

// Arranges, once per process, that a program whose main returns (or that
// calls exit) gets the same clean-up. createPrivateHeap and registerExitProc
// call it; a second call does nothing.
void endRuntimeProgramAtExit();

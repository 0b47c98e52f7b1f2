// The runtime's process-wide state, put back to what a program finds at
// load. Tests call this before each case, so that no case sees what an
// earlier one left; a program that starts over within one process calls it
// once its windows are closed and its private heap is destroyed.
#pragma once

// Clears the event state, the framework's class atoms (unregistering the
// classes: a class that still has windows stays registered and keeps its
// atom), the random-number state, decimalPlaces, the print target, the
// message box's centring hook (removed if one is installed) and the
// temporary-string stack. The private heap and the exit procedures are
// left to createPrivateHeap and destroyPrivateHeap.
void resetRuntimeState();

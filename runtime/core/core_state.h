// The core's process-wide state as a program finds it at load.
#pragma once

// Puts the random-number state, decimalPlaces and the temporary-string
// stack back to their load-time values. The private heap and the
// exit-procedure list are left alone: they are created and destroyed by
// createPrivateHeap and destroyPrivateHeap, which own them.
void resetCoreState();

// The graphics part's process-wide state as a program finds it at load.
#pragma once

// Sends prints to standard output again and removes the message box's
// centring hook if a box left up by an abandoned call still has it
// installed.
void resetGraphicsState();

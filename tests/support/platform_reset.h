// A fresh platform for the next test: no windows of this thread, no queued
// messages. On the layer also no timers, hooks, focus or capture, and a
// headless host with an empty script, no windows and its clock at 0.
#pragma once

void reset_platform();

// Words for the replay's messages: what a record holds, which input it was.
#pragma once

#include "platform/host/tape/tape.h"

#include <string>

std::string tape_describe(const TapeRecord& record);
std::string tape_describe_event(const HostEvent& event);
// The tick count GetTickCount reads at host time `us`.
std::string tape_tick_text(uint64_t us);

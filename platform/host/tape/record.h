// What the recorder and the replay share: the program's name as tapes
// carry it, reading a tape file with care, and the settings' messages.
#pragma once

#include "platform/host/tape/tape.h"

#include <string>
#include <vector>

// The program's file name, without the ending "-headless" that the headless
// build of a program has: a tape of the game is the game's on every host.
std::string tape_program_name(void);
// The host the program runs on ("sdl", "headless"): each host's part of
// this folder says it.
extern "C" const char* tape_host_name(void);

// Reads a regular file of at most TAPE_MAX_BYTES; on failure an empty
// vector and one line in *error.
bool tape_read_file(const char* path, std::vector<uint8_t>* bytes, std::string* error);

// "zandrel: <message>" on standard error, then the process ends with `code`.
[[noreturn]] void tape_fail(int code, const std::string& message);

// The setting's value in double quotes, its control characters as \xNN.
std::string tape_quote(const std::string& text);

// Reads what the program under test writes to standard output through the
// standard-output handle, from the moment the capture is made until finish.
#pragma once

#include <windows.h>

#include <string>

class StdoutCapture {
  public:
    StdoutCapture();
    // Puts standard output back and returns what was written meanwhile.
    std::string finish();

  private:
#ifdef _WIN32
    HANDLE read_ = nullptr, write_ = nullptr, saved_ = nullptr;
#else
    int fds_[2] = {-1, -1};
    int saved_ = -1;
#endif
};

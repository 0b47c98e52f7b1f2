// The Win32 subset that this layer implements, declared as the platform
// spells it, so that code written for Windows compiles here unchanged.
#pragma once

#include <winbase.h>
#include <windef.h>
#include <winerror.h>
#include <wingdi.h>
#include <winuser.h>

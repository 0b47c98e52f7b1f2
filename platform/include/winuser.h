// The user-interface part of the layer.
#pragma once

#include <windef.h>

#ifdef __cplusplus
extern "C" {
#endif

LPSTR WINAPI CharUpperA(LPSTR text);

#ifdef __cplusplus
}
#endif

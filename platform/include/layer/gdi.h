// The layer's own view of its graphics part, for tests and leak checks.
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// Live objects of one type (OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP,
// OBJ_REGION, OBJ_MEMDC, OBJ_DC), stock objects not counted.
UINT layer_gdi_object_count(DWORD type);

#ifdef __cplusplus
}
#endif

// The layer's own view of its graphics part, for tests and leak checks.
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// Live objects of one type (OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP,
// OBJ_REGION, OBJ_MEMDC, OBJ_DC), stock objects not counted.
UINT layer_gdi_object_count(DWORD type);

// Makes a pen, brush or font a stock object, as GetStockObject's are:
// DeleteObject answers TRUE and leaves it alone, and the counts above leave
// it out. For objects the layer keeps for the whole run, such as the system
// colours' brushes. FALSE, and nothing changes, for any other handle.
BOOL layer_gdi_make_stock(HGDIOBJ object);

#ifdef __cplusplus
}
#endif

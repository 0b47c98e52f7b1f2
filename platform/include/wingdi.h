// The graphics part of the layer.
#pragma once

#include <windef.h>

// Mix modes: how a pen's colour P combines with the pixel D already there.
#define R2_BLACK 1        // 0
#define R2_NOTMERGEPEN 2  // ~(D | P)
#define R2_MASKNOTPEN 3   // D & ~P
#define R2_NOTCOPYPEN 4   // ~P
#define R2_MASKPENNOT 5   // P & ~D
#define R2_NOT 6          // ~D
#define R2_XORPEN 7       // D ^ P
#define R2_NOTMASKPEN 8   // ~(D & P)
#define R2_MASKPEN 9      // D & P
#define R2_NOTXORPEN 10   // ~(D ^ P)
#define R2_NOP 11         // D
#define R2_MERGENOTPEN 12 // D | ~P
#define R2_COPYPEN 13     // P
#define R2_MERGEPENNOT 14 // P | ~D
#define R2_MERGEPEN 15    // D | P
#define R2_WHITE 16       // 1

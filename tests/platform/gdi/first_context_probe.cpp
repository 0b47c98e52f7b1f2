// A program whose very first graphics call makes a memory context, as a
// program that draws off screen before opening any window does. The test
// that runs it needs a process in which no stock object exists yet, which
// a test program (its main makes them) cannot give. Exit code 0 when the
// context works.
#include <windows.h>

int main() {
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr || GetCurrentObject(dc, OBJ_PEN) != GetStockObject(BLACK_PEN))
        return 1;
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 2, 2);
    HGDIOBJ original = SelectObject(dc, bitmap);
    bool drawn = SetPixel(dc, 1, 1, RGB(255, 255, 255)) == RGB(255, 255, 255);
    SelectObject(dc, original);
    DeleteObject(bitmap);
    return drawn && DeleteDC(dc) ? 0 : 1;
}

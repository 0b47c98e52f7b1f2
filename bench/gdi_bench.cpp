// One complete drawing operation of the kind the runtime makes for every
// drawing statement: a fresh memory context on the window's backing bitmap,
// its pen and font installed, one figure drawn with bounds accumulation,
// the state read back and the pen and font re-created from it, everything
// restored and deleted. Built natively and for Windows, so the same
// operation can be timed on the layer and on the system's GDI.
#include "bench/harness.h"

#include <windows.h>

#include <string.h>

namespace {

enum class Figure { ellipse, line, text };

struct Operation {
    HBITMAP backing;
    HPEN pen;
    HFONT font;
    Figure figure;
};

HBITMAP screen_sized_bitmap() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 1024;
    info.bmiHeader.biHeight = -768;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

void draw(HDC dc, Figure figure) {
    switch (figure) {
    case Figure::ellipse:
        Ellipse(dc, 100, 200, 110, 210);
        break;
    case Figure::line:
        MoveToEx(dc, 10, 300, nullptr);
        LineTo(dc, 310, 300);
        break;
    case Figure::text:
        SetTextAlign(dc, TA_UPDATECP);
        TextOutA(dc, 0, 0, "Score: 570", 10);
        break;
    }
}

// Reads the pen and font back and re-creates them, as the runtime keeps
// its drawing state in its own record between statements.
void read_back(HDC dc, Operation* op) {
    LOGPEN pen;
    LOGFONTA font;
    GetObjectA(GetCurrentObject(dc, OBJ_PEN), sizeof pen, &pen);
    GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
    RestoreDC(dc, -1);
    DeleteObject(op->pen);
    DeleteObject(op->font);
    op->pen = CreatePenIndirect(&pen);
    op->font = CreateFontIndirectA(&font);
}

void complete_operation(void* state) {
    auto* op = static_cast<Operation*>(state);
    HDC dc = CreateCompatibleDC(nullptr);
    SaveDC(dc);
    SelectObject(dc, op->backing);
    SelectObject(dc, op->font);
    SelectObject(dc, op->pen);
    SetBoundsRect(dc, nullptr, DCB_RESET | DCB_ACCUMULATE | DCB_ENABLE);
    draw(dc, op->figure);
    RECT touched;
    GetBoundsRect(dc, &touched, DCB_RESET);
    read_back(dc, op);
    DeleteDC(dc);
}

void run(const char* name, Figure figure) {
    LOGFONTA font;
    GetObjectA(GetStockObject(SYSTEM_FONT), sizeof font, &font);
    Operation op{screen_sized_bitmap(), CreatePen(PS_SOLID, 1, RGB(0, 0, 0)),
                 CreateFontIndirectA(&font), figure};
    bench_run(name, complete_operation, &op);
    DeleteObject(op.pen);
    DeleteObject(op.font);
    DeleteObject(op.backing);
}

} // namespace

// With an argument, runs only the operations whose names contain it, for a
// profile of one of them.
int main(int argc, char** argv) {
    const struct {
        const char* name;
        Figure figure;
    } OPERATIONS[] = {
        {"complete operation: 10x10 ellipse", Figure::ellipse},
        {"complete operation: 300-pixel line", Figure::line},
        {"complete operation: 10-character text", Figure::text},
    };
    for (const auto& op : OPERATIONS)
        if (argc < 2 || strstr(op.name, argv[1]) != nullptr)
            run(op.name, op.figure);
    return 0;
}

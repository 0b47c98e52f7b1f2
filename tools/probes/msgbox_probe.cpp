// Shows message boxes with the system's USER32 and prints how each one is laid
// out: the outer and client rectangles of the box, and every child's class,
// identifier, text, style and rectangle in the box's client coordinates. A
// WH_CBT hook catches each box as it is activated, prints it and closes it by
// its first button, so the program needs no one at the keyboard.
//
// "font" prints the metrics of the box's font (the font of its text), the
// dialog base units that font gives, and the advance of every printable
// character, so that the layout's rules can be checked with that font's
// widths. "wrap" prints how DrawTextA with DT_WORDBREAK breaks lines in that
// font: for each case the rectangle DT_CALCRECT gives and the lines as the
// text's pixel rows show them.
//
// Build and run (from the repository root):
//   x86_64-w64-mingw32-g++-posix -std=c++20 -O1 -static -o /tmp/mb.exe
//       tools/probes/msgbox_probe.cpp -luser32 -lgdi32
//   xvfb-run -a wine64 /tmp/mb.exe [boxes|font|wrap]
#include <windows.h>

#include <stdio.h>
#include <string.h>

namespace {

struct BoxCase {
    const char* name;
    const char* text;
    const char* caption;
    UINT type;
};

const char RULES_TEXT[] =
    "Steer the snake with the arrow keys and eat the food that appears on the field. "
    "Each piece of food makes the snake longer and adds to the score. The game ends when "
    "the snake runs into a wall or into itself. Press P to pause and resume.";

const char ABOUT_TEXT[] = "Zandrel 1.0\r\nA small arcade game\r\nWritten in plain Win32";

const char LONG_WORD[] = "Start "
                         "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"
                         "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW end";

const BoxCase BOX_CASES[] = {
    {"crash", "Crash!!!\r\nScore: 57", "Alert", MB_OK | MB_ICONEXCLAMATION},
    {"rules", RULES_TEXT, "Rules", MB_OK},
    {"rules_icon", RULES_TEXT, "Rules", MB_OK | MB_ICONASTERISK},
    {"about", ABOUT_TEXT, "About Zandrel", MB_OK | MB_ICONASTERISK},
    {"tiny", "Hi", "A", MB_OK},
    {"tiny_icon", "Hi", "A", MB_OK | MB_ICONHAND},
    {"long_caption", "Hi",
     "A caption that is a good deal longer than the text of the box and its button", MB_OK},
    {"okcancel", "Question?", "Q", MB_OKCANCEL | MB_ICONQUESTION},
    {"abort", "Question?", "Q", MB_ABORTRETRYIGNORE | MB_ICONQUESTION | MB_DEFBUTTON2},
    {"yesnocancel", "Question?", "Q", MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON3},
    {"yesno", "Question?", "Q", MB_YESNO | MB_DEFBUTTON2},
    {"retrycancel", "Question?", "Q", MB_RETRYCANCEL},
    {"ok_def3", "Question?", "Q", MB_OK | MB_DEFBUTTON3},
    {"yesno_def3", "Question?", "Q", MB_YESNO | MB_DEFBUTTON3},
    {"long_word", LONG_WORD, "W", MB_OK},
    {"trailing_crlf", "Line\r\n", "T", MB_OK},
    {"empty_lines", "\n\nx", "T", MB_OK},
    {"lone_cr", "a\rb", "T", MB_OK},
    {"lf_cr", "a\n\rb", "T", MB_OK},
    {"empty", "", "T", MB_OK},
    {"tall_icon_text", "1\r\n2\r\n3\r\n4\r\n5", "T", MB_OK | MB_ICONHAND},
};

HHOOK g_hook;
bool g_print_font;

void print_metrics(HDC dc) {
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    char face[64] = "";
    GetTextFaceA(dc, sizeof face, face);
    SIZE az;
    GetTextExtentPoint32A(dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &az);
    printf("font face=%s height=%ld ascent=%ld descent=%ld intlead=%ld extlead=%ld ave=%ld "
           "max=%ld weight=%ld az52=%ld\n",
           face, tm.tmHeight, tm.tmAscent, tm.tmDescent, tm.tmInternalLeading, tm.tmExternalLeading,
           tm.tmAveCharWidth, tm.tmMaxCharWidth, tm.tmWeight, az.cx);
    printf("widths");
    for (int c = 32; c < 127; c++) {
        char ch = (char)c;
        SIZE size;
        GetTextExtentPoint32A(dc, &ch, 1, &size);
        printf(" %ld", size.cx);
    }
    printf("\n");
}

void print_box_font(HWND box) {
    HFONT font = (HFONT)SendMessageA(box, WM_GETFONT, 0, 0);
    HDC dc = GetDC(box);
    HGDIOBJ old = SelectObject(dc, font);
    print_metrics(dc);
    SelectObject(dc, old);
    ReleaseDC(box, dc);
    RECT units = {0, 0, 4, 8};
    MapDialogRect(box, &units);
    printf("dialog units: 4x8 -> %ldx%ld\n", units.right, units.bottom);
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    printf("caption font %s height %ld weight %ld; caption %d frame %d size %d screen %dx%d\n",
           ncm.lfCaptionFont.lfFaceName, ncm.lfCaptionFont.lfHeight, ncm.lfCaptionFont.lfWeight,
           GetSystemMetrics(SM_CYCAPTION), GetSystemMetrics(SM_CXFIXEDFRAME),
           GetSystemMetrics(SM_CXSIZE), GetSystemMetrics(SM_CXSCREEN),
           GetSystemMetrics(SM_CYSCREEN));
}

// The width of the caption's text in the caption font, which a long caption
// may widen the box to.
void print_caption_width(HWND box) {
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    HFONT font = CreateFontIndirectA(&ncm.lfCaptionFont);
    HDC dc = GetDC(box);
    HGDIOBJ old = SelectObject(dc, font);
    char caption[256];
    int length = GetWindowTextA(box, caption, sizeof caption);
    SIZE size;
    GetTextExtentPoint32A(dc, caption, length, &size);
    SelectObject(dc, old);
    ReleaseDC(box, dc);
    DeleteObject(font);
    printf("  caption text width %ld\n", size.cx);
}

void print_text_extent(HWND box, HWND child) {
    char text[1024];
    int length = GetWindowTextA(child, text, sizeof text);
    HFONT font = (HFONT)SendMessageA(box, WM_GETFONT, 0, 0);
    HDC dc = GetDC(box);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size;
    GetTextExtentPoint32A(dc, text, length, &size);
    SelectObject(dc, old);
    ReleaseDC(box, dc);
    printf("    extent %ldx%ld\n", size.cx, size.cy);
}

BOOL CALLBACK print_child(HWND child, LPARAM box_param) {
    HWND box = (HWND)box_param;
    char cls[64], text[1024];
    GetClassNameA(child, cls, sizeof cls);
    GetWindowTextA(child, text, sizeof text);
    for (char* p = text; *p; p++)
        if (*p == '\r' || *p == '\n')
            *p = '|';
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, box, (POINT*)&r, 2);
    LONG style = GetWindowLongA(child, GWL_STYLE);
    printf("  child %-7s id=%-5d style=%08lx visible=%d rect=(%ld,%ld)-(%ld,%ld) %ldx%ld \"%s\"\n",
           cls, GetDlgCtrlID(child), style, (style & WS_VISIBLE) != 0, r.left, r.top, r.right,
           r.bottom, r.right - r.left, r.bottom - r.top, text);
    if (strcmp(cls, "Button") == 0 && (style & WS_VISIBLE))
        print_text_extent(box, child);
    return TRUE;
}

HWND g_first_button;

BOOL CALLBACK find_first_button(HWND child, LPARAM) {
    char cls[64];
    GetClassNameA(child, cls, sizeof cls);
    if (strcmp(cls, "Button") == 0 && (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE)) {
        g_first_button = child;
        return FALSE;
    }
    return TRUE;
}

void print_box(HWND box) {
    RECT window, client;
    GetWindowRect(box, &window);
    GetClientRect(box, &client);
    printf("  window %ldx%ld at (%ld,%ld) client %ldx%ld style=%08lx exstyle=%08lx\n",
           window.right - window.left, window.bottom - window.top, window.left, window.top,
           client.right, client.bottom, GetWindowLongA(box, GWL_STYLE),
           GetWindowLongA(box, GWL_EXSTYLE));
    print_caption_width(box);
    EnumChildWindows(box, print_child, (LPARAM)box);
    if (g_print_font) {
        print_box_font(box);
        g_print_font = false;
    }
}

HWND g_box;

// The box positions its buttons after it is first activated (setting the
// focus on the default button activates it), so it is printed a moment later,
// from inside its own modal loop.
void CALLBACK print_and_close(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    print_box(g_box);
    g_first_button = nullptr;
    EnumChildWindows(g_box, find_first_button, 0);
    PostMessageA(g_box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(g_first_button), BN_CLICKED),
                 (LPARAM)g_first_button);
}

LRESULT CALLBACK cbt_hook(int code, WPARAM wparam, LPARAM lparam) {
    char cls[64] = "";
    if (code == HCBT_ACTIVATE && GetClassNameA((HWND)wparam, cls, sizeof cls) &&
        strcmp(cls, "#32770") == 0 && g_box != (HWND)wparam) {
        g_box = (HWND)wparam;
        SetTimer(nullptr, 0, 10, print_and_close);
    }
    return CallNextHookEx(g_hook, code, wparam, lparam);
}

void run_boxes(bool font) {
    g_print_font = font;
    g_hook = SetWindowsHookExA(WH_CBT, cbt_hook, nullptr, GetCurrentThreadId());
    for (const BoxCase& c : BOX_CASES) {
        printf("box %s type=%04x\n", c.name, c.type);
        g_box = nullptr;
        int result = MessageBoxA(nullptr, c.text, c.caption, c.type);
        printf("  result %d\n", result);
        if (font)
            break;
    }
    UnhookWindowsHookEx(g_hook);
}

// The box's font, made the way the box makes it: "MS Shell Dlg" at 8 points.
HFONT dialog_font(HDC dc) {
    LOGFONTA lf = {};
    lf.lfHeight = -MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    strcpy(lf.lfFaceName, "MS Shell Dlg");
    return CreateFontIndirectA(&lf);
}

struct WrapCase {
    const char* text;
    int width;
};

const WrapCase WRAP_CASES[] = {
    {"aaa bbb ccc", 40},   {"aaa bbb ccc", 30}, {"aaa    bbb", 30},
    {"aaa bbb", 1},        {"WWWWWWWWWW", 40},  {"xx WWWWWWWWWW yy", 40},
    {"WWWWWWWWWW yy", 40}, {"aaa\r\nbbb", 200}, {"aaa\r\n", 200},
    {"aaa\n\n", 200},      {"\r\naaa", 200},    {"a\rb", 200},
    {"a\n\rb", 200},       {"a\r\r\nb", 200},   {"", 200},
    {" aaa", 200},         {"aaa-bbb-ccc", 30}, {"a\tb", 200},
};

// Paints the text and reads back which pixel rows hold ink, grouped into
// lines by the font's height, and each line's leftmost and rightmost inked
// columns.
void print_wrap(HDC dc, const WrapCase& c, int line_height) {
    RECT calc = {0, 0, c.width, 0};
    int height = DrawTextA(dc, c.text, -1, &calc, DT_LEFT | DT_WORDBREAK | DT_CALCRECT);
    RECT paint = {0, 0, c.width, 400};
    RECT all = {0, 0, 600, 400};
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    DrawTextA(dc, c.text, -1, &paint, DT_LEFT | DT_WORDBREAK | DT_NOCLIP);
    printf("wrap \"");
    for (const char* p = c.text; *p; p++)
        printf(*p == '\r' ? "\\r" : *p == '\n' ? "\\n" : *p == '\t' ? "\\t" : "%c", *p);
    printf("\" width %d -> calc %ldx%ld (returned %d)\n", c.width, calc.right, calc.bottom, height);
    for (int top = 0; top < 400; top += line_height) {
        int left = 600, right = -1;
        for (int y = top; y < top + line_height; y++)
            for (int x = 0; x < 600; x++)
                if (GetPixel(dc, x, y) != RGB(255, 255, 255)) {
                    left = left < x ? left : x;
                    right = right > x ? right : x;
                }
        if (right >= 0)
            printf("  line at %d: ink x %d..%d\n", top, left, right);
    }
}

// The lines DrawTextA makes of text in `width`: a word starts a new line
// where the height DT_CALCRECT gives for the text up to the word's end grows.
void print_word_lines(HDC dc, const char* text, int width) {
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    printf("lines of \"%.20s...\" in %d:\n  |", text, width);
    int lines = 1, start = 0;
    for (int end = 1; text[end - 1] != '\0'; end++) {
        if (text[end] != ' ' && text[end] != '\0')
            continue;
        RECT calc = {0, 0, width, 0};
        int height = DrawTextA(dc, text, end, &calc, DT_LEFT | DT_WORDBREAK | DT_CALCRECT);
        if (height / tm.tmHeight > lines) {
            lines = height / tm.tmHeight;
            printf("|\n  |");
        }
        printf("%.*s", end - start, text + start);
        start = end;
    }
    printf("|\n");
}

void run_wrap() {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 600, 400);
    SelectObject(dc, bitmap);
    HFONT font = dialog_font(dc);
    SelectObject(dc, font);
    print_metrics(dc);
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    for (const WrapCase& c : WRAP_CASES)
        print_wrap(dc, c, tm.tmHeight);
    // The box's wrapping width: 176 dialog units.
    print_word_lines(dc, RULES_TEXT, MulDiv(176, tm.tmAveCharWidth, 4));
    DeleteDC(dc);
    DeleteObject(bitmap);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
}

} // namespace

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "boxes";
    if (strcmp(mode, "font") == 0)
        run_boxes(true);
    else if (strcmp(mode, "wrap") == 0)
        run_wrap();
    else
        run_boxes(false);
    return 0;
}

// The kernel part of the layer: heaps, global memory, the tick count, debug
// output, standard output, process and thread identity.
#pragma once

#include <windef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct _OVERLAPPED OVERLAPPED, *LPOVERLAPPED;

DWORD WINAPI GetLastError(void);
void WINAPI SetLastError(DWORD code);

#define HEAP_NO_SERIALIZE 0x00000001
#define HEAP_GENERATE_EXCEPTIONS 0x00000004
#define HEAP_ZERO_MEMORY 0x00000008

HANDLE WINAPI HeapCreate(DWORD options, SIZE_T initial_size, SIZE_T maximum_size);
LPVOID WINAPI HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes);
BOOL WINAPI HeapFree(HANDLE heap, DWORD flags, LPVOID block);
SIZE_T WINAPI HeapCompact(HANDLE heap, DWORD flags);
BOOL WINAPI HeapDestroy(HANDLE heap);
HANDLE WINAPI GetProcessHeap(void);

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes);
HGLOBAL WINAPI GlobalFree(HGLOBAL block);
SIZE_T WINAPI GlobalSize(HGLOBAL block);

DWORD WINAPI GetTickCount(void);
void WINAPI Sleep(DWORD milliseconds);
void WINAPI OutputDebugStringA(LPCSTR text);

#define STD_INPUT_HANDLE ((DWORD)-10)
#define STD_OUTPUT_HANDLE ((DWORD)-11)
#define STD_ERROR_HANDLE ((DWORD)-12)
#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)

HANDLE WINAPI GetStdHandle(DWORD which);
BOOL WINAPI WriteFile(HANDLE file, LPCVOID buffer, DWORD bytes, LPDWORD written,
                      LPOVERLAPPED overlapped);

[[noreturn]] void WINAPI ExitProcess(UINT exit_code);
int WINAPI MulDiv(int number, int numerator, int denominator);
HMODULE WINAPI GetModuleHandleA(LPCSTR module_name);
DWORD WINAPI GetCurrentThreadId(void);

#ifdef __cplusplus
}
#endif

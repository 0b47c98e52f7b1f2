// A tiny program over the SDL host that prints the tick count it starts
// with, so that a test can compare it with the machine's uptime.
#include <windows.h>

#include <stdio.h>

int main() {
    printf("%lu\n", (unsigned long)GetTickCount());
    return 0;
}

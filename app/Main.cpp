#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char title[128] = "";
    LoadStringA(GetModuleHandleA(nullptr), 4, title, sizeof title);
    MessageBoxA(nullptr, title, title, MB_OK);
    return 0;
}

// SETUP.EXE's entry: the one application object and the framework's run.

#include <windows.h>

#include "app/SetupApp.h"

SetupApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    return RunApplication(instance, commandLine, showCommand);
}

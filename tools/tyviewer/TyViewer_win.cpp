// tyviewer.exe: shows one molecule file, named on the command line.

#include <windows.h>

#include "tools/tyviewer/ViewerLayout.h"
#include "tools/tyviewer/ViewerWnd.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int showCommand) {
  try {
    tyviewer::ViewerWnd window;
    if (!window.Create(instance, tyviewer::MoleculePathFromArguments(arguments ? arguments : ""), showCommand)) {
      return 1;
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
  } catch (...) {
    return 1;
  }
}

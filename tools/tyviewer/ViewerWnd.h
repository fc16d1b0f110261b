#pragma once
// The viewer's main window: the molecule file's name, a status line, and
// a ball-and-stick drawing of the molecule when the file could be read.

#include <windows.h>

#include <string>
#include <vector>

#include "tools/tyshared/TyShared.h"

namespace tyviewer {

class ViewerWnd {
 public:
  ViewerWnd() = default;
  ViewerWnd(const ViewerWnd&) = delete;
  ViewerWnd& operator=(const ViewerWnd&) = delete;

  // Registers the class once and creates the visible window for the
  // molecule file at path ("" for none). Returns false when it could not.
  bool Create(HINSTANCE instance, const std::string& path, int showCommand);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCreate();
  void OnSize(int width, int height);
  void OnPaint();
  void LoadMolecule();

  HWND hwnd_ = nullptr;
  HWND nameLabel_ = nullptr;
  HWND statusLabel_ = nullptr;
  std::string path_;
  std::string status_;
  std::vector<TyAtom> atoms_;
  std::vector<TyBond> bonds_;
};

}  // namespace tyviewer

#include "tools/tyviewer/ViewerWnd.h"

#include <algorithm>
#include <cstdio>

#include "tools/tyviewer/ViewerIds.h"
#include "tools/tyviewer/ViewerLayout.h"

namespace tyviewer {

namespace {

constexpr int kLabelHeight = 18;
constexpr int kLabelTop = 6;
constexpr int kDrawingTop = kLabelTop + 2 * kLabelHeight + 6;
// Large enough for the molecules the demo ships; bigger files take a second call.
constexpr int kInitialAtoms = 1024;
constexpr int kInitialBonds = 2048;

// A library loaded for the length of one scope.
class LibraryHandle {
 public:
  explicit LibraryHandle(const char* name) : module_(LoadLibraryA(name)) {}
  ~LibraryHandle() {
    if (module_) FreeLibrary(module_);
  }
  LibraryHandle(const LibraryHandle&) = delete;
  LibraryHandle& operator=(const LibraryHandle&) = delete;
  HMODULE get() const { return module_; }

 private:
  HMODULE module_;
};

// A GDI object selected into a DC, deselected and deleted at scope end.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), old_(object ? SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() {
    if (old_) SelectObject(dc_, old_);
    if (object_) DeleteObject(object_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ object_;
  HGDIOBJ old_;
};

COLORREF ElementColour(const char* element) {
  const std::string e(element);
  if (e == "H") return RGB(235, 235, 235);
  if (e == "C") return RGB(80, 80, 80);
  if (e == "N") return RGB(48, 80, 248);
  if (e == "O") return RGB(220, 20, 20);
  if (e == "S") return RGB(230, 200, 40);
  if (e == "P") return RGB(255, 128, 0);
  if (e == "F" || e == "Cl") return RGB(30, 200, 30);
  return RGB(220, 100, 220);
}

}  // namespace

bool ViewerWnd::Create(HINSTANCE instance, const std::string& path, int showCommand) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = &ViewerWnd::WindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_TYVIEWER));
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = TYVIEWER_WINDOW_CLASS;
  if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  path_ = path;
  hwnd_ = CreateWindowExA(0, TYVIEWER_WINDOW_CLASS, TYVIEWER_WINDOW_TITLE, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                          CW_USEDEFAULT, 480, 420, nullptr, nullptr, instance, this);
  if (!hwnd_) return false;
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
  return true;
}

LRESULT CALLBACK ViewerWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    if (message == WM_NCCREATE) {
      auto* self = static_cast<ViewerWnd*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
      self->hwnd_ = hwnd;
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<ViewerWnd*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_NCDESTROY) SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    if (self && message != WM_NCDESTROY) return self->OnMessage(message, wParam, lParam);
  } catch (...) {
    // An exception must not unwind through USER32; the window shows what it has.
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT ViewerWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_SIZE:
      OnSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_CTLCOLORSTATIC:
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
      SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd_, message, wParam, lParam);
  }
}

void ViewerWnd::OnCreate() {
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd_, GWLP_HINSTANCE));
  nameLabel_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, 8,
                               kLabelTop, 400, kLabelHeight, hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_VIEWER_FILE_NAME)), instance, nullptr);
  statusLabel_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, 8,
                                 kLabelTop + kLabelHeight, 400, kLabelHeight, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_VIEWER_STATUS)), instance, nullptr);
  const HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
  for (HWND label : {nameLabel_, statusLabel_}) {
    if (label) SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  LoadMolecule();
  SetWindowTextA(nameLabel_, path_.empty() ? "No molecule file" : FileNameOf(path_).c_str());
  SetWindowTextA(statusLabel_, status_.c_str());
}

void ViewerWnd::LoadMolecule() {
  atoms_.clear();
  bonds_.clear();
  status_.clear();
  if (path_.empty()) return;
  // The reader is the shared DLL from the System directory (or beside us).
  LibraryHandle library("tyshared.dll");
  auto read = library.get() ? reinterpret_cast<TyReadMoleculeFileFn>(reinterpret_cast<void*>(
                                  GetProcAddress(library.get(), TY_READ_MOLECULE_FILE_NAME)))
                            : nullptr;
  if (!read) {
    status_ = "cannot read: tyshared.dll is missing";
    return;
  }
  atoms_.resize(kInitialAtoms);
  bonds_.resize(kInitialBonds);
  int atomCount = 0, bondCount = 0;
  int result = read(path_.c_str(), atoms_.data(), static_cast<int>(atoms_.size()), &atomCount, bonds_.data(),
                    static_cast<int>(bonds_.size()), &bondCount);
  if (result == TY_TOO_SMALL) {
    atoms_.resize(std::max(atomCount, 1));
    bonds_.resize(std::max(bondCount, 1));
    result = read(path_.c_str(), atoms_.data(), static_cast<int>(atoms_.size()), &atomCount, bonds_.data(),
                  static_cast<int>(bonds_.size()), &bondCount);
  }
  if (result != TY_OK) {
    atoms_.clear();
    bonds_.clear();
    status_ = "cannot read";
    return;
  }
  atoms_.resize(atomCount);
  bonds_.resize(bondCount);
  char text[64];
  std::snprintf(text, sizeof text, "%d atoms, %d bonds", atomCount, bondCount);
  status_ = text;
}

void ViewerWnd::OnSize(int width, int /*height*/) {
  const int labelWidth = std::max(width - 16, 0);
  if (nameLabel_) MoveWindow(nameLabel_, 8, kLabelTop, labelWidth, kLabelHeight, TRUE);
  if (statusLabel_) MoveWindow(statusLabel_, 8, kLabelTop + kLabelHeight, labelWidth, kLabelHeight, TRUE);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void ViewerWnd::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  if (!dc) return;
  RECT client;
  GetClientRect(hwnd_, &client);
  const int width = client.right;
  const int height = client.bottom - kDrawingTop;
  std::vector<SpaceAtom> space;
  space.reserve(atoms_.size());
  for (const TyAtom& atom : atoms_) space.push_back({atom.x, atom.y, atom.z, BallRadius(atom.element)});
  const Projection projection = ProjectMolecule(space, width, height);
  if (!projection.atoms.empty()) {
    SetViewportOrgEx(dc, 0, kDrawingTop, nullptr);
    {
      SelectedObject pen(dc, CreatePen(PS_SOLID, 3, RGB(150, 150, 150)));
      for (const TyBond& bond : bonds_) {
        if (bond.first < 0 || bond.second < 0 || bond.first >= static_cast<int>(projection.atoms.size()) ||
            bond.second >= static_cast<int>(projection.atoms.size())) {
          continue;
        }
        const ScreenAtom& a = projection.atoms[bond.first];
        const ScreenAtom& b = projection.atoms[bond.second];
        MoveToEx(dc, a.x, a.y, nullptr);
        LineTo(dc, b.x, b.y);
      }
    }
    SelectedObject outline(dc, CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    for (int index : projection.drawOrder) {
      const ScreenAtom& s = projection.atoms[index];
      SelectedObject fill(dc, CreateSolidBrush(ElementColour(atoms_[index].element)));
      Ellipse(dc, s.x - s.radius, s.y - s.radius, s.x + s.radius + 1, s.y + s.radius + 1);
    }
  }
  EndPaint(hwnd_, &ps);
}

}  // namespace tyviewer

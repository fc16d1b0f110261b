// The exported entry point of tyshared.dll. Nothing may leave it as a C++
// exception: the caller is another module with its own runtime.

#include <windows.h>

#include <string>

#include "tools/tyshared/MoleculeReader.h"
#include "tools/tyshared/TyShared.h"

namespace {

// Reads the whole file, refusing one larger than the reader accepts.
bool ReadWholeFile(const char* path, std::string& text) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = false;
  const DWORD size = GetFileSize(file, nullptr);
  if (size != INVALID_FILE_SIZE && size <= tyshared::kMaxFileBytes) {
    text.resize(size);
    DWORD read = 0;
    ok = size == 0 || (ReadFile(file, &text[0], size, &read, nullptr) && read == size);
  }
  CloseHandle(file);
  return ok;
}

int ReadMoleculeFile(const char* path, TyAtom* atoms, int maxAtoms, int* atomCount, TyBond* bonds,
                     int maxBonds, int* bondCount) {
  if (!path || !atomCount || !bondCount || maxAtoms < 0 || maxBonds < 0 || (maxAtoms > 0 && !atoms) ||
      (maxBonds > 0 && !bonds)) {
    return TY_BAD_ARGUMENTS;
  }
  *atomCount = 0;
  *bondCount = 0;
  const tyshared::MoleculeFormat format = tyshared::FormatFromFileName(path);
  if (format == tyshared::MoleculeFormat::Unknown) return TY_UNKNOWN_FORMAT;
  std::string text;
  if (!ReadWholeFile(path, text)) return TY_CANNOT_OPEN;
  tyshared::Molecule molecule;
  std::string error;
  if (!tyshared::ReadMolecule(format, text, molecule, error)) return TY_MALFORMED;
  *atomCount = static_cast<int>(molecule.atoms.size());
  *bondCount = static_cast<int>(molecule.bonds.size());
  if (*atomCount > maxAtoms || *bondCount > maxBonds) return TY_TOO_SMALL;
  for (int i = 0; i < *atomCount; ++i) {
    const tyshared::Atom& atom = molecule.atoms[i];
    TyAtom& outAtom = atoms[i];
    ZeroMemory(&outAtom, sizeof outAtom);
    lstrcpynA(outAtom.element, atom.element.c_str(), sizeof outAtom.element);
    outAtom.x = static_cast<float>(atom.x);
    outAtom.y = static_cast<float>(atom.y);
    outAtom.z = static_cast<float>(atom.z);
  }
  for (int i = 0; i < *bondCount; ++i) {
    bonds[i].first = molecule.bonds[i].first;
    bonds[i].second = molecule.bonds[i].second;
    bonds[i].order = molecule.bonds[i].order;
  }
  return TY_OK;
}

}  // namespace

extern "C" __declspec(dllexport) int __stdcall TyReadMoleculeFile(const char* path, TyAtom* atoms, int maxAtoms,
                                                                  int* atomCount, TyBond* bonds, int maxBonds,
                                                                  int* bondCount) {
  try {
    return ReadMoleculeFile(path, atoms, maxAtoms, atomCount, bonds, maxBonds, bondCount);
  } catch (...) {
    // Out of memory on a huge file: report it as unreadable.
    return TY_CANNOT_OPEN;
  }
}

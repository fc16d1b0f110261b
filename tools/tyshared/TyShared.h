#pragma once
// tyshared.dll: the molecule reader shared by the Tessaly programs. It is
// installed once into the System directory and reference-counted there.
// Programs load it at run time, so that they still start (and say what is
// missing) when it is not installed.

#ifdef __cplusplus
extern "C" {
#endif

typedef struct TyAtom {
  char element[4];  // NUL-terminated symbol, "C", "Cl"
  float x, y, z;    // Angstrom
} TyAtom;

typedef struct TyBond {
  int first, second;  // indices into the atom array
  int order;          // 1, 2, 3; 4 aromatic
} TyBond;

enum TyResult {
  TY_OK = 0,
  TY_CANNOT_OPEN = 1,     // the file cannot be opened or read
  TY_UNKNOWN_FORMAT = 2,  // the extension names no supported format
  TY_MALFORMED = 3,       // the contents are not a valid file of that format
  TY_TOO_SMALL = 4,       // the arrays are too small; the counts say how large
  TY_BAD_ARGUMENTS = 5
};

// The exported function's name, for GetProcAddress.
#define TY_READ_MOLECULE_FILE_NAME "TyReadMoleculeFile"

// Reads the molecule file at path (format by its extension). Always stores
// the atom and bond counts when it could parse the file; fills the arrays
// only when they are large enough (else returns TY_TOO_SMALL). The arrays may
// be null when their capacity is 0. Never throws.
typedef int(__stdcall* TyReadMoleculeFileFn)(const char* path, TyAtom* atoms, int maxAtoms, int* atomCount,
                                             TyBond* bonds, int maxBonds, int* bondCount);

#ifdef __cplusplus
}
#endif

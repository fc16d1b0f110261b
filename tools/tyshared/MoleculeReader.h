#pragma once
// Reading the molecule file formats the viewer opens: XYZ, PDB (ATOM,
// HETATM and CONECT records) and MDL molfiles (V2000). Pure, no Windows.

#include <cstddef>
#include <string>
#include <vector>

namespace tyshared {

struct Atom {
  std::string element;  // "C", "Fe": first letter upper case
  double x = 0, y = 0, z = 0;  // Angstrom
};

struct Bond {
  int first = 0;   // indices into Molecule::atoms
  int second = 0;
  int order = 1;   // 1, 2, 3; 4 for aromatic
};

struct Molecule {
  std::string title;
  std::vector<Atom> atoms;
  std::vector<Bond> bonds;
};

enum class MoleculeFormat { Unknown, Xyz, Pdb, Mol };

// Limits that keep a damaged or hostile file from taking all memory.
constexpr std::size_t kMaxAtoms = 20000;
constexpr std::size_t kMaxBonds = 40000;
constexpr std::size_t kMaxFileBytes = 8u << 20;

// The format a file name's extension stands for (case ignored):
// .xyz; .pdb and .ent; .mol, .mdl, .sd and .sdf.
MoleculeFormat FormatFromFileName(const std::string& fileName);

// Parses text in the given format into out (replaced). Returns false with a
// short reason when the text is not a valid file of that format; out is
// then empty. Files without bonds (XYZ, PDB without CONECT) get bonds
// inferred from the distances.
bool ReadMolecule(MoleculeFormat format, const std::string& text, Molecule& out, std::string& error);

// Adds a single bond between every pair of atoms closer than the sum of
// their covalent radii plus a tolerance.
void InferBonds(Molecule& molecule);

// The element symbol in canonical case ("CL" -> "Cl"), or "" when text
// holds no letters.
std::string NormaliseElement(const std::string& text);

}  // namespace tyshared

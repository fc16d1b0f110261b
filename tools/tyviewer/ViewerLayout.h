#pragma once
// The viewer's pure parts: which file the command line names, and where
// each atom of a molecule lands in the drawing area.

#include <string>
#include <vector>

namespace tyviewer {

// The molecule file named by the argument text of the command line (after
// the program name): blanks trimmed, one pair of surrounding quotes
// removed. Empty when there is none.
std::string MoleculePathFromArguments(const std::string& arguments);

// The file name part of a path ("C:\x\caffeine.pdb" -> "caffeine.pdb").
std::string FileNameOf(const std::string& path);

struct SpaceAtom {
  double x = 0, y = 0, z = 0;
  double radius = 0.3;  // drawn radius in Angstrom
};

struct ScreenAtom {
  int x = 0, y = 0;    // centre in client pixels
  int radius = 1;      // pixels, at least 1
  double depth = 0;    // larger is nearer the viewer
};

struct Projection {
  std::vector<ScreenAtom> atoms;  // same order as the input
  std::vector<int> drawOrder;     // indices, farthest first
};

// Turns the molecule a little (so that flat rings show as rings with
// depth) and scales it to fit, centred, into width x height with a margin.
// An area too small to draw in gives an empty projection.
Projection ProjectMolecule(const std::vector<SpaceAtom>& atoms, int width, int height);

// The drawn radius (Angstrom) of an element's ball.
double BallRadius(const std::string& element);

}  // namespace tyviewer

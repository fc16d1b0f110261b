// The molecule file formats the viewer reads through tyshared.dll.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "tools/tyshared/MoleculeReader.h"

namespace {

using tyshared::Molecule;
using tyshared::MoleculeFormat;
using tyshared::ReadMolecule;

const char kWaterXyz[] =
    "3\n"
    "water\n"
    "O   0.000000   0.000000   0.117300\n"
    "H   0.000000   0.757200  -0.469200\n"
    "H   0.000000  -0.757200  -0.469200\n";

// Ethanol heavy atoms, CRLF line ends, CONECT for C-C and C-O.
const char kEthanolPdb[] =
    "COMPND    ETHANOL\r\n"
    "HETATM    1  C1  EOH A   1       0.000   0.000   0.000  1.00  0.00           C\r\n"
    "HETATM    2  C2  EOH A   1       1.520   0.000   0.000  1.00  0.00           C\r\n"
    "HETATM    3  O   EOH A   1       2.030   1.340   0.000  1.00  0.00           O\r\n"
    "CONECT    1    2\r\n"
    "CONECT    2    1    3\r\n"
    "CONECT    3    2\r\n"
    "END\r\n";

std::string MolAtom(double x, double y, double z, const char* element) {
  char line[80];
  std::snprintf(line, sizeof line, "%10.4f%10.4f%10.4f %-3s 0  0  0  0  0  0  0  0  0  0  0  0", x, y, z, element);
  return line;
}

// Formaldehyde H2C=O as a V2000 molfile.
std::string FormaldehydeMol() {
  return "formaldehyde\n  test\n\n"
         "  4  3  0  0  0  0  0  0  0  0999 V2000\n" +
         MolAtom(0, 0, 0, "C") + "\n" + MolAtom(1.21, 0, 0, "O") + "\n" + MolAtom(-0.55, 0.94, 0, "H") + "\n" +
         MolAtom(-0.55, -0.94, 0, "H") + "\n" +
         "  1  2  2  0  0  0  0\n  1  3  1  0  0  0  0\n  1  4  1  0  0  0  0\nM  END\n";
}

TEST(MoleculeReader, FormatComesFromTheExtension) {
  struct Case { const char* name; MoleculeFormat format; };
  const Case cases[] = {
      {"water.xyz", MoleculeFormat::Xyz},    {"C:\\S\\CAFFEINE.PDB", MoleculeFormat::Pdb},
      {"x.ent", MoleculeFormat::Pdb},        {"benzene.mol", MoleculeFormat::Mol},
      {"x.MDL", MoleculeFormat::Mol},        {"x.sd", MoleculeFormat::Mol},
      {"x.sdf", MoleculeFormat::Mol},        {"x.mol2", MoleculeFormat::Unknown},
      {"x.car", MoleculeFormat::Unknown},    {"C:\\dir.pdb\\file", MoleculeFormat::Unknown},
      {"noextension", MoleculeFormat::Unknown},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.format, tyshared::FormatFromFileName(c.name));
  }
}

TEST(MoleculeReader, ElementSymbolsAreNormalised) {
  struct Case { const char* text; const char* element; };
  const Case cases[] = {{"C", "C"}, {" CL", "Cl"}, {"fe", "Fe"}, {"C12", "C"}, {"1HB", "Hb"}, {"  ", ""}, {"12", ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.element, tyshared::NormaliseElement(c.text));
  }
}

TEST(MoleculeReader, XyzGetsItsBondsFromDistances) {
  Molecule m;
  std::string error;
  ASSERT_TRUE(ReadMolecule(MoleculeFormat::Xyz, kWaterXyz, m, error)) << error;
  EXPECT_EQ("water", m.title);
  ASSERT_EQ(3u, m.atoms.size());
  EXPECT_EQ("O", m.atoms[0].element);
  EXPECT_DOUBLE_EQ(-0.4692, m.atoms[2].z);
  // O-H twice; the two hydrogens, 1.51 apart, are not bonded.
  ASSERT_EQ(2u, m.bonds.size());
  EXPECT_EQ(0, m.bonds[0].first);
  EXPECT_EQ(1, m.bonds[0].second);
  EXPECT_EQ(0, m.bonds[1].first);
  EXPECT_EQ(2, m.bonds[1].second);
}

TEST(MoleculeReader, PdbTakesConectRecordsOnce) {
  Molecule m;
  std::string error;
  ASSERT_TRUE(ReadMolecule(MoleculeFormat::Pdb, kEthanolPdb, m, error)) << error;
  EXPECT_EQ("ETHANOL", m.title);
  ASSERT_EQ(3u, m.atoms.size());
  EXPECT_EQ("O", m.atoms[2].element);
  EXPECT_DOUBLE_EQ(1.34, m.atoms[2].y);
  ASSERT_EQ(2u, m.bonds.size());  // each bond is listed from both ends
}

TEST(MoleculeReader, PdbWithoutElementColumnsUsesTheAtomName) {
  const std::string text =
      "ATOM      1  N   GLY A   1       0.000   0.000   0.000\n"
      "ATOM      2  CA  GLY A   1       1.460   0.000   0.000\n";
  Molecule m;
  std::string error;
  ASSERT_TRUE(ReadMolecule(MoleculeFormat::Pdb, text, m, error)) << error;
  ASSERT_EQ(2u, m.atoms.size());
  EXPECT_EQ("N", m.atoms[0].element);
  EXPECT_EQ("C", m.atoms[1].element);  // alpha carbon, not calcium
  EXPECT_EQ(1u, m.bonds.size());       // inferred: no CONECT records
}

TEST(MoleculeReader, MolfileKeepsBondOrders) {
  Molecule m;
  std::string error;
  ASSERT_TRUE(ReadMolecule(MoleculeFormat::Mol, FormaldehydeMol(), m, error)) << error;
  EXPECT_EQ("formaldehyde", m.title);
  ASSERT_EQ(4u, m.atoms.size());
  EXPECT_EQ("O", m.atoms[1].element);
  ASSERT_EQ(3u, m.bonds.size());
  EXPECT_EQ(2, m.bonds[0].order);
  EXPECT_EQ(1, m.bonds[1].order);
}

TEST(MoleculeReader, DamagedFilesAreRefusedWithAReason) {
  std::string badBond = FormaldehydeMol();
  badBond.replace(badBond.find("  1  4  1"), 9, "  1  9  1");
  std::string shortMol = FormaldehydeMol();
  shortMol.resize(shortMol.find("  1  2  2"));
  std::string v3000 = FormaldehydeMol();
  v3000.replace(v3000.find("V2000"), 5, "V3000");
  struct Case { MoleculeFormat format; std::string text; };
  const Case cases[] = {
      {MoleculeFormat::Xyz, ""},
      {MoleculeFormat::Xyz, "three\nwater\n"},
      {MoleculeFormat::Xyz, "0\nnothing\n"},
      {MoleculeFormat::Xyz, "-2\nwater\n"},
      {MoleculeFormat::Xyz, "99999999\nhuge\n"},
      {MoleculeFormat::Xyz, "3\nwater\nO 0 0 0\nH 0 0.76 -0.47\n"},
      {MoleculeFormat::Xyz, "1\nx\nO 0 zero 0\n"},
      {MoleculeFormat::Xyz, "1\nx\nO 0 0\n"},
      {MoleculeFormat::Xyz, "1\nx\n12 0 0 0\n"},
      {MoleculeFormat::Xyz, "1\nx\nO 0 0 nan\n"},
      {MoleculeFormat::Pdb, "HEADER only\nEND\n"},
      {MoleculeFormat::Pdb, "HETATM    1  C1  EOH A   1       0.000   abc     0.000  1.00  0.00           C\n"},
      {MoleculeFormat::Pdb, "HETATM    1  C1  EOH A   1       0.000   0.000   0.000  1.00  0.00           C\n"
                            "CONECT    1    7\n"},
      {MoleculeFormat::Mol, "title\n\n\n"},
      {MoleculeFormat::Mol, badBond},
      {MoleculeFormat::Mol, shortMol},
      {MoleculeFormat::Mol, v3000},
      {MoleculeFormat::Unknown, kWaterXyz},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Molecule m;
    m.title = "stale";
    std::string error;
    EXPECT_FALSE(ReadMolecule(c.format, c.text, m, error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(m.atoms.empty());
    EXPECT_TRUE(m.bonds.empty());
    EXPECT_TRUE(m.title.empty());
  }
}

TEST(MoleculeReader, InferredBondsFollowCovalentRadii) {
  struct Case { const char* a; const char* b; double distance; bool bonded; };
  const Case cases[] = {
      {"C", "C", 1.54, true}, {"C", "C", 2.50, false}, {"C", "H", 1.09, true}, {"H", "H", 1.51, false},
      {"S", "S", 2.05, true}, {"C", "O", 0.30, false},  // atoms on top of each other: damage, not a bond
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + "-" + c.b + " " + std::to_string(c.distance));
    Molecule m;
    m.atoms.push_back({c.a, 0, 0, 0});
    m.atoms.push_back({c.b, c.distance, 0, 0});
    tyshared::InferBonds(m);
    EXPECT_EQ(c.bonded ? 1u : 0u, m.bonds.size());
  }
}

}  // namespace

// tyviewer's command line and the fitting of a molecule into its window.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tools/tyviewer/ViewerLayout.h"

namespace {

using tyviewer::ProjectMolecule;
using tyviewer::SpaceAtom;

TEST(ViewerLayout, MoleculePathComesFromTheArguments) {
  struct Case { const char* arguments; const char* path; };
  const Case cases[] = {
      {"", ""},
      {"   ", ""},
      {"C:\\S\\water.xyz", "C:\\S\\water.xyz"},
      {"  \"C:\\My Files\\water.xyz\"  ", "C:\\My Files\\water.xyz"},
      {"C:\\My Files\\water.xyz", "C:\\My Files\\water.xyz"},
      {"\"C:\\open.pdb", "C:\\open.pdb"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    EXPECT_EQ(c.path, tyviewer::MoleculePathFromArguments(c.arguments));
  }
  EXPECT_EQ("caffeine.pdb", tyviewer::FileNameOf("Z:\\demo\\samples\\caffeine.pdb"));
  EXPECT_EQ("water.xyz", tyviewer::FileNameOf("water.xyz"));
  EXPECT_EQ("b.mol", tyviewer::FileNameOf("A:b.mol"));
}

TEST(ViewerLayout, EveryBallFitsInsideTheArea) {
  // A fixed pseudo-random cloud, and a flat ring.
  std::vector<SpaceAtom> cloud;
  unsigned seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return static_cast<double>((seed >> 16) % 2001) / 100.0 - 10.0;
  };
  for (int i = 0; i < 50; ++i) cloud.push_back({next(), next(), next(), 0.4});
  std::vector<SpaceAtom> ring;
  for (int k = 0; k < 6; ++k) ring.push_back({1.39 * std::cos(k * 1.0471975512), 1.39 * std::sin(k * 1.0471975512), 0, 0.38});
  struct Case { const std::vector<SpaceAtom>* atoms; int width; int height; };
  const Case cases[] = {{&cloud, 480, 360}, {&cloud, 100, 600}, {&ring, 300, 300}, {&ring, 40, 30}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    const tyviewer::Projection p = ProjectMolecule(*c.atoms, c.width, c.height);
    ASSERT_EQ(c.atoms->size(), p.atoms.size());
    for (const tyviewer::ScreenAtom& s : p.atoms) {
      EXPECT_GE(s.radius, 1);
      EXPECT_GE(s.x - s.radius, 0);
      EXPECT_GE(s.y - s.radius, 0);
      EXPECT_LE(s.x + s.radius, c.width);
      EXPECT_LE(s.y + s.radius, c.height);
    }
  }
}

TEST(ViewerLayout, FarAtomsAreDrawnFirst) {
  std::vector<SpaceAtom> atoms = {{0, 0, 5, 0.4}, {0, 0, -5, 0.4}, {1, 1, 0, 0.4}};
  const tyviewer::Projection p = ProjectMolecule(atoms, 200, 200);
  ASSERT_EQ(3u, p.drawOrder.size());
  std::vector<int> sorted = p.drawOrder;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ((std::vector<int>{0, 1, 2}), sorted);  // a permutation
  for (std::size_t i = 1; i < p.drawOrder.size(); ++i) {
    EXPECT_LE(p.atoms[p.drawOrder[i - 1]].depth, p.atoms[p.drawOrder[i]].depth);
  }
  EXPECT_EQ(1, p.drawOrder.front());  // z = -5 lies behind
}

TEST(ViewerLayout, OneAtomSitsInTheMiddleAndTinyAreasDrawNothing) {
  const tyviewer::Projection one = ProjectMolecule({{7, -3, 2, 0.5}}, 200, 100);
  ASSERT_EQ(1u, one.atoms.size());
  EXPECT_EQ(100, one.atoms[0].x);
  EXPECT_EQ(50, one.atoms[0].y);
  EXPECT_EQ(42, one.atoms[0].radius);  // (100 - 2 * 8) / 2
  EXPECT_TRUE(ProjectMolecule({}, 200, 200).atoms.empty());
  EXPECT_TRUE(ProjectMolecule({{0, 0, 0, 0.4}}, 16, 200).atoms.empty());
  EXPECT_TRUE(ProjectMolecule({{0, 0, 0, 0.4}}, 200, 0).atoms.empty());
}

}  // namespace

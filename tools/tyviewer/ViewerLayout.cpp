#include "tools/tyviewer/ViewerLayout.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tyviewer {

namespace {

constexpr int kMargin = 8;
constexpr double kPi = 3.14159265358979323846;
// A view from slightly above and to the side.
constexpr double kTurnY = 30.0 * kPi / 180.0;
constexpr double kTiltX = 20.0 * kPi / 180.0;

}  // namespace

std::string MoleculePathFromArguments(const std::string& arguments) {
  const std::size_t begin = arguments.find_first_not_of(" \t");
  if (begin == std::string::npos) return std::string();
  const std::size_t end = arguments.find_last_not_of(" \t");
  std::string path = arguments.substr(begin, end - begin + 1);
  if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
    path = path.substr(1, path.size() - 2);
  } else if (path.front() == '"') {
    path.erase(0, 1);  // an unclosed quote: the rest is the name
  }
  return path;
}

std::string FileNameOf(const std::string& path) {
  const std::size_t cut = path.find_last_of("\\/:");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

double BallRadius(const std::string& element) {
  if (element == "H") return 0.25;
  if (element == "C" || element == "N" || element == "O" || element == "F") return 0.38;
  return 0.48;
}

Projection ProjectMolecule(const std::vector<SpaceAtom>& atoms, int width, int height) {
  Projection result;
  if (atoms.empty() || width <= 2 * kMargin || height <= 2 * kMargin) return result;

  double cx = 0, cy = 0, cz = 0;
  for (const SpaceAtom& a : atoms) {
    cx += a.x;
    cy += a.y;
    cz += a.z;
  }
  const double n = static_cast<double>(atoms.size());
  cx /= n;
  cy /= n;
  cz /= n;

  struct Turned { double x, y, z, r; };
  std::vector<Turned> turned;
  turned.reserve(atoms.size());
  double extent = 0;
  for (const SpaceAtom& a : atoms) {
    const double x0 = a.x - cx, y0 = a.y - cy, z0 = a.z - cz;
    const double x1 = x0 * std::cos(kTurnY) + z0 * std::sin(kTurnY);
    const double z1 = -x0 * std::sin(kTurnY) + z0 * std::cos(kTurnY);
    const double y2 = y0 * std::cos(kTiltX) - z1 * std::sin(kTiltX);
    const double z2 = y0 * std::sin(kTiltX) + z1 * std::cos(kTiltX);
    const double r = std::max(a.radius, 0.0);
    turned.push_back({x1, y2, z2, r});
    extent = std::max(extent, std::max(std::fabs(x1), std::fabs(y2)) + r);
  }

  const double half = (std::min(width, height) - 2 * kMargin) / 2.0;
  const double scale = extent > 0 ? half / extent : 1.0;
  const int midX = width / 2, midY = height / 2;
  for (const Turned& t : turned) {
    ScreenAtom s;
    s.x = midX + static_cast<int>(std::lround(t.x * scale));
    s.y = midY - static_cast<int>(std::lround(t.y * scale));  // screen y grows downwards
    s.radius = std::max(1, static_cast<int>(std::lround(t.r * scale)));
    s.depth = t.z;
    result.atoms.push_back(s);
  }
  result.drawOrder.resize(result.atoms.size());
  std::iota(result.drawOrder.begin(), result.drawOrder.end(), 0);
  std::stable_sort(result.drawOrder.begin(), result.drawOrder.end(),
                   [&](int a, int b) { return result.atoms[a].depth < result.atoms[b].depth; });
  return result;
}

}  // namespace tyviewer

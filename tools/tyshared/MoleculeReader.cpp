#include "tools/tyshared/MoleculeReader.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <utility>

namespace tyshared {

namespace {

std::string Lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : text) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) {
    if (line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string Trim(const std::string& text) {
  const std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return std::string();
  const std::size_t end = text.find_last_not_of(" \t");
  return text.substr(begin, end - begin + 1);
}

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

// Columns are 1-based and inclusive, as the format descriptions count them.
std::string Columns(const std::string& line, std::size_t first, std::size_t last) {
  if (line.size() < first) return std::string();
  return line.substr(first - 1, last - first + 1);
}

bool ParseDouble(const std::string& text, double& value) {
  const std::string t = Trim(text);
  if (t.empty()) return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtod(t.c_str(), &end);
  return errno == 0 && end == t.c_str() + t.size() && std::isfinite(value);
}

bool ParseInt(const std::string& text, long& value) {
  const std::string t = Trim(text);
  if (t.empty()) return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtol(t.c_str(), &end, 10);
  return errno == 0 && end == t.c_str() + t.size();
}

bool Fail(Molecule& out, std::string& error, const std::string& why) {
  out = Molecule();
  error = why;
  return false;
}

bool AddBond(Molecule& out, int a, int b, int order) {
  if (a == b) return true;
  if (out.bonds.size() >= kMaxBonds) return false;
  out.bonds.push_back(Bond{std::min(a, b), std::max(a, b), order});
  return true;
}

bool ReadXyz(const std::vector<std::string>& lines, Molecule& out, std::string& error) {
  long count = 0;
  if (lines.empty() || !ParseInt(lines[0], count)) return Fail(out, error, "line 1 is not an atom count");
  if (count < 1 || static_cast<std::size_t>(count) > kMaxAtoms) return Fail(out, error, "atom count out of range");
  if (lines.size() < static_cast<std::size_t>(count) + 2) return Fail(out, error, "fewer atom lines than the count");
  out.title = lines.size() > 1 ? Trim(lines[1]) : std::string();
  for (long i = 0; i < count; ++i) {
    const std::vector<std::string> words = Words(lines[2 + i]);
    Atom atom;
    if (words.size() < 4 || !ParseDouble(words[1], atom.x) || !ParseDouble(words[2], atom.y) ||
        !ParseDouble(words[3], atom.z)) {
      return Fail(out, error, "bad atom line " + std::to_string(3 + i));
    }
    atom.element = NormaliseElement(words[0]);
    if (atom.element.empty()) return Fail(out, error, "bad element on line " + std::to_string(3 + i));
    out.atoms.push_back(atom);
  }
  InferBonds(out);
  return true;
}

bool ReadPdb(const std::vector<std::string>& lines, Molecule& out, std::string& error) {
  std::map<long, int> indexOfSerial;
  std::set<std::pair<int, int>> seen;
  std::vector<std::pair<long, long>> links;
  for (std::size_t n = 0; n < lines.size(); ++n) {
    const std::string& line = lines[n];
    const std::string record = Trim(Columns(line, 1, 6));
    if (record == "COMPND" && out.title.empty()) {
      out.title = Trim(Columns(line, 11, 80));
    } else if (record == "ATOM" || record == "HETATM") {
      if (out.atoms.size() >= kMaxAtoms) return Fail(out, error, "too many atoms");
      Atom atom;
      long serial = 0;
      if (!ParseInt(Columns(line, 7, 11), serial) || !ParseDouble(Columns(line, 31, 38), atom.x) ||
          !ParseDouble(Columns(line, 39, 46), atom.y) || !ParseDouble(Columns(line, 47, 54), atom.z)) {
        return Fail(out, error, "bad atom record on line " + std::to_string(n + 1));
      }
      atom.element = NormaliseElement(Columns(line, 77, 78));
      if (atom.element.empty()) {
        // Older files leave the element columns blank: the atom name
        // starts with it ("CA" of a residue is carbon alpha, not calcium).
        const std::string name = NormaliseElement(Columns(line, 13, 16));
        atom.element = name.substr(0, 1);
      }
      if (atom.element.empty()) return Fail(out, error, "no element on line " + std::to_string(n + 1));
      indexOfSerial[serial] = static_cast<int>(out.atoms.size());
      out.atoms.push_back(atom);
    } else if (record == "CONECT") {
      long from = 0;
      if (!ParseInt(Columns(line, 7, 11), from)) return Fail(out, error, "bad CONECT on line " + std::to_string(n + 1));
      for (std::size_t col = 12; col + 4 <= 31; col += 5) {
        const std::string field = Columns(line, col, col + 4);
        if (Trim(field).empty()) continue;
        long to = 0;
        if (!ParseInt(field, to)) return Fail(out, error, "bad CONECT on line " + std::to_string(n + 1));
        links.emplace_back(from, to);
      }
    } else if (record == "END" || record == "ENDMDL") {
      break;  // only the first model
    }
  }
  if (out.atoms.empty()) return Fail(out, error, "no ATOM or HETATM records");
  for (const auto& link : links) {
    const auto a = indexOfSerial.find(link.first);
    const auto b = indexOfSerial.find(link.second);
    if (a == indexOfSerial.end() || b == indexOfSerial.end()) {
      return Fail(out, error, "CONECT names an unknown atom " + std::to_string(link.second));
    }
    const std::pair<int, int> key(std::min(a->second, b->second), std::max(a->second, b->second));
    if (key.first == key.second || !seen.insert(key).second) continue;
    if (!AddBond(out, key.first, key.second, 1)) return Fail(out, error, "too many bonds");
  }
  if (links.empty()) InferBonds(out);
  return true;
}

bool ReadMol(const std::vector<std::string>& lines, Molecule& out, std::string& error) {
  if (lines.size() < 4) return Fail(out, error, "no counts line");
  out.title = Trim(lines[0]);
  const std::string& counts = lines[3];
  if (counts.find("V3000") != std::string::npos) return Fail(out, error, "V3000 molfiles are not supported");
  long atomCount = 0, bondCount = 0;
  if (!ParseInt(Columns(counts, 1, 3), atomCount) || !ParseInt(Columns(counts, 4, 6), bondCount)) {
    return Fail(out, error, "bad counts line");
  }
  if (atomCount < 1 || static_cast<std::size_t>(atomCount) > kMaxAtoms || bondCount < 0 ||
      static_cast<std::size_t>(bondCount) > kMaxBonds) {
    return Fail(out, error, "counts out of range");
  }
  if (lines.size() < 4 + static_cast<std::size_t>(atomCount + bondCount)) {
    return Fail(out, error, "fewer atom and bond lines than the counts");
  }
  for (long i = 0; i < atomCount; ++i) {
    const std::string& line = lines[4 + i];
    Atom atom;
    if (!ParseDouble(Columns(line, 1, 10), atom.x) || !ParseDouble(Columns(line, 11, 20), atom.y) ||
        !ParseDouble(Columns(line, 21, 30), atom.z)) {
      return Fail(out, error, "bad atom line " + std::to_string(5 + i));
    }
    atom.element = NormaliseElement(Columns(line, 32, 34));
    if (atom.element.empty()) return Fail(out, error, "bad element on line " + std::to_string(5 + i));
    out.atoms.push_back(atom);
  }
  for (long i = 0; i < bondCount; ++i) {
    const std::string& line = lines[4 + atomCount + i];
    long a = 0, b = 0, order = 0;
    if (!ParseInt(Columns(line, 1, 3), a) || !ParseInt(Columns(line, 4, 6), b) ||
        !ParseInt(Columns(line, 7, 9), order) || a < 1 || b < 1 || a > atomCount || b > atomCount ||
        order < 1 || order > 8) {
      return Fail(out, error, "bad bond line " + std::to_string(5 + atomCount + i));
    }
    AddBond(out, static_cast<int>(a - 1), static_cast<int>(b - 1), order <= 4 ? static_cast<int>(order) : 1);
  }
  return true;
}

double CovalentRadius(const std::string& element) {
  static const std::map<std::string, double> kRadii = {
      {"H", 0.31}, {"B", 0.84}, {"C", 0.76}, {"N", 0.71}, {"O", 0.66}, {"F", 0.57},
      {"Si", 1.11}, {"P", 1.07}, {"S", 1.05}, {"Cl", 1.02}, {"Br", 1.20}, {"I", 1.39},
      {"Na", 1.66}, {"Mg", 1.41}, {"K", 2.03}, {"Ca", 1.76}, {"Fe", 1.32}, {"Zn", 1.22},
      {"Cu", 1.32}};
  const auto it = kRadii.find(element);
  return it == kRadii.end() ? 1.20 : it->second;
}

}  // namespace

MoleculeFormat FormatFromFileName(const std::string& fileName) {
  const std::size_t dot = fileName.rfind('.');
  const std::size_t slash = fileName.find_last_of("\\/:");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return MoleculeFormat::Unknown;
  const std::string ext = Lowered(fileName.substr(dot + 1));
  if (ext == "xyz") return MoleculeFormat::Xyz;
  if (ext == "pdb" || ext == "ent") return MoleculeFormat::Pdb;
  if (ext == "mol" || ext == "mdl" || ext == "sd" || ext == "sdf") return MoleculeFormat::Mol;
  return MoleculeFormat::Unknown;
}

std::string NormaliseElement(const std::string& text) {
  std::string letters;
  for (char c : text) {
    if (std::isalpha(static_cast<unsigned char>(c))) {
      letters += c;
    } else if (!letters.empty() || (c != ' ' && c != '\t' && !std::isdigit(static_cast<unsigned char>(c)))) {
      break;
    }
  }
  if (letters.size() > 2) letters.resize(2);
  for (std::size_t i = 0; i < letters.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(letters[i]);
    letters[i] = static_cast<char>(i == 0 ? std::toupper(c) : std::tolower(c));
  }
  return letters;
}

void InferBonds(Molecule& molecule) {
  constexpr double kTolerance = 0.45;
  const std::size_t n = molecule.atoms.size();
  for (std::size_t i = 0; i < n; ++i) {
    const Atom& a = molecule.atoms[i];
    const double ra = CovalentRadius(a.element);
    for (std::size_t j = i + 1; j < n; ++j) {
      const Atom& b = molecule.atoms[j];
      const double limit = ra + CovalentRadius(b.element) + kTolerance;
      const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
      const double d2 = dx * dx + dy * dy + dz * dz;
      // Atoms on top of each other are a damaged file, not a bond.
      if (d2 > 0.16 && d2 <= limit * limit) {
        if (!AddBond(molecule, static_cast<int>(i), static_cast<int>(j), 1)) return;
      }
    }
  }
}

bool ReadMolecule(MoleculeFormat format, const std::string& text, Molecule& out, std::string& error) {
  out = Molecule();
  error.clear();
  if (text.size() > kMaxFileBytes) return Fail(out, error, "file too large");
  const std::vector<std::string> lines = SplitLines(text);
  switch (format) {
    case MoleculeFormat::Xyz: return ReadXyz(lines, out, error);
    case MoleculeFormat::Pdb: return ReadPdb(lines, out, error);
    case MoleculeFormat::Mol: return ReadMol(lines, out, error);
    case MoleculeFormat::Unknown: break;
  }
  return Fail(out, error, "unknown file type");
}

}  // namespace tyshared

// The built product files: version resources that the copy engine compares,
// and the molecule reader that tyshared.dll exports, run on the samples.

#include <windows.h>

#include <gtest/gtest.h>

#include "TestEnvironment.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/tyshared/TyShared.h"

namespace {

using testenv::WindowsPathFromEnv;

std::string ProductFile(const char* name) { return WindowsPathFromEnv("TVS_BINARY_DIR") + "\\product\\" + name; }
std::string SampleFile(const char* name) {
  return WindowsPathFromEnv("TVS_SOURCE_DIR") + "\\demo\\samples\\" + name;
}

struct FileVersion {
  bool present = false;
  unsigned parts[4] = {};
  std::string productName;
};

FileVersion ReadVersion(const std::string& path) {
  FileVersion result;
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
  if (size == 0) return result;
  std::vector<char> block(size + 1);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return result;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || length < sizeof *fixed) {
    return result;
  }
  result.present = true;
  result.parts[0] = HIWORD(fixed->dwFileVersionMS);
  result.parts[1] = LOWORD(fixed->dwFileVersionMS);
  result.parts[2] = HIWORD(fixed->dwFileVersionLS);
  result.parts[3] = LOWORD(fixed->dwFileVersionLS);
  char* name = nullptr;
  if (VerQueryValueA(block.data(), "\\StringFileInfo\\040904E4\\ProductName", reinterpret_cast<void**>(&name),
                     &length) &&
      name) {
    result.productName = name;
  }
  return result;
}

TEST(Product, FilesCarryTheirVersionResources) {
  struct Case { const char* file; unsigned parts[4]; };
  const Case cases[] = {
      {"tyviewer.exe", {1, 0, 0, 0}},
      {"tyshared.dll", {2, 0, 0, 5}},
      {"_qzdinst.exe", {1, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const FileVersion version = ReadVersion(ProductFile(c.file));
    ASSERT_TRUE(version.present);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(c.parts[i], version.parts[i]) << "part " << i;
    EXPECT_EQ("Tessaly Viewer", version.productName);
  }
}

TEST(Product, ViewerHasItsIcon) {
  HMODULE viewer = LoadLibraryExA(ProductFile("tyviewer.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(nullptr, viewer);
  EXPECT_NE(nullptr, FindResourceA(viewer, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(14)));  // RT_GROUP_ICON
  FreeLibrary(viewer);
}

class TySharedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = LoadLibraryA(ProductFile("tyshared.dll").c_str());
    ASSERT_NE(nullptr, library_) << GetLastError();
    read_ = reinterpret_cast<TyReadMoleculeFileFn>(
        reinterpret_cast<void*>(GetProcAddress(library_, TY_READ_MOLECULE_FILE_NAME)));
    ASSERT_NE(nullptr, read_);
  }
  void TearDown() override {
    if (library_) FreeLibrary(library_);
  }

  int Read(const std::string& path, std::vector<TyAtom>& atoms, std::vector<TyBond>& bonds, int& atomCount,
           int& bondCount) {
    return read_(path.c_str(), atoms.data(), static_cast<int>(atoms.size()), &atomCount, bonds.data(),
                 static_cast<int>(bonds.size()), &bondCount);
  }

  HMODULE library_ = nullptr;
  TyReadMoleculeFileFn read_ = nullptr;
};

TEST_F(TySharedTest, ReadsEverySample) {
  struct Case { const char* file; int atoms; int bonds; const char* firstElement; };
  const Case cases[] = {
      {"caffeine.pdb", 24, 25, "N"},
      {"benzene.mol", 12, 12, "C"},
      {"water.xyz", 3, 2, "O"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    std::vector<TyAtom> atoms(64);
    std::vector<TyBond> bonds(64);
    int atomCount = -1, bondCount = -1;
    ASSERT_EQ(TY_OK, Read(SampleFile(c.file), atoms, bonds, atomCount, bondCount));
    EXPECT_EQ(c.atoms, atomCount);
    EXPECT_EQ(c.bonds, bondCount);
    EXPECT_STREQ(c.firstElement, atoms[0].element);
    // Every bond joins two atoms at a chemically sensible distance.
    for (int i = 0; i < bondCount; ++i) {
      const TyAtom& a = atoms[bonds[i].first];
      const TyAtom& b = atoms[bonds[i].second];
      const double d = std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
      EXPECT_GT(d, 0.9) << a.element << "-" << b.element;
      EXPECT_LT(d, 1.6) << a.element << "-" << b.element;
    }
  }
}

TEST_F(TySharedTest, ReportsWhatWentWrong) {
  char temp[MAX_PATH + 1] = {};
  ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
  const std::string broken = std::string(temp) + "tvs-broken-" + std::to_string(GetCurrentProcessId()) + ".xyz";
  HANDLE file = CreateFileA(broken.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  DWORD written = 0;
  WriteFile(file, "not a molecule\n", 15, &written, nullptr);
  CloseHandle(file);

  std::vector<TyAtom> atoms(64);
  std::vector<TyBond> bonds(64);
  int atomCount = -1, bondCount = -1;
  EXPECT_EQ(TY_MALFORMED, Read(broken, atoms, bonds, atomCount, bondCount));
  EXPECT_EQ(0, atomCount);
  EXPECT_EQ(TY_CANNOT_OPEN, Read(SampleFile("missing.pdb"), atoms, bonds, atomCount, bondCount));
  EXPECT_EQ(TY_UNKNOWN_FORMAT, Read(SampleFile("caffeine.txt"), atoms, bonds, atomCount, bondCount));
  EXPECT_EQ(TY_BAD_ARGUMENTS, read_(nullptr, nullptr, 0, &atomCount, nullptr, 0, &bondCount));
  EXPECT_EQ(TY_BAD_ARGUMENTS, read_(broken.c_str(), nullptr, 5, &atomCount, nullptr, 0, &bondCount));
  DeleteFileA(broken.c_str());

  // Arrays too small: the counts say how large they must be, nothing is written.
  std::vector<TyAtom> few(2);
  few[0].element[0] = '?';
  EXPECT_EQ(TY_TOO_SMALL, Read(SampleFile("water.xyz"), few, bonds, atomCount, bondCount));
  EXPECT_EQ(3, atomCount);
  EXPECT_EQ(2, bondCount);
  EXPECT_EQ('?', few[0].element[0]);
}

}  // namespace

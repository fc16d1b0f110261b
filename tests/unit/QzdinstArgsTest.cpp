// The clean-up program's argument parsing and the path checks that keep it
// inside one install directory.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/qzdinst/CleanupArgs.h"

namespace {

using qzdinst::CheckProfilePath;
using qzdinst::CleanupPlan;
using qzdinst::DeleteOutcome;

TEST(QzdinstArgs, SkipsTheProgramNameQuotedOrPlain) {
  struct Case { const char* line; const char* arguments; };
  const Case cases[] = {
      {"C:\\WINDOWS\\SYSTEM\\_qzdinst.exe /U /PP:C:\\A\\SETUP.ini", "/U /PP:C:\\A\\SETUP.ini"},
      {"\"C:\\Program Files\\_qzdinst.exe\"  /U /PP:x", "/U /PP:x"},
      {"  _qzdinst.exe", ""},
      {"\"unclosed /U", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(c.arguments, qzdinst::SkipProgramName(c.line));
  }
}

TEST(QzdinstArgs, ParsesOnlyTheUninstallForm) {
  struct Case { const char* arguments; bool ok; const char* path; };
  const Case cases[] = {
      {"/U /PP:C:\\PROG~1\\TESSAL~1\\SETUP.ini", true, "C:\\PROG~1\\TESSAL~1\\SETUP.ini"},
      {"  /U\t /PP:C:\\A\\SETUP.ini  ", true, "C:\\A\\SETUP.ini"},
      // A failed short-path conversion hands over the long path, blanks and all.
      {"/U /PP:C:\\Program Files\\Tessaly Viewer\\SETUP.ini", true, "C:\\Program Files\\Tessaly Viewer\\SETUP.ini"},
      {"/U /PP:\"C:\\Program Files\\T\\SETUP.ini\"", true, "C:\\Program Files\\T\\SETUP.ini"},
      {"", false, ""},
      {"/U", false, ""},
      {"/U /PP:", false, ""},
      {"/U /PP:  ", false, ""},
      {"/u /PP:C:\\A\\SETUP.ini", false, ""},
      {"/U /pp:C:\\A\\SETUP.ini", false, ""},
      {"/U/PP:C:\\A\\SETUP.ini", false, ""},
      {"/PP:C:\\A\\SETUP.ini /U", false, ""},
      {"/PP:C:\\A\\SETUP.ini", false, ""},
      {"/X /U /PP:C:\\A\\SETUP.ini", false, ""},
      {"/U /PP:\"C:\\A\\SETUP.ini", false, ""},
      {"/U /PP:\"C:\\A\"B\\SETUP.ini\"", false, ""},
      {"/U /PP:\"\"", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    std::string path = "stale";
    EXPECT_EQ(c.ok, qzdinst::ParseArguments(c.arguments, path));
    EXPECT_EQ(c.path, path);
  }
}

TEST(QzdinstArgs, AcceptsAProfileFileInsideAnInstallDirectory) {
  struct Case { const char* path; const char* directory; const char* title; };
  const Case cases[] = {
      {"C:\\PROG~1\\TESSAL~1\\SETUP.ini", "C:\\PROG~1\\TESSAL~1", "SETUP"},
      {"d:\\Tessaly\\setup.INI", "d:\\Tessaly", "setup"},
      {"C:\\Program Files\\Tessaly Viewer\\My.Setup.ini", "C:\\Program Files\\Tessaly Viewer", "My.Setup"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    CleanupPlan plan;
    std::string reason;
    ASSERT_TRUE(CheckProfilePath(c.path, plan, reason)) << reason;
    EXPECT_EQ(c.path, plan.profilePath);
    EXPECT_EQ(c.directory, plan.directory);
    EXPECT_EQ(c.title, plan.title);
    EXPECT_EQ(std::string(c.directory) + "\\" + c.title + ".exe", qzdinst::SetupCopyPath(plan.directory, plan.title));
  }
}

TEST(QzdinstArgs, RefusesPathsThatCouldLeadElsewhere) {
  const std::string tooLong = "C:\\" + std::string(250, 'a') + "\\SETUP.ini";
  const char* cases[] = {
      "SETUP.ini",                       // relative
      "Tessaly\\SETUP.ini",              // relative
      "\\Tessaly\\SETUP.ini",            // no drive
      "\\\\server\\share\\SETUP.ini",    // network path
      "C:SETUP.ini",                     // drive-relative
      "C:\\SETUP.ini",                   // the root is nobody's install directory
      "C:\\Tessaly\\..\\SETUP.ini",
      "C:\\Tessaly\\..",
      "C:\\..\\Tessaly\\SETUP.ini",
      "C:\\Tessaly\\.\\SETUP.ini",
      "C:\\Tessaly\\...\\SETUP.ini",
      "C:\\Tessaly\\*.ini",
      "C:\\Tessaly\\SETUP?.ini",
      "C:\\Tess*\\SETUP.ini",
      "C:\\Tessaly\\SETUP.ini:stream",
      "C:\\Tessaly\\SETUP.ini.",
      "C:\\Tessaly \\SETUP.ini",
      "C:\\Tessaly\\\\SETUP.ini",
      "C:\\Tessaly\\",
      "C:\\Tessaly/SETUP.ini",
      "C:\\Tessaly\\SETUP.exe",
      "C:\\Tessaly\\SETUP",
      "C:\\Tessaly\\.ini",
      "C:\\Tessaly\\SETUP.ini\\x.ini\\",
      "C:\\Tes<saly\\SETUP.ini",
      "C:\\Tes\tsaly\\SETUP.ini",
  };
  for (const char* path : cases) {
    SCOPED_TRACE(path);
    CleanupPlan plan;
    plan.directory = "untouched";
    std::string reason;
    EXPECT_FALSE(CheckProfilePath(path, plan, reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ("untouched", plan.directory);
  }
  CleanupPlan plan;
  std::string reason;
  EXPECT_FALSE(CheckProfilePath(tooLong, plan, reason));
}

TEST(QzdinstArgs, ProtectsTheWindowsAndSystemDirectoriesAndTheirParents) {
  const std::vector<std::string> guarded = {"C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM\\"};
  struct Case { const char* directory; bool isProtected; };
  const Case cases[] = {
      {"C:\\WINDOWS", true},
      {"c:\\windows\\", true},
      {"C:\\Windows\\System", true},
      {"C:\\", true},
      {"C:\\WINDOWS\\SYSTEM\\Tessaly", false},
      {"C:\\WINDOWSX", false},
      {"C:\\WIN", false},
      {"D:\\WINDOWS", false},
      {"C:\\Tessaly", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.directory);
    EXPECT_EQ(c.isProtected, qzdinst::IsProtectedDirectory(c.directory, guarded));
  }
  EXPECT_FALSE(qzdinst::IsProtectedDirectory("C:\\Tessaly", {""}));
}

TEST(QzdinstArgs, MainDirectoryComesFromTheLoggedDestinationLine) {
  struct Case { const char* value; const char* directory; };
  const Case cases[] = {
      {"TYVIEWER|-1|C:\\TYVIEWER", "C:\\TYVIEWER"},
      {"Tessaly Viewer|-1|C:\\Program Files\\Tessaly Viewer ", "C:\\Program Files\\Tessaly Viewer"},
      {"|-1|D:\\T", "D:\\T"},
      {"TYVIEWER|-1|", ""},
      {"TYVIEWER|-1", ""},
      {"TYVIEWER", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(c.directory, qzdinst::MainDirectoryFromLogValue(c.value));
  }
  EXPECT_TRUE(qzdinst::SameDirectory("C:\\TYVIEWER", "c:\\tyviewer\\"));
  EXPECT_FALSE(qzdinst::SameDirectory("C:\\TYVIEWER", "C:\\TYVIEWER2"));
  EXPECT_FALSE(qzdinst::SameDirectory("", ""));  // an empty record names nothing
}

TEST(QzdinstArgs, FileTitleDropsOnlyTheLastExtension) {
  EXPECT_EQ("SETUP", qzdinst::FileTitleOf("SETUP.INI"));
  EXPECT_EQ("Tessaly.Setup", qzdinst::FileTitleOf("Tessaly.Setup.ini"));
  EXPECT_EQ("SETUP", qzdinst::FileTitleOf("SETUP"));
}

TEST(QzdinstArgs, RetriesWhileBusyAndStopsAtTheFirstAnswer) {
  struct Case {
    std::vector<DeleteOutcome> answers;
    int maxAttempts;
    DeleteOutcome expected;
    int tries;
  };
  const Case cases[] = {
      {{DeleteOutcome::Deleted}, 5, DeleteOutcome::Deleted, 1},
      {{DeleteOutcome::Busy, DeleteOutcome::Busy, DeleteOutcome::Deleted}, 5, DeleteOutcome::Deleted, 3},
      {{DeleteOutcome::Busy, DeleteOutcome::Missing}, 5, DeleteOutcome::Missing, 2},
      {{DeleteOutcome::Busy, DeleteOutcome::Failed, DeleteOutcome::Deleted}, 5, DeleteOutcome::Failed, 2},
      {{DeleteOutcome::Busy, DeleteOutcome::Busy, DeleteOutcome::Busy, DeleteOutcome::Deleted}, 3,
       DeleteOutcome::Busy, 3},
  };
  for (const Case& c : cases) {
    int tries = 0;
    int pauses = 0;
    const DeleteOutcome outcome = qzdinst::DeleteWithRetry(
        [&] { return c.answers[tries++]; }, [&] { ++pauses; }, c.maxAttempts);
    EXPECT_EQ(c.expected, outcome);
    EXPECT_EQ(c.tries, tries);
    EXPECT_EQ(c.tries - 1, pauses);  // no pause before the first try or after the last
  }
}

}  // namespace

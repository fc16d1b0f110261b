#include "tools/qzdinst/CleanupArgs.h"

#include <cctype>

namespace qzdinst {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string TrimBlanks(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool EqualNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::string WithoutTrailingBackslash(std::string path) {
  // "C:\" keeps its backslash: it is the root, not a trailing separator.
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

// A character that never belongs in a plain file or directory name.
bool IsForbidden(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  if (u < 32) return true;
  switch (c) {
    case '*': case '?': case '"': case '<': case '>': case '|': case '/': case ':':
      return true;
    default:
      return false;
  }
}

bool CheckComponent(const std::string& name, std::string& reason) {
  if (name.empty()) {
    reason = "empty path component";
    return false;
  }
  if (name.find_first_not_of('.') == std::string::npos) {
    reason = "relative component \"" + name + "\"";
    return false;
  }
  // Windows drops trailing dots and blanks, so "SETUP.ini." would name
  // another file than the one that was checked.
  if (name.back() == '.' || IsBlank(name.back())) {
    reason = "component ends in a dot or blank";
    return false;
  }
  for (char c : name) {
    if (IsForbidden(c)) {
      reason = std::string("forbidden character '") + c + "'";
      return false;
    }
  }
  return true;
}

}  // namespace

std::string SkipProgramName(const std::string& commandLine) {
  std::size_t i = 0;
  while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
  if (i < commandLine.size() && commandLine[i] == '"') {
    const std::size_t close = commandLine.find('"', i + 1);
    i = close == std::string::npos ? commandLine.size() : close + 1;
  } else {
    while (i < commandLine.size() && !IsBlank(commandLine[i])) ++i;
  }
  while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
  return commandLine.substr(i);
}

bool ParseArguments(const std::string& arguments, std::string& path) {
  path.clear();
  const std::string text = TrimBlanks(arguments);
  static const std::string kUninstall = "/U";
  static const std::string kProfilePath = "/PP:";
  if (text.compare(0, kUninstall.size(), kUninstall) != 0) return false;
  std::size_t i = kUninstall.size();
  if (i >= text.size() || !IsBlank(text[i])) return false;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (text.compare(i, kProfilePath.size(), kProfilePath) != 0) return false;
  std::string value = text.substr(i + kProfilePath.size());
  if (!value.empty() && value.front() == '"') {
    if (value.size() < 2 || value.back() != '"') return false;
    value = value.substr(1, value.size() - 2);
  }
  if (value.empty() || value.find('"') != std::string::npos) return false;
  path = value;
  return true;
}

bool CheckProfilePath(const std::string& path, CleanupPlan& plan, std::string& reason) {
  if (path.size() > kMaxPathLength) {
    reason = "path too long";
    return false;
  }
  if (path.size() < 3 || !std::isalpha(static_cast<unsigned char>(path[0])) || path[1] != ':' ||
      path[2] != '\\') {
    reason = "not an absolute drive path";
    return false;
  }
  std::vector<std::string> parts;
  std::size_t start = 3;
  while (true) {
    const std::size_t slash = path.find('\\', start);
    parts.push_back(path.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  for (const std::string& part : parts) {
    if (!CheckComponent(part, reason)) return false;
  }
  if (parts.size() < 2) {
    reason = "the profile file is not below a directory of its own";
    return false;
  }
  const std::string& fileName = parts.back();
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string::npos || dot == 0 || !EqualNoCase(fileName.substr(dot + 1), "ini")) {
    reason = "not a .ini file name";
    return false;
  }
  plan.profilePath = path;
  plan.directory = path.substr(0, path.size() - fileName.size() - 1);
  plan.title = fileName.substr(0, dot);
  return true;
}

bool IsProtectedDirectory(const std::string& directory, const std::vector<std::string>& protectedDirs) {
  const std::string dir = WithoutTrailingBackslash(directory);
  for (const std::string& raw : protectedDirs) {
    const std::string guarded = WithoutTrailingBackslash(raw);
    if (guarded.empty()) continue;
    if (EqualNoCase(dir, guarded)) return true;
    // dir is an ancestor of guarded: "C:\A" contains "C:\A\B".
    if (guarded.size() > dir.size() && EqualNoCase(guarded.substr(0, dir.size()), dir) &&
        (dir.back() == '\\' || guarded[dir.size()] == '\\')) {
      return true;
    }
  }
  return false;
}

std::string MainDirectoryFromLogValue(const std::string& value) {
  const std::size_t first = value.find('|');
  if (first == std::string::npos) return std::string();
  const std::size_t second = value.find('|', first + 1);
  if (second == std::string::npos) return std::string();
  return TrimBlanks(value.substr(second + 1));
}

bool SameDirectory(const std::string& a, const std::string& b) {
  const std::string left = WithoutTrailingBackslash(TrimBlanks(a));
  return !left.empty() && EqualNoCase(left, WithoutTrailingBackslash(TrimBlanks(b)));
}

std::string SetupCopyPath(const std::string& directory, const std::string& title) {
  return WithoutTrailingBackslash(directory) + "\\" + title + ".exe";
}

std::string FileTitleOf(const std::string& fileName) {
  const std::size_t dot = fileName.rfind('.');
  return dot == std::string::npos || dot == 0 ? fileName : fileName.substr(0, dot);
}

DeleteOutcome DeleteWithRetry(const std::function<DeleteOutcome()>& attempt,
                              const std::function<void()>& pause, int maxAttempts) {
  DeleteOutcome outcome = DeleteOutcome::Busy;
  for (int i = 0; i < maxAttempts; ++i) {
    if (i > 0) pause();
    outcome = attempt();
    if (outcome != DeleteOutcome::Busy) break;
  }
  return outcome;
}

}  // namespace qzdinst

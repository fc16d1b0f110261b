#include "uninstall/SystemRemovalActions.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "support/FilePath.h"
#include "system/ProgramGroups.h"
#include "system/SharedDllCount.h"

SystemRemovalActions::SystemRemovalActions(Progress progress, MessagePump pump)
    : progress(std::move(progress)), pump(std::move(pump)) {}

SystemRemovalActions::~SystemRemovalActions() = default;

bool SystemRemovalActions::ShowProgress(const std::string& path) { return progress ? progress(path) : true; }

void SystemRemovalActions::LowerSharedCount(const std::string& path) {
    // The destructor writes the count back, or deletes the value at 0.
    SharedDllCount count(path);
    count.Decrement();
}

void SystemRemovalActions::DeleteInstalledFile(const std::string& path) {
    // A file in use stays; nothing can be done about it here.
    FilePath(path).Delete(true);
}

void SystemRemovalActions::DeleteProgramItem(const std::string& group, const std::string& itemName) {
    Groups().DeleteItem(group, itemName);
}

void SystemRemovalActions::DeleteProgramGroup(const std::string& group) { Groups().DeleteGroup(group); }

void SystemRemovalActions::RemoveInstallDirectory(const std::string& path) {
    // Fails unless the directory is empty, which is what keeps user files.
    ::RemoveDirectoryA(path.c_str());
}

void SystemRemovalActions::Pump() {
    if (pump) pump();
}

ProgramGroups& SystemRemovalActions::Groups() {
    if (!groups) groups = std::make_unique<ProgramGroups>();
    return *groups;
}

std::string RunningModuleFileName() {
    std::vector<char> buffer(MAX_PATH + 1, '\0');
    DWORD length = 0;
    for (;;) {
        length = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) break;
        buffer.resize(buffer.size() * 2);
    }
    const std::string path(buffer.data(), length);
    const std::size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

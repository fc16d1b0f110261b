#pragma once
// The removal pass's actions on the real system: files, the shared counts in
// the registry, program items through ProgramGroups, directories. The
// progress hook and the message pump come from the page that runs the pass.
// Windows only.

#include <functional>
#include <memory>
#include <string>

#include "uninstall/RemovalPass.h"

class ProgramGroups;

class SystemRemovalActions : public RemovalActions {
public:
    using Progress = std::function<bool(const std::string& path)>;
    using MessagePump = std::function<void()>;

    // Either may be empty: no progress is shown and the pass never stops,
    // or no messages are dispatched.
    SystemRemovalActions(Progress progress, MessagePump pump);
    ~SystemRemovalActions() override;
    SystemRemovalActions(const SystemRemovalActions&) = delete;
    SystemRemovalActions& operator=(const SystemRemovalActions&) = delete;

    bool ShowProgress(const std::string& path) override;
    void LowerSharedCount(const std::string& path) override;
    void DeleteInstalledFile(const std::string& path) override;
    void DeleteProgramItem(const std::string& group, const std::string& itemName) override;
    void DeleteProgramGroup(const std::string& group) override;
    void RemoveInstallDirectory(const std::string& path) override;
    void Pump() override;

private:
    ProgramGroups& Groups();

    Progress progress;
    MessagePump pump;
    std::unique_ptr<ProgramGroups> groups;  // made on first use
};

// The running program's own file name ("SETUP.EXE"), as the system reports it.
std::string RunningModuleFileName();

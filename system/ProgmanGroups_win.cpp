#include "system/ProgmanGroups.h"

#include "system/DdeCommands.h"
#include "system/StartProgram.h"

ProgmanGroups::ProgmanGroups(std::string service) : service(std::move(service)) {}

ProgmanGroups::~ProgmanGroups() = default;

bool ProgmanGroups::StartProgramManager() {
    return StartDetachedProgram("progman.exe");
}

bool ProgmanGroups::Connect() {
    if (connected) {
        return true;
    }
    bool mayStart = true;
    for (;;) {
        if (conversation.Connect(service, service)) {
            connected = true;
            return true;
        }
        if (!mayStart) {
            return false;
        }
        mayStart = false;
        if (!StartProgramManager()) {
            return false;
        }
    }
}

bool ProgmanGroups::Send(const std::optional<std::string>& command) {
    return command.has_value() && conversation.Execute(*command);
}

bool ProgmanGroups::AddItem(const std::string& group, const std::string& programPath,
                            const std::optional<std::string>& arguments,
                            const std::string& itemName, const std::string& iconFile,
                            int iconIndex, int showCommand, int secondShowValue) {
    // Build every command first: one that would not fit refuses the whole
    // item before anything reaches the Program Manager.
    const auto create = ddecmd::CreateGroup(group);
    const auto replace = ddecmd::ReplaceItem(itemName);
    const auto add = ddecmd::AddItem(programPath, arguments, itemName, iconFile, iconIndex,
                                     showCommand, secondShowValue);
    if (!create || !replace || !add || !Connect()) {
        return false;
    }
    if (!Send(create)) {
        return false;
    }
    // Replacing an item that does not exist fails; AddItem then adds it.
    Send(replace);
    return Send(add);
}

bool ProgmanGroups::DeleteItem(const std::string& group, const std::string& itemName) {
    const auto create = ddecmd::CreateGroup(group);
    const auto remove = ddecmd::DeleteItem(itemName);
    if (!create || !remove || !Connect()) {
        return false;
    }
    return Send(create) && Send(remove);
}

bool ProgmanGroups::DeleteGroup(const std::string& group) {
    const auto remove = ddecmd::DeleteGroup(group);
    if (!remove || !Connect()) {
        return false;
    }
    return Send(remove);
}

bool ProgmanGroups::ListGroups(std::vector<std::string>& names) {
    if (!Connect()) {
        return false;
    }
    std::string reply;
    if (!conversation.Request("Progman", reply)) {
        return false;
    }
    names = ddecmd::SplitGroupList(reply);
    return true;
}

bool ProgmanGroups::ListGroups(HWND listBox) {
    std::vector<std::string> names;
    if (!ListGroups(names)) {
        return false;
    }
    for (const std::string& name : names) {
        SendMessageA(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    return true;
}

#pragma once
// Program groups and items through the Program Manager's DDE commands.
// Windows only. Every operation returns true on success; failures are
// quiet (an item that cannot be made is simply missing).

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "system/DdeConversation.h"

class ProgmanGroups {
public:
    // The Program Manager's service and topic name.
    static constexpr const char* kService = "PROGMAN";

    // `service` is the DDE service and topic to talk to; only tests name
    // another one.
    explicit ProgmanGroups(std::string service = kService);
    virtual ~ProgmanGroups();
    ProgmanGroups(const ProgmanGroups&) = delete;
    ProgmanGroups& operator=(const ProgmanGroups&) = delete;

    // [CreateGroup], [ReplaceItem], [AddItem]. showCommand is the window
    // show code (5 normal, 2 minimised); secondShowValue is always 5.
    // `arguments` absent: the command line is the program alone.
    virtual bool AddItem(const std::string& group, const std::string& programPath,
                         const std::optional<std::string>& arguments, const std::string& itemName,
                         const std::string& iconFile, int iconIndex, int showCommand,
                         int secondShowValue);
    virtual bool DeleteItem(const std::string& group, const std::string& itemName);
    virtual bool DeleteGroup(const std::string& group);
    // The existing groups, from a request for the item "Progman".
    virtual bool ListGroups(std::vector<std::string>& names);
    // The same, added to a list box one string each.
    bool ListGroups(HWND listBox);

protected:
    // Connects when not connected; when the first attempt fails, starts the
    // Program Manager once and tries again.
    bool Connect();
    // Formats nothing: sends an already bounded command. An empty optional
    // (a command that did not fit) fails without sending.
    bool Send(const std::optional<std::string>& command);
    // Starts "progman.exe" (StartDetachedProgram); true when it started.
    virtual bool StartProgramManager();

    DdeConversation conversation;
    bool connected = false;
    std::string service;
};

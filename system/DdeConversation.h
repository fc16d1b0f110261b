#pragma once
// One DDE client conversation. DDE is initialised on first use, once; the
// destructor disconnects and uninitialises. Strings go out in the Windows
// ANSI code page. Windows only.

#include <windows.h>

#include <ddeml.h>

#include <string>

class DdeConversation {
public:
    // Time-out of every transaction, in milliseconds.
    static constexpr DWORD kTimeout = 1000;

    DdeConversation() = default;
    ~DdeConversation();
    DdeConversation(const DdeConversation&) = delete;
    DdeConversation& operator=(const DdeConversation&) = delete;

    // Initialises DDE when needed and connects to service/topic.
    bool Connect(const std::string& service, const std::string& topic);
    void Disconnect();
    bool IsConnected() const { return conversation != nullptr; }

    // An execute transaction: the command with its terminating zero, CF_TEXT,
    // no item. True when the server accepted it.
    bool Execute(const std::string& command);
    // A CF_TEXT request for `item`; the reply is cut at its first zero.
    bool Request(const std::string& item, std::string& reply);

private:
    bool Initialize();

    DWORD instance = 0;
    bool initialized = false;
    HCONV conversation = nullptr;
};

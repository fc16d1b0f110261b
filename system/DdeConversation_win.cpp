#include "system/DdeConversation.h"

#include <vector>

namespace {

// DDEML calls this from inside its own message handling. A client has
// nothing to answer; whatever happens, nothing may leave into USER32.
HDDEDATA CALLBACK ClientCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    try {
        return nullptr;
    } catch (...) {
        return nullptr;
    }
}

// A DDE string handle, freed with its instance's DdeFreeStringHandle.
class DdeString {
public:
    DdeString(DWORD instance, const std::string& text)
        : instance(instance),
          handle(DdeCreateStringHandleA(instance, text.c_str(), CP_WINANSI)) {}
    ~DdeString() {
        if (handle != nullptr) {
            DdeFreeStringHandle(instance, handle);
        }
    }
    DdeString(const DdeString&) = delete;
    DdeString& operator=(const DdeString&) = delete;
    HSZ Get() const { return handle; }

private:
    DWORD instance;
    HSZ handle;
};

}  // namespace

DdeConversation::~DdeConversation() {
    Disconnect();
    if (initialized) {
        DdeUninitialize(instance);
        initialized = false;
    }
}

bool DdeConversation::Initialize() {
    if (initialized) {
        return true;
    }
    DWORD id = 0;
    // A plain client: no filter flags.
    if (DdeInitializeA(&id, ClientCallback, 0, 0) != DMLERR_NO_ERROR) {
        return false;
    }
    instance = id;
    initialized = true;
    return true;
}

bool DdeConversation::Connect(const std::string& service, const std::string& topic) {
    if (conversation != nullptr) {
        return true;
    }
    if (!Initialize()) {
        return false;
    }
    DdeString serviceName(instance, service);
    DdeString topicName(instance, topic);
    if (serviceName.Get() == nullptr || topicName.Get() == nullptr) {
        return false;
    }
    conversation = DdeConnect(instance, serviceName.Get(), topicName.Get(), nullptr);
    return conversation != nullptr;
}

void DdeConversation::Disconnect() {
    if (conversation != nullptr) {
        DdeDisconnect(conversation);
        conversation = nullptr;
    }
}

bool DdeConversation::Execute(const std::string& command) {
    if (conversation == nullptr) {
        return false;
    }
    std::vector<BYTE> data(command.begin(), command.end());
    data.push_back(0);
    DWORD result = 0;
    HDDEDATA reply = DdeClientTransaction(data.data(), static_cast<DWORD>(data.size()), conversation,
                                          nullptr, CF_TEXT, XTYP_EXECUTE, kTimeout, &result);
    return reply != nullptr;
}

bool DdeConversation::Request(const std::string& item, std::string& reply) {
    if (conversation == nullptr) {
        return false;
    }
    DdeString itemName(instance, item);
    if (itemName.Get() == nullptr) {
        return false;
    }
    DWORD result = 0;
    HDDEDATA data = DdeClientTransaction(nullptr, 0, conversation, itemName.Get(), CF_TEXT,
                                         XTYP_REQUEST, kTimeout, &result);
    if (data == nullptr) {
        return false;
    }
    const DWORD size = DdeGetData(data, nullptr, 0, 0);
    std::vector<char> text(size + 1, '\0');
    if (size > 0) {
        DdeGetData(data, reinterpret_cast<BYTE*>(text.data()), size, 0);
    }
    DdeFreeDataHandle(data);
    reply = text.data();
    return true;
}

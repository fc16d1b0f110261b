#include "errors/SetupException.h"

#include <new>

TVS_IMPLEMENT_DYNAMIC(CXException, CException)
TVS_IMPLEMENT_DYNAMIC(CXMemoryException, CXException)
TVS_IMPLEMENT_DYNAMIC(CXFileException, CXException)
TVS_IMPLEMENT_DYNAMIC(CXArchiveException, CXException)
TVS_IMPLEMENT_DYNAMIC(CXResourceException, CXException)
TVS_IMPLEMENT_DYNAMIC(CXUserException, CXException)
TVS_IMPLEMENT_DYNAMIC(CXNotSupportedException, CXException)
TVS_IMPLEMENT_DYNAMIC(CInstallProfileException, CXException)
TVS_IMPLEMENT_DYNAMIC(CZLibException, CXException)
TVS_IMPLEMENT_DYNAMIC(CMultiFileException, CXException)

namespace {

std::string NoStrings(unsigned) { return {}; }
StringLoader g_loader = &NoStrings;

// The catalogue. The first matching entry wins, so a -1 entry stands last.
// Some classes have no -1 entry: their unknown causes fall through to the
// CXException texts while the report still names the real class and cause.
const ErrorMessageEntry kBaseTable[] = {{-1, 24576, 24577, 0}};
const ErrorMessageEntry kMemoryTable[] = {{-1, 24578, 24579, 0}};
const ErrorMessageEntry kArchiveTable[] = {{-1, 24582, 24583, 0}};
const ErrorMessageEntry kResourceTable[] = {{-1, 24584, 24585, 0}};
const ErrorMessageEntry kUserTable[] = {{-1, 24586, 24587, 0}};
const ErrorMessageEntry kNotSupportedTable[] = {{-1, 24588, 24589, 0}};
const ErrorMessageEntry kFileTable[] = {
    {2, 24590, 24591, 0},  {3, 24592, 24593, 0},  {4, 24594, 24595, 0},  {5, 24596, 24597, 0},
    {6, 24598, 24581, 0},  {7, 24599, 24581, 0},  {8, 24600, 24601, 0},  {9, 24602, 24581, 0},
    {10, 24603, 24604, 0}, {11, 24605, 24606, 0}, {12, 24607, 24608, 0}, {13, 24609, 24610, 0},
    {14, 24611, 24581, 0}, {-1, 24580, 24581, 0},
};
const ErrorMessageEntry kProfileTable[] = {{-1, 10, 13, 0}};
const ErrorMessageEntry kZLibTable[] = {
    {1, 27658, 27659, 0}, {2, 27660, 27659, 0}, {3, 27661, 27659, 0}, {4, 27662, 27659, 0},
};
const ErrorMessageEntry kMultiFileTable[] = {
    {2, 27650, 27651, 0}, {3, 27652, 27653, 0}, {4, 27654, 27655, 0},
    {5, 27656, 27657, 0}, {1, 27648, 27649, 0},
};

template <std::size_t N>
constexpr int Count(const ErrorMessageEntry (&)[N]) { return static_cast<int>(N); }

}  // namespace

ReportSlots& CurrentReportSlots() {
    static ReportSlots slots;
    return slots;
}

void SetStringLoader(StringLoader loader) { g_loader = loader ? loader : &NoStrings; }

std::string LoadResourceString(unsigned id) { return g_loader(id); }

bool CXException::LookUp(const ErrorMessageEntry* table, int count, int cause) {
    const ErrorMessageEntry* entry = nullptr;
    for (int i = 0; i < count; ++i) {
        if (table[i].code == -1 || table[i].code == cause) {
            entry = &table[i];
            break;
        }
    }
    if (entry == nullptr) return false;

    ReportSlots& slots = CurrentReportSlots();
    int stored = 0;
    if (entry->shortId != 0 && slots.shortText.empty()) {
        slots.shortText = LoadResourceString(entry->shortId);
        ++stored;
    }
    if (entry->longId != 0 && slots.longText.empty()) {
        slots.longText = LoadResourceString(entry->longId);
        ++stored;
    }
    if (entry->helpId != 0 && slots.helpContext == 0) {
        slots.helpContext = entry->helpId;
        ++stored;
    }
    return stored == 3;
}

void CXException::PrepareMessages() const {
    ReportSlots& slots = CurrentReportSlots();
    slots = ReportSlots{};
    FillMessages();
}

void CXException::FillMessages() const { LookUp(kBaseTable, Count(kBaseTable), cause); }

// Each subclass looks in its own table first; the base entry then fills
// whatever that left empty and never overwrites a slot already set.
#define TVS_FILL_MESSAGES(Class, table)                                  \
    void Class::FillMessages() const {                                   \
        if (!LookUp(table, Count(table), cause)) CXException::FillMessages(); \
    }

TVS_FILL_MESSAGES(CXMemoryException, kMemoryTable)
TVS_FILL_MESSAGES(CXFileException, kFileTable)
TVS_FILL_MESSAGES(CXArchiveException, kArchiveTable)
TVS_FILL_MESSAGES(CXResourceException, kResourceTable)
TVS_FILL_MESSAGES(CXUserException, kUserTable)
TVS_FILL_MESSAGES(CXNotSupportedException, kNotSupportedTable)
TVS_FILL_MESSAGES(CInstallProfileException, kProfileTable)
TVS_FILL_MESSAGES(CZLibException, kZLibTable)
TVS_FILL_MESSAGES(CMultiFileException, kMultiFileTable)

#undef TVS_FILL_MESSAGES

namespace {

template <class T>
std::unique_ptr<CXException> CopyAs(const CException& e) {
    return std::make_unique<T>(static_cast<const T&>(e));
}

}  // namespace

std::unique_ptr<CXException> ToSetupException(const CException& e) {
    // A family object stands for itself; copy it with its own class.
    const CRuntimeClass* cls = e.GetRuntimeClass();
    if (cls == &CXMemoryException::runtimeClass) return CopyAs<CXMemoryException>(e);
    if (cls == &CXFileException::runtimeClass) return CopyAs<CXFileException>(e);
    if (cls == &CXArchiveException::runtimeClass) return CopyAs<CXArchiveException>(e);
    if (cls == &CXResourceException::runtimeClass) return CopyAs<CXResourceException>(e);
    if (cls == &CXUserException::runtimeClass) return CopyAs<CXUserException>(e);
    if (cls == &CXNotSupportedException::runtimeClass) return CopyAs<CXNotSupportedException>(e);
    if (cls == &CInstallProfileException::runtimeClass) return CopyAs<CInstallProfileException>(e);
    if (cls == &CZLibException::runtimeClass) return CopyAs<CZLibException>(e);
    if (cls == &CMultiFileException::runtimeClass) return CopyAs<CMultiFileException>(e);
    if (cls == &CXException::runtimeClass) return CopyAs<CXException>(e);

    // Framework exceptions, tested in this order; the file exception's OS
    // error and file name are not carried over.
    if (e.IsKindOf(&CMemoryException::runtimeClass)) return std::make_unique<CXMemoryException>(0);
    if (e.IsKindOf(&CFileException::runtimeClass))
        return std::make_unique<CXFileException>(static_cast<const CFileException&>(e).cause);
    if (e.IsKindOf(&CArchiveException::runtimeClass))
        return std::make_unique<CXArchiveException>(static_cast<const CArchiveException&>(e).cause);
    if (e.IsKindOf(&CNotSupportedException::runtimeClass)) return std::make_unique<CXNotSupportedException>(0);
    if (e.IsKindOf(&CResourceException::runtimeClass)) return std::make_unique<CXResourceException>(0);
    if (e.IsKindOf(&CUserException::runtimeClass)) return std::make_unique<CXUserException>(0);
    return std::make_unique<CXException>(1);
}

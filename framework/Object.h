#pragma once
// Run-time class information. Error reports show a class's name to the user
// ("17.2 (CXFileException)"), so every class that can be reported names
// itself here.

struct CRuntimeClass {
    const char* className;
    const CRuntimeClass* baseClass;

    // True when this class is `base` or derives from it.
    bool IsDerivedFrom(const CRuntimeClass* base) const;
};

class CObject {
public:
    virtual ~CObject() = default;
    static const CRuntimeClass runtimeClass;
    virtual const CRuntimeClass* GetRuntimeClass() const { return &runtimeClass; }
    bool IsKindOf(const CRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }
};

// Declares the class's run-time class record and its query. The record is
// defined in the .cpp with TVS_IMPLEMENT_DYNAMIC.
#define TVS_DECLARE_DYNAMIC(Class)                                               \
public:                                                                         \
    static const CRuntimeClass runtimeClass;                                    \
    const CRuntimeClass* GetRuntimeClass() const override { return &runtimeClass; }

#define TVS_IMPLEMENT_DYNAMIC(Class, Base) \
    const CRuntimeClass Class::runtimeClass = {#Class, &Base::runtimeClass};

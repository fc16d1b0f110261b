#include "framework/Object.h"

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* c = this; c != nullptr; c = c->baseClass)
        if (c == base) return true;
    return false;
}

const CRuntimeClass CObject::runtimeClass = {"CObject", nullptr};

#include "Object.h"

#include <map>
#include <string>

namespace {

// Built on first use, so registrations made during static initialisation find it ready
// whatever the order of the translation units.
std::map<std::string, const CRuntimeClass*, std::less<>>& Registry() {
    static std::map<std::string, const CRuntimeClass*, std::less<>> registry;
    return registry;
}

}  // namespace

const CRuntimeClass CObject::classCObject("CObject", CRuntimeClass::kNoSchema, nullptr, nullptr);

CRuntimeClass::CRuntimeClass(const char* name, unsigned schema, CObject* (*create)(),
                             const CRuntimeClass* base)
    : m_lpszClassName(name), m_wSchema(schema), m_pfnCreateObject(create), m_pBaseClass(base) {
    Registry().emplace(name, this);
}

std::unique_ptr<CObject> CRuntimeClass::CreateObject() const {
    return std::unique_ptr<CObject>(m_pfnCreateObject != nullptr ? m_pfnCreateObject() : nullptr);
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* cls = this; cls != nullptr; cls = cls->m_pBaseClass) {
        if (cls == base) {
            return true;
        }
    }
    return false;
}

const CRuntimeClass* CRuntimeClass::FromName(std::string_view name) {
    auto& registry = Registry();
    auto it = registry.find(name);
    return it == registry.end() ? nullptr : it->second;
}

const CRuntimeClass* CObject::GetRuntimeClass() const {
    return &classCObject;
}

CObject::~CObject() = default;

void CObject::Serialize(CArchive&) {}

void CObject::AssertValid() const {}

void CObject::Dump(std::ostream&) const {}

bool CObject::IsKindOf(const CRuntimeClass* cls) const {
    return GetRuntimeClass()->IsDerivedFrom(cls);
}

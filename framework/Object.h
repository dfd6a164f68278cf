// CObject is the root of the serialisable classes. Each such class has one CRuntimeClass
// record that names it, gives its schema number and can create a default object by name;
// the records register themselves during static initialisation, so a class can be found by
// its name before main() runs.
//
//     class CTimeZone : public CObject {
//         DECLARE_SERIAL(CTimeZone)
//         ...
//     };
//     IMPLEMENT_SERIAL(CTimeZone, CObject, 1)      // in the .cpp
//
//     std::unique_ptr<CObject> p = CRuntimeClass::FromName("CTimeZone")->CreateObject();
#pragma once

#include <memory>
#include <ostream>
#include <string_view>

class CArchive;
class CObject;

struct CRuntimeClass {
    const char* m_lpszClassName;
    unsigned m_wSchema;               // kNoSchema for classes that cannot be serialised
    CObject* (*m_pfnCreateObject)();  // null for abstract classes
    const CRuntimeClass* m_pBaseClass;

    static constexpr unsigned kNoSchema = 0xFFFF;

    // Registers the record under its name; a later record of the same name is not registered.
    CRuntimeClass(const char* name, unsigned schema, CObject* (*create)(),
                  const CRuntimeClass* base);

    std::unique_ptr<CObject> CreateObject() const;
    bool IsDerivedFrom(const CRuntimeClass* base) const;
    bool IsSerializable() const { return m_wSchema != kNoSchema; }

    // The registered record of that name, or null.
    static const CRuntimeClass* FromName(std::string_view name);
};

class CObject {
public:
    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject();
    // Reads or writes the object's fields, as the archive's mode says.
    virtual void Serialize(CArchive& ar);
    virtual void AssertValid() const;
    virtual void Dump(std::ostream& out) const;

    bool IsKindOf(const CRuntimeClass* cls) const;
    bool IsSerializable() const { return GetRuntimeClass()->IsSerializable(); }

    static const CRuntimeClass classCObject;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_SERIAL(class_name)                         \
public:                                                    \
    static const CRuntimeClass class##class_name;          \
    static CObject* CreateObject();                        \
    const CRuntimeClass* GetRuntimeClass() const override; \
                                                           \
private:

#define IMPLEMENT_SERIAL(class_name, base_name, schema)                            \
    CObject* class_name::CreateObject() {                                          \
        return new class_name;                                                     \
    }                                                                              \
    const CRuntimeClass class_name::class##class_name(                             \
        #class_name, schema, &class_name::CreateObject, RUNTIME_CLASS(base_name)); \
    const CRuntimeClass* class_name::GetRuntimeClass() const {                     \
        return RUNTIME_CLASS(class_name);                                          \
    }

// The class registry: a list of class information, looked up by name.
#include "zintara/framework/class_registry.h"

#include "zintara/framework/data_module.h"
#include "zintara/framework/exceptions.h"
#include "zintara/framework/text.h"

#include <algorithm>
#include <vector>

namespace zn {

namespace {

std::vector<const TClassInfo*>& Registry() {
    static std::vector<const TClassInfo*> Classes{&TDataModule::ClassInfo()};
    return Classes;
}

} // namespace

void RegisterClass(const TClassInfo& Class) {
    if (const TClassInfo* Known = GetClass(Class.Name)) {
        if (Known == &Class) return;
        throw EFilerError(std::wstring(L"A class named ") + Class.Name + L" already exists");
    }
    Registry().push_back(&Class);
}

void RegisterClasses(std::initializer_list<const TClassInfo*> Classes) {
    for (const TClassInfo* Class : Classes) RegisterClass(*Class);
}

void UnRegisterClass(const TClassInfo& Class) {
    auto& Classes = Registry();
    Classes.erase(std::remove(Classes.begin(), Classes.end(), &Class), Classes.end());
}

const TClassInfo* GetClass(const std::wstring& ClassName) {
    for (const TClassInfo* Class : Registry())
        if (SameText(Class->Name, ClassName)) return Class;
    return nullptr;
}

const TClassInfo& FindClass(const std::wstring& ClassName) {
    const TClassInfo* Class = GetClass(ClassName);
    if (!Class) throw EClassNotFound(L"Class " + ClassName + L" not found");
    return *Class;
}

} // namespace zn

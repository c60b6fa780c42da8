// The class registry: a list of class information, looked up by name.
#include "zintara/framework/class_registry.h"

#include "zintara/framework/data_module.h"
#include "zintara/framework/exceptions.h"
#include "zintara/framework/text.h"

#include <algorithm>
#include <vector>

namespace zn {

namespace {

std::vector<const TClassInfo*>& Registry()
{
    static std::vector<const TClassInfo*> classes{&TDataModule::ClassInfo()};
    return classes;
}

} // namespace

void RegisterClass(const TClassInfo& Class)
{
    if (const TClassInfo* known = GetClass(Class.Name)) {
        if (known == &Class)
            return;
        throw EFilerError(std::wstring(L"A class named ") + Class.Name + L" already exists");
    }
    Registry().push_back(&Class);
}

void RegisterClasses(std::initializer_list<const TClassInfo*> Classes)
{
    for (const TClassInfo* class_info : Classes)
        RegisterClass(*class_info);
}

void UnRegisterClass(const TClassInfo& Class)
{
    auto& classes = Registry();
    classes.erase(std::remove(classes.begin(), classes.end(), &Class), classes.end());
}

const TClassInfo* GetClass(const std::wstring& ClassName)
{
    for (const TClassInfo* class_info : Registry())
        if (SameText(class_info->Name, ClassName))
            return class_info;
    return nullptr;
}

const TClassInfo& FindClass(const std::wstring& ClassName)
{
    const TClassInfo* class_info = GetClass(ClassName);
    if (!class_info)
        throw EClassNotFound(L"Class " + ClassName + L" not found");
    return *class_info;
}

} // namespace zn

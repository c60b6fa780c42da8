// The registry of classes by name, through which the form reader creates components. Classes
// are registered by explicit calls (RegisterClass(TMyList::ClassInfo())), never by static
// initialisers; the framework's own TDataModule is always known.
#pragma once

#include "zintara/framework/object.h"

#include <initializer_list>
#include <string>

namespace zn {

// Registering the same class again does nothing; another class of the same name raises
// EFilerError.
void RegisterClass(const TClassInfo& Class);
void RegisterClasses(std::initializer_list<const TClassInfo*> Classes);
void UnRegisterClass(const TClassInfo& Class);
// By name, ASCII case-insensitive: null when unknown, or EClassNotFound ("Class TX not found").
const TClassInfo* GetClass(const std::wstring& ClassName);
const TClassInfo& FindClass(const std::wstring& ClassName);

} // namespace zn

// TResourceStream over FindResourceW, LoadResource and LockResource.
#include "zintara/framework/resource_stream.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/properties.h"

#include <windows.h>

namespace zn {

TResourceStream::TResourceStream(void* Module, const std::wstring& ResourceName)
{
    Initialize(Module, ResourceName.c_str(), ResourceName);
}

TResourceStream::TResourceStream(void* Module, int ResourceId)
{
    Initialize(Module, MAKEINTRESOURCEW(ResourceId), std::to_wstring(ResourceId));
}

void TResourceStream::Initialize(void* Module, const wchar_t* Name, const std::wstring& DisplayName)
{
    HMODULE instance = static_cast<HMODULE>(Module);
    HRSRC info = FindResourceW(instance, Name, RT_RCDATA);
    HGLOBAL data = info ? LoadResource(instance, info) : nullptr;
    void* memory = data ? LockResource(data) : nullptr;
    if (!memory)
        throw EResNotFound(L"Resource " + DisplayName + L" not found");
    SetPointer(memory, SizeofResource(instance, info));
}

const TClassInfo& TResourceStream::ClassInfo()
{
    static const TClassInfo info =
        DeclareClass<TResourceStream, TCustomMemoryStream>(L"TResourceStream");
    return info;
}
const TClassInfo& TResourceStream::ClassType() const
{
    return ClassInfo();
}

std::size_t TResourceStream::Write(const void*, std::size_t)
{
    throw EStreamError(L"Cannot write to a read-only resource stream");
}

void TResourceStream::SetSize(std::int64_t)
{
    throw EStreamError(L"Cannot change the size of a read-only resource stream");
}

} // namespace zn

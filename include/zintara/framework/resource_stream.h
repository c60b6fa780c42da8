// TResourceStream: the bytes of an RT_RCDATA resource of a module, read-only.
#pragma once

#include "zintara/framework/streams.h"

#include <string>

namespace zn {

class TResourceStream : public TCustomMemoryStream {
public:
    // Module is an HMODULE (null for the executable). A missing resource raises EResNotFound.
    TResourceStream(void* Module, const std::wstring& ResourceName);
    TResourceStream(void* Module, int ResourceId);

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    // The resource's memory belongs to its module: both raise EStreamError.
    std::size_t Write(const void* Buffer, std::size_t Count) override;
    void SetSize(std::int64_t NewSize) override;

private:
    void Initialize(void* Module, const wchar_t* Name, const std::wstring& DisplayName);
};

} // namespace zn

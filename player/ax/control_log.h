// The call log as the control writes it: one line per call the container made into the control,
// "<interface>.<method> control=0x..." and its arguments, and one per call the control made into
// the site, "Site.<method> control=0x... hr=0x...". Rectangles read "(left,top,right,bottom)",
// HRESULTs "0x" and eight digits, texts are quoted UTF-8.
#pragma once

#include "common/call_log.h"
#include "common/violations.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace zn::ax {

class CallLine {
public:
    CallLine(std::string_view call, const void* control) : line_(call)
    {
        line_.Address("control", control);
    }
    CallLine& Text(std::string_view key, std::string_view value)
    {
        line_.Text(key, value);
        return *this;
    }
    CallLine& Text(std::string_view key, const wchar_t* value);
    CallLine& Number(std::string_view key, long long value)
    {
        line_.Number(key, value);
        return *this;
    }
    CallLine& Address(std::string_view key, const void* value)
    {
        line_.Address(key, value);
        return *this;
    }
    CallLine& Rect(std::string_view key, const RECT* value);
    CallLine& Rect(std::string_view key, const RECTL* value);
    CallLine& Result(HRESULT value);
    void Record() { player::CallLogOfProcess().Record(line_); }

private:
    player::LogLine line_;
};

inline CallLine LogCall(std::string_view call, const void* control)
{
    return CallLine(call, control);
}

inline void Violation(std::string_view what)
{
    player::ReportViolation(what);
}

std::string Utf8(const wchar_t* text);
std::string Utf8(const std::wstring& text);
std::wstring Wide(std::string_view text);

} // namespace zn::ax

// Rectangles, results and wide texts in the log's form.
#include "control_log.h"

#include <cstdio>

namespace zn::ax {

std::string Utf8(const wchar_t* text)
{
    if (!text || !*text)
        return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    return out;
}

std::string Utf8(const std::wstring& text)
{
    return Utf8(text.c_str());
}

std::wstring Wide(std::string_view text)
{
    if (text.empty())
        return {};
    int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

CallLine& CallLine::Text(std::string_view key, const wchar_t* value)
{
    if (!value) {
        line_.Raw(key, "null");
        return *this;
    }
    line_.Text(key, Utf8(value));
    return *this;
}

CallLine& CallLine::Rect(std::string_view key, const RECT* value)
{
    if (!value) {
        line_.Raw(key, "null");
        return *this;
    }
    char text[64];
    std::snprintf(text, sizeof text, "(%ld,%ld,%ld,%ld)", value->left, value->top, value->right,
                  value->bottom);
    line_.Raw(key, text);
    return *this;
}

CallLine& CallLine::Rect(std::string_view key, const RECTL* value)
{
    if (!value)
        return Rect(key, static_cast<const RECT*>(nullptr));
    RECT rect{value->left, value->top, value->right, value->bottom};
    return Rect(key, &rect);
}

CallLine& CallLine::Result(HRESULT value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(value));
    line_.Raw("hr", text);
    return *this;
}

} // namespace zn::ax

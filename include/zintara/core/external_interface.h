// ExternalInterface requests: the XML through which an application calls a function of the movie
// (CallFunction) and through which a call from the movie reaches the application (OnFlashCall).
//
// Plain C++, no Windows header. Names and arguments may come from the movie: whatever they hold,
// the request stays well-formed XML.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zn {

// Text with the characters XML reserves (& < > ") written as entities.
std::wstring XmlEscaped(std::wstring_view Text);

// `<invoke name="NAME" returntype="RETURNTYPE"><arguments>`, one `<string>` element per
// argument, `</arguments></invoke>`. The player writes calls from the movie with the return type
// "XML"; applications usually ask for "xml".
std::wstring BuildInvokeRequest(std::wstring_view Name, const std::vector<std::wstring>& Arguments,
                                std::wstring_view ReturnType = L"xml");

} // namespace zn

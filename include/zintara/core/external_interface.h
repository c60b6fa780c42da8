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

// Text with the characters XML reserves (& < > " ') written as entities.
std::wstring XmlEscaped(std::wstring_view Text);

// `<invoke name="NAME" returntype="RETURNTYPE"><arguments>`, one `<string>` element per
// argument, `</arguments></invoke>`.
std::wstring BuildInvokeRequest(std::wstring_view Name, const std::vector<std::wstring>& Arguments,
                                std::wstring_view ReturnType = L"xml");

// One argument of a call from the movie, as the movie passed it.
struct TExternalArgument {
    enum class TKind { String, Number, Boolean, Null, Undefined };
    TKind Kind;
    // The string, the number as written, or "true" or "false"; nothing for the other kinds.
    std::wstring Text;
};

// The request of a call from the movie, the same on every host: return type "xml" and one
// element per argument by its kind: <string>, <number>, <true/> or <false/>, <null/>,
// <undefined/>.
std::wstring BuildCallRequest(std::wstring_view Name,
                              const std::vector<TExternalArgument>& Arguments);

} // namespace zn

// The application's half of ExternalInterface: the name of the function a movie's request calls,
// and the answers zinplay gives.
//
// Plain C++: no Windows header. Requests come from the movie: nothing is assumed of their content.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zn::zinplay {

// The value of the invoke element's name attribute, entities decoded; empty when the request
// has none.
std::wstring InvokedFunctionName(std::wstring_view Request);

// A string as an ExternalInterface value: `<string>TEXT</string>`.
std::wstring StringValue(std::wstring_view Text);

// What zinplay answers to a call from the movie, as ExternalInterface XML: the sample movie's
// "movieReady" gets a greeting, any other function is unknown to zinplay and gets undefined.
std::wstring AnswerTo(std::wstring_view FunctionName);

inline constexpr std::wstring_view ReadyFunction = L"movieReady";
inline constexpr std::wstring_view Greeting = L"hello from zinplay";

} // namespace zn::zinplay

// zinplay's output lines.
#include "transcript.h"

#include "zintara/framework/text.h"

#include <cstdio>
#include <string>

namespace zn::zinplay {

namespace {

void WriteLine(std::FILE* Stream, std::wstring_view Line)
{
    const std::string text = WideToUtf8(Line) + "\n";
    std::fwrite(text.data(), 1, text.size(), Stream);
    std::fflush(Stream);
}

} // namespace

void Say(std::wstring_view Line)
{
    WriteLine(stdout, Line);
}

void Explain(std::wstring_view Line)
{
    WriteLine(stderr, Line);
}

void Complain(std::wstring_view Line)
{
    Explain(std::wstring(L"zinplay: ") += Line);
}

} // namespace zn::zinplay

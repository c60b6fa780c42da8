// The ExternalInterface request an application or the player builds for a call.
#include "zintara/core/external_interface.h"

#include <gtest/gtest.h>

using namespace zn;

TEST(InvokeRequest, CarriesEveryArgumentAsAString)
{
    EXPECT_EQ(BuildInvokeRequest(L"fn", {L"a", L"2"}, L"XML"),
              L"<invoke name=\"fn\" returntype=\"XML\"><arguments><string>a</string>"
              L"<string>2</string></arguments></invoke>");
    EXPECT_EQ(BuildInvokeRequest(L"fn", {}),
              L"<invoke name=\"fn\" returntype=\"xml\"><arguments></arguments></invoke>");
    EXPECT_EQ(BuildInvokeRequest(L"fn", {L""}),
              L"<invoke name=\"fn\" returntype=\"xml\"><arguments><string></string>"
              L"</arguments></invoke>");
}

TEST(InvokeRequest, ReservedCharactersCannotAddMarkup)
{
    EXPECT_EQ(BuildInvokeRequest(L"f\" x=\"1", {L"</string><string>b&c'"}, L"XML"),
              L"<invoke name=\"f&quot; x=&quot;1\" returntype=\"XML\"><arguments>"
              L"<string>&lt;/string&gt;&lt;string&gt;b&amp;c&apos;</string></arguments></invoke>");
}

// A call from the movie: every kind of argument as its own element, and the return type the
// player writes.
TEST(InvokeRequest, ACallFromTheMovieKeepsItsArgumentKinds)
{
    using TKind = TExternalArgument::TKind;
    EXPECT_EQ(BuildCallRequest(L"f<", {{TKind::String, L"a'b"},
                                       {TKind::Number, L"2.5"},
                                       {TKind::Boolean, L"true"},
                                       {TKind::Boolean, L"false"},
                                       {TKind::Null, L""},
                                       {TKind::Undefined, L""}}),
              L"<invoke name=\"f&lt;\" returntype=\"xml\"><arguments><string>a&apos;b</string>"
              L"<number>2.5</number><true/><false/><null/><undefined/></arguments></invoke>");
}

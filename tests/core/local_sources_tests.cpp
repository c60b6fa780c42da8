// Where a requested name finds its source: files, the application's stream copies and the
// library's resources, and the names from a movie that must find nothing on this machine.
#include "zintara/core/local_sources.h"

#include "zintara/core/request_names.h"
#include "zintara/framework/file_stream.h"
#include "zintara/framework/text.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

using namespace zn;

namespace {

std::string ContentOf(TStream* Source)
{
    if (!Source)
        return "(nothing)";
    std::string bytes(static_cast<std::size_t>(Source->Size()), '\0');
    Source->SetPosition(0);
    Source->ReadBuffer(bytes.data(), bytes.size());
    return bytes;
}

} // namespace

class LocalSources : public ::testing::Test {
protected:
    TPendingCopies<TMemoryStream> copies;
    std::string folder; // with its final separator, in the system code page
    std::string movie;  // a file in it

    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
        const std::wstring wide_folder = std::wstring(temp) + L"zn_local_sources\\";
        CreateDirectoryW(wide_folder.c_str(), nullptr);
        folder = WideToAnsi(wide_folder);
        movie = folder + "movie.swf";
        TFileStream file(AnsiToWide(movie), fmCreate);
        file.WriteBuffer("local movie", 11);
    }
    void TearDown() override { DeleteFileW(AnsiToWide(movie).c_str()); }

    std::string OpenName(std::string_view Name)
    {
        auto source = OpenLocalSource(Name, copies);
        return ContentOf(source.get());
    }
    std::string Open(std::string_view Request) { return OpenName(ResolveRequest(Request).Name); }
};

TEST_F(LocalSources, AFileIsFoundByItsPathAndByItsDecodedName)
{
    EXPECT_EQ(Open(movie), "local movie");
    std::string escaped = movie;
    escaped.replace(escaped.rfind("movie"), 5, "%6dovie");
    EXPECT_EQ(Open(escaped), "(nothing)"); // only the file-name escapes are decoded
    escaped = folder;
    for (std::size_t at = escaped.find('\\'); at != std::string::npos; at = escaped.find('\\', at))
        escaped.replace(at, 1, "%2f");
    EXPECT_EQ(Open("file:///" + escaped + "movie.swf"), "local movie");
}

TEST_F(LocalSources, AStreamCopyIsServedOnceUnderItsToken)
{
    auto copy = std::make_unique<TMemoryStream>();
    copy->WriteBuffer("copied", 6);
    const std::uint32_t token = copies.Add(std::move(copy));
    const std::string url = StreamMovieUrl(token, ".swf");
    EXPECT_EQ(Open(url), "copied");
    EXPECT_EQ(Open(url), "(nothing)");
}

// A movie's name must not make the host open a file on another machine or a device: the system
// would connect to the server (and hand it the user's credentials) just to test the name.
TEST_F(LocalSources, NetworkAndDevicePathsFromAMovieOpenNothing)
{
    std::string forward = movie;
    for (char& c : forward)
        if (c == '\\')
            c = '/';
    for (const std::string& name : {"\\\\?\\" + movie, "\\\\.\\" + movie, "//?/" + forward,
                                    "//./" + forward, "\\??\\" + movie})
        EXPECT_EQ(OpenName(name), "(nothing)") << name;
    // The same after the file scheme is removed and after the file-name escapes are decoded.
    for (const std::string& request :
         {"file:///\\\\.\\" + movie, "file://///./" + forward, "%2f%2f%3f%2f" + forward,
          "http://zintara%2f%2f.%2f" + forward})
        EXPECT_EQ(Open(request), "(nothing)") << request;
}

TEST_F(LocalSources, TheFilePartOfANetworkPathIsStillALocalName)
{
    wchar_t previous[MAX_PATH];
    ASSERT_NE(GetCurrentDirectoryW(MAX_PATH, previous), 0u);
    ASSERT_TRUE(SetCurrentDirectoryW(AnsiToWide(folder).c_str()));
    const std::string found = OpenName("\\\\server\\share\\movie.swf");
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(found, "local movie");
}

TEST_F(LocalSources, TheLibraryResourcesAnswerNamesButNotUrlsOfOtherHosts)
{
    EXPECT_EQ(Open("http://zintara/ClearOverAll.swf"), "built-in skin");
    EXPECT_EQ(Open("skins/clearoverall.swf"), "built-in skin");
    EXPECT_EQ(Open("http://example.com/ClearOverAll.swf"), "(nothing)");
    EXPECT_EQ(Open("http://example.com/skins/ClearOverAll.swf?v=2"), "(nothing)");
}

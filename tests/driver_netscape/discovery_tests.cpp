// Where the plug-in is found: beside the executable, at the path its installer registered, at
// the default path; and when it is not: a registered key without a path, no library at all, a
// library that is no plug-in. Discovery runs once per process, so each case runs a probe
// program from a folder of its own.
#include "reference_plugin.h"

#include "zintara/framework/handles.h"

#include <gtest/gtest.h>

#include <string>

using namespace zn::test;
using zn::ExecutableFolder;
using zn::TKernelHandle;
using zn::TRegistryKey;

namespace {

// A plug-in's key as installers write it, under a name of the tests' own: the driver finds the
// Flash plug-in by the type its key lists, whatever the key is called.
constexpr wchar_t PluginKey[] = L"SOFTWARE\\MozillaPlugins\\@zintara.test/FlashTest";
constexpr wchar_t OtherPluginKey[] = L"SOFTWARE\\MozillaPlugins\\@zintara.test/AOtherPlugin";
constexpr wchar_t DefaultFolder[] = L"C:\\Windows\\system32\\Macromed\\Flash\\";

std::wstring Wide(const char* Text)
{
    return std::wstring(Text, Text + strlen(Text));
}

class DiscoveryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Unregister();
        FRoot = ExecutableFolder() + L"discovery\\";
        CreateDirectoryW(FRoot.c_str(), nullptr);
    }
    void TearDown() override { Unregister(); }
    static void Unregister()
    {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, PluginKey);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, OtherPluginKey);
    }

    // A folder holding the probe and, when given, a library copied in as npswf32.dll.
    std::wstring Folder(const std::wstring& Name, const std::wstring& Library = L"")
    {
        const std::wstring folder = FRoot + Name + L"\\";
        CreateDirectoryW(folder.c_str(), nullptr);
        EXPECT_TRUE(CopyFileW((ExecutableFolder() + Wide(DISCOVERY_PROBE)).c_str(),
                              (folder + L"probe.exe").c_str(), FALSE));
        DeleteFileW((folder + L"npswf32.dll").c_str());
        if (!Library.empty()) {
            EXPECT_TRUE(CopyFileW(Library.c_str(), (folder + L"npswf32.dll").c_str(), FALSE));
        }
        return folder;
    }

    // The probe's answer (see discovery_probe.cpp).
    DWORD RunProbe(const std::wstring& Folder, const std::wstring& Argument = L"")
    {
        std::wstring command = L"\"" + Folder + L"probe.exe\"";
        if (!Argument.empty())
            command += L" " + Argument;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            Folder.c_str(), &startup, &process))
            return 99;
        const TKernelHandle thread(process.hThread), child(process.hProcess);
        WaitForSingleObject(child.get(), 30000);
        DWORD code = 99;
        GetExitCodeProcess(child.get(), &code);
        return code;
    }

    void Register(const wchar_t* Path, const wchar_t* Key = PluginKey,
                  const wchar_t* MimeType = L"application/x-shockwave-flash")
    {
        TRegistryKey key, type;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, Key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  key.put(), nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegCreateKeyExW(key.get(), (std::wstring(L"MimeTypes\\") + MimeType).c_str(), 0,
                                  nullptr, 0, KEY_ALL_ACCESS, nullptr, type.put(), nullptr),
                  ERROR_SUCCESS);
        if (Path)
            RegSetValueExW(key.get(), L"Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(Path),
                           static_cast<DWORD>((wcslen(Path) + 1) * sizeof(wchar_t)));
    }

    const std::wstring Plugin = ExecutableFolder() + L"npswf32.dll";
    std::wstring FRoot;
};

} // namespace

TEST_F(DiscoveryTest, BesideTheExecutableWinsOverTheRegistry)
{
    Register(L"C:\\nowhere\\npswf32.dll");
    EXPECT_EQ(RunProbe(Folder(L"beside", Plugin)), 1u);
}

TEST_F(DiscoveryTest, TheRegisteredPathIsLoaded)
{
    const std::wstring elsewhere = Folder(L"registered-library", Plugin);
    Register((elsewhere + L"npswf32.dll").c_str());
    EXPECT_EQ(RunProbe(Folder(L"registered")), 1u);
}

TEST_F(DiscoveryTest, OnlyAKeyListingTheFlashTypeCounts)
{
    const std::wstring elsewhere = Folder(L"typed-library", Plugin);
    // Enumerated first, and a library that would load: but it plays another type.
    Register((elsewhere + L"npswf32.dll").c_str(), OtherPluginKey, L"application/x-other");
    EXPECT_EQ(RunProbe(Folder(L"other-type")), 0u);
    Register((elsewhere + L"npswf32.dll").c_str());
    EXPECT_EQ(RunProbe(Folder(L"flash-type")), 1u);
}

TEST_F(DiscoveryTest, AKeyWithoutAPathFindsNothing)
{
    Register(nullptr);
    EXPECT_EQ(RunProbe(Folder(L"no-path")), 0u);
}

TEST_F(DiscoveryTest, NoLibraryAnywhereFindsNothing)
{
    EXPECT_EQ(RunProbe(Folder(L"nothing")), 0u);
}

TEST_F(DiscoveryTest, ALibraryWithoutEntryPointsIsNoPlugin)
{
    EXPECT_EQ(RunProbe(Folder(L"not-a-plugin", ExecutableFolder() + Wide(NOT_A_PLUGIN))), 0u);
}

TEST_F(DiscoveryTest, TheDefaultPathIsTriedLast)
{
    const std::wstring folder = DefaultFolder;
    CreateDirectoryW(L"C:\\Windows\\system32\\Macromed", nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(Plugin.c_str(), (folder + L"NPSWF32.dll").c_str(), FALSE));
    const DWORD found = RunProbe(Folder(L"default"));
    DeleteFileW((folder + L"NPSWF32.dll").c_str());
    EXPECT_EQ(found, 1u);
}

// Shut-down is final: a driver destroyed after it (one a static object owns) neither finds the
// plug-in nor loads it again.
TEST_F(DiscoveryTest, ADriverDestroyedAfterShutDownFindsNoPlugin)
{
    EXPECT_EQ(RunProbe(Folder(L"late", Plugin), L"late"), 0u);
}

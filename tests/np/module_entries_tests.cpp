// The library's exports as a host finds and calls them: plain names, the plug-in table, and the
// browser table's checks.
#include "plugin_library.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace zn::np;

namespace zn::test {
namespace {

class ModuleEntriesTest : public ::testing::Test {
protected:
    void SetUp() override { library.TakeLog(); }
    PluginLibrary& library = PluginLibrary::Get();
};

TEST_F(ModuleEntriesTest, ExportsResolveByPlainNames)
{
    for (const char* name :
         {"NP_GetEntryPoints", "NP_Initialize", "NP_Shutdown", "Flash_DisableLocalSecurity",
          control::kTakeLog, control::kLiveInstances, control::kInvalidateRect, control::kFSCommand,
          control::kExternalCall, control::kRequestUrl})
        EXPECT_NE(GetProcAddress(library.module, name), nullptr) << name;
    EXPECT_EQ(GetProcAddress(library.module, "NP_Initialize@4"), nullptr);
}

TEST_F(ModuleEntriesTest, EntryPointsFillAZeroedTable)
{
    NPPluginFuncs funcs{};
    ASSERT_EQ(library.exports.getEntryPoints(&funcs), NPERR_NO_ERROR);
    EXPECT_EQ(funcs.size, 60);
    EXPECT_EQ(funcs.version >> 8, 0);
    for (void* entry :
         {(void*)funcs.newp, (void*)funcs.destroy, (void*)funcs.setwindow, (void*)funcs.newstream,
          (void*)funcs.destroystream, (void*)funcs.writeready, (void*)funcs.write,
          (void*)funcs.event, (void*)funcs.urlnotify, (void*)funcs.getvalue})
        EXPECT_NE(entry, nullptr);
    EXPECT_EQ(library.TakeLog().at(0).rfind("NP_GetEntryPoints funcs=", 0), 0u);
}

TEST_F(ModuleEntriesTest, EntryPointsRefuseATableTooSmallOrMissing)
{
    NPPluginFuncs funcs{};
    std::memset(&funcs, 0x5A, sizeof funcs);
    funcs.size = 40;
    EXPECT_EQ(library.exports.getEntryPoints(&funcs), NPERR_INVALID_FUNCTABLE_ERROR);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(funcs.newp) & 0xFF, 0x5Au); // left alone
    EXPECT_EQ(library.exports.getEntryPoints(nullptr), NPERR_INVALID_FUNCTABLE_ERROR);
}

TEST_F(ModuleEntriesTest, InitializeRefusesTablesTooSmallOrTooOld)
{
    NPNetscapeFuncs table = library.browser.Table();
    table.size = 100;
    EXPECT_EQ(library.exports.initialize(&table), NPERR_INVALID_FUNCTABLE_ERROR);
    table.size = 172;
    table.version = 13;
    EXPECT_EQ(library.exports.initialize(&table), NPERR_INCOMPATIBLE_VERSION_ERROR);
    table.version = (1 << 8) | 18;
    EXPECT_EQ(library.exports.initialize(&table), NPERR_INCOMPATIBLE_VERSION_ERROR);
    EXPECT_EQ(library.exports.initialize(nullptr), NPERR_INVALID_FUNCTABLE_ERROR);
    auto log = library.TakeLog();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_NE(log[0].find(" size=100 version=18"), std::string::npos) << log[0];
    EXPECT_NE(log[1].find(" size=172 version=13"), std::string::npos) << log[1];
    EXPECT_NE(log[2].find(" size=172 version=274"), std::string::npos) << log[2];
    EXPECT_EQ(log[3], "NP_Initialize funcs=" + std::string("0x") +
                          std::string(2 * sizeof(void*), '0') + " size=0 version=0");
}

TEST_F(ModuleEntriesTest, InitializeAcceptsTheSmallestScriptingTable)
{
    NPNetscapeFuncs table = library.browser.Table();
    table.size = 160; // through releasevariantvalue
    table.version = 14;
    EXPECT_EQ(library.exports.initialize(&table), NPERR_NO_ERROR);
    EXPECT_EQ(library.exports.initialize(&library.browserTable), NPERR_NO_ERROR);
}

TEST_F(ModuleEntriesTest, ALogTooLongForTheBufferIsKept)
{
    library.exports.getEntryPoints(&library.funcs);
    char buffer[4] = "abc";
    std::size_t length = library.controls.TakeLog(buffer, sizeof buffer);
    EXPECT_GT(length, sizeof buffer);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(library.TakeLog().size(), 1u);
}

} // namespace
} // namespace zn::test

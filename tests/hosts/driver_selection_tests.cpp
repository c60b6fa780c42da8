// Which driver ChangePlugin creates for each preference and set of installed hosts, and what it
// does with the new driver; test driver classes stand in for the two hosts.
#include "recording_driver.h"

#include "zintara/framework/controls.h"
#include "zintara/zn_driver_activex.h"
#include "zintara/zn_driver_netscape.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace zn;
using namespace zn::test;

namespace {

std::vector<std::wstring> DriverLog;

// A host driver whose installation the test decides; it logs its construction, its movie
// loads and its destruction.
template <int Host>
class THostDriver : public TznFlashDriver {
public:
    static inline bool Installed = false;
    static bool PluginExists() { return Installed; }

    THostDriver(int AWidth, int AHeight, std::uint32_t ABackground)
        : TznFlashDriver(AWidth, AHeight, ABackground)
    {
        DriverLog.push_back(Name() + L" created");
    }
    ~THostDriver() override { DriverLog.push_back(Name() + L" freed"); }
    void LoadMovie(const std::wstring& AUrl) override
    {
        DriverLog.push_back(Name() + L" LoadMovie \"" + AUrl + L"\"");
    }
    static std::wstring Name() { return Host == 0 ? L"Netscape" : L"ActiveX"; }
};

using TNetscapeDriver = THostDriver<0>;
using TActiveXDriver = THostDriver<1>;

class TFailingDriver : public TznFlashDriver {
public:
    static bool PluginExists() { return true; }
    TFailingDriver(int AWidth, int AHeight, std::uint32_t ABackground)
        : TznFlashDriver(AWidth, AHeight, ABackground)
    {
        throw std::runtime_error("player failed to start");
    }
};

std::wstring KindOf(const TznFlashDriver* driver)
{
    if (dynamic_cast<const TNetscapeDriver*>(driver))
        return L"Netscape";
    if (dynamic_cast<const TActiveXDriver*>(driver))
        return L"ActiveX";
    return driver ? L"null" : L"none";
}

} // namespace

class DriverSelection : public ::testing::Test {
protected:
    TznFlashDriverClass savedDefault = DefaultFlashDriverClass;
    TznFlashDriverClass savedNetscape = NetscapeFlashDriverClass;
    TznFlashDriverClass savedActiveX = ActiveXFlashDriverClass;
    std::unique_ptr<TznFlashDriver> driver;
    TCallbackLog log;

    void SetUp() override
    {
        NetscapeFlashDriverClass = TznFlashDriverClass::Of<TNetscapeDriver>();
        ActiveXFlashDriverClass = TznFlashDriverClass::Of<TActiveXDriver>();
        TNetscapeDriver::Installed = false;
        TActiveXDriver::Installed = false;
        DriverLog.clear();
    }
    void TearDown() override
    {
        driver.reset();
        DefaultFlashDriverClass = savedDefault;
        NetscapeFlashDriverClass = savedNetscape;
        ActiveXFlashDriverClass = savedActiveX;
    }

    void Change(TznPlugin plugin, const std::wstring& movie = L"", TControl* parent = nullptr,
                int width = 100, int height = 100, std::uint32_t background = 0xFF000000u)
    {
        ChangePlugin(driver, plugin, movie, width, height, background, parent, log.PaintEvent(),
                     log.EraseEvent(), nullptr, nullptr);
    }
};

TEST_F(DriverSelection, StartsWithTheTwoHostDriversAndTheNullDriverAsDefault)
{
    EXPECT_EQ(savedDefault, TznFlashDriverClass::Of<TznFlashDriver>());
    EXPECT_EQ(savedNetscape, TznFlashDriverClass::Of<TznFlashDriverNS>());
    EXPECT_EQ(savedActiveX, TznFlashDriverClass::Of<TznFlashDriverActiveX>());
    EXPECT_NE(TznFlashDriverClass::Of<TNetscapeDriver>(),
              TznFlashDriverClass::Of<TActiveXDriver>());
}

TEST_F(DriverSelection, EveryPreferenceGetsAWorkingHostWhenOneIsInstalled)
{
    // With the library's detection done: the ActiveX driver is the default when its control
    // is installed.
    struct TCase {
        TznPlugin Plugin;
        bool ActiveX;
        bool Netscape;
        const wchar_t* Expected;
    };
    const TCase cases[] = {
        {znDefault, true, true, L"ActiveX"},   {znDefault, true, false, L"ActiveX"},
        {znDefault, false, true, L"Netscape"}, {znDefault, false, false, L"null"},
        {znNetscape, true, true, L"Netscape"}, {znNetscape, false, true, L"Netscape"},
        {znNetscape, true, false, L"ActiveX"}, {znNetscape, false, false, L"null"},
        {znActiveX, true, true, L"ActiveX"},   {znActiveX, true, false, L"ActiveX"},
        {znActiveX, false, true, L"Netscape"}, {znActiveX, false, false, L"null"},
    };
    for (const TCase& c : cases) {
        TActiveXDriver::Installed = c.ActiveX;
        TNetscapeDriver::Installed = c.Netscape;
        DefaultFlashDriverClass =
            c.ActiveX ? ActiveXFlashDriverClass : TznFlashDriverClass::Of<TznFlashDriver>();
        Change(c.Plugin);
        EXPECT_EQ(KindOf(driver.get()), c.Expected)
            << "plugin " << c.Plugin << ", ActiveX " << c.ActiveX << ", Netscape " << c.Netscape;
    }
}

TEST_F(DriverSelection, AssignedDefaultWinsForDefaultWhenItsHostIsInstalled)
{
    TActiveXDriver::Installed = true;
    TNetscapeDriver::Installed = true;
    DefaultFlashDriverClass = NetscapeFlashDriverClass;
    Change(znDefault);
    EXPECT_EQ(KindOf(driver.get()), L"Netscape");

    TNetscapeDriver::Installed = false;
    Change(znDefault);
    EXPECT_EQ(KindOf(driver.get()), L"ActiveX");
}

TEST_F(DriverSelection, FreesTheOldDriverBeforeCreatingTheNew)
{
    TNetscapeDriver::Installed = true;
    TActiveXDriver::Installed = true;
    Change(znNetscape, L"intro.swf");
    Change(znActiveX, L"intro.swf");
    EXPECT_EQ(DriverLog,
              (std::vector<std::wstring>{L"Netscape created", L"Netscape LoadMovie \"intro.swf\"",
                                         L"Netscape freed", L"ActiveX created",
                                         L"ActiveX LoadMovie \"intro.swf\""}));
}

TEST_F(DriverSelection, LoadsTheMovieAlsoWhenItsNameIsEmpty)
{
    TNetscapeDriver::Installed = true;
    Change(znDefault);
    EXPECT_EQ(DriverLog,
              (std::vector<std::wstring>{L"Netscape created", L"Netscape LoadMovie \"\""}));
}

TEST_F(DriverSelection, WiresTheCallbacksAndErasesTheSizeAsPassed)
{
    struct TReceiver {
        void FSCommand(TObject*, const std::wstring&, const std::wstring&) {}
        void FlashCall(TObject*, const std::wstring&) {}
    } receiver;
    const auto on_fs_command = TznFSCommandEvent::Bind<&TReceiver::FSCommand>(&receiver);
    const auto on_flash_call = TznFlashCallEvent::Bind<&TReceiver::FlashCall>(&receiver);
    TGraphicControl parent(nullptr);

    ChangePlugin(driver, znDefault, L"", 0, -5, 0x00000000u, &parent, log.PaintEvent(),
                 log.EraseEvent(), on_fs_command, on_flash_call);

    ASSERT_EQ(KindOf(driver.get()), L"null");
    EXPECT_EQ(driver->Width(), 1);
    EXPECT_EQ(driver->Height(), 1);
    EXPECT_NE(driver->BufferBits(), nullptr);
    EXPECT_EQ(driver->Background(), 0u);
    EXPECT_EQ(driver->ParentControl(), &parent);
    EXPECT_EQ(driver->OnPaint(), log.PaintEvent());
    EXPECT_EQ(driver->OnEraseBackground(), log.EraseEvent());
    EXPECT_EQ(driver->OnFSCommand(), on_fs_command);
    EXPECT_EQ(driver->OnFlashCall(), on_flash_call);
    // Once, from ChangePlugin: no callback was assigned while the constructor made the buffer.
    ASSERT_EQ(log.Entries.size(), 1u);
    EXPECT_EQ(log.Entries[0].Kind, L"Erase");
    EXPECT_EQ(log.Entries[0].Sender, driver.get());
    EXPECT_EQ(log.Entries[0].Rect, (TRect{0, 0, 0, -5}));
}

TEST_F(DriverSelection, ANewDriverStartsFromTheDefaults)
{
    Change(znDefault);
    driver->SetSkin(L"SteelOverAll");
    driver->SetVolume(10);
    driver->SetPause(true);
    driver->SetDisableFlashMenu(false);
    Change(znNetscape);
    EXPECT_EQ(driver->Skin(), L"ClearOverAll");
    EXPECT_EQ(driver->Volume(), 50);
    EXPECT_FALSE(driver->Pause());
    EXPECT_TRUE(driver->DisableFlashMenu());
}

TEST_F(DriverSelection, InvalidatesTheParentSoItRepaintsFromTheNewBuffer)
{
    TWinControl parent(nullptr);
    parent.SetBounds(0, 0, 120, 80);
    parent.HandleNeeded();
    ValidateRect(parent.Handle(), nullptr);
    RECT update{};
    ASSERT_FALSE(GetUpdateRect(parent.Handle(), &update, FALSE));

    Change(znDefault, L"", &parent, 120, 80);
    EXPECT_TRUE(GetUpdateRect(parent.Handle(), &update, FALSE));
    driver.reset();
}

TEST_F(DriverSelection, FailingConstructorLeavesNoDriverBehind)
{
    TNetscapeDriver::Installed = true;
    Change(znNetscape);
    DefaultFlashDriverClass = TznFlashDriverClass::Of<TFailingDriver>();
    EXPECT_THROW(Change(znDefault), std::runtime_error);
    EXPECT_EQ(driver, nullptr);
    EXPECT_EQ(DriverLog.back(), L"Netscape freed");
}

TEST_F(DriverSelection, DetectionMakesAnInstalledActiveXHostTheDefaultOnce)
{
    // The only call of CheckFlashPlugins in this program, so it is the process's first.
    TActiveXDriver::Installed = true;
    DefaultFlashDriverClass = NetscapeFlashDriverClass;
    CheckFlashPlugins();
    EXPECT_EQ(DefaultFlashDriverClass, ActiveXFlashDriverClass);

    DefaultFlashDriverClass = NetscapeFlashDriverClass;
    CheckFlashPlugins();
    EXPECT_EQ(DefaultFlashDriverClass, NetscapeFlashDriverClass);
}

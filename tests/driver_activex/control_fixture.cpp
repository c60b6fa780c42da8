// The fixture of the driver's suites on the reference control (see control_fixture.h).
#include "control_fixture.h"

#include "sample_movies.h"
#include "zintara/framework/module_paths.h"

#include <filesystem>
#include <fstream>

namespace zn::test {

std::wstring SampleMoviePath()
{
    static const std::wstring path = [] {
        const std::wstring name = ExecutableFolder() + L"activex sample.swf";
        const std::vector<std::uint8_t> bytes = zn::swf::samples::SampleMovie();
        std::ofstream file(std::filesystem::path(name), std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return name;
    }();
    return path;
}

std::vector<std::string> LinesOf(const std::vector<std::string>& Log, const std::string& Call)
{
    std::vector<std::string> lines;
    for (const std::string& line : Log)
        if (line.starts_with(Call + " "))
            lines.push_back(line);
    return lines;
}

std::vector<std::string> CallNames(const std::vector<std::string>& Log,
                                   const std::vector<std::string>& Skip)
{
    std::vector<std::string> names;
    for (const std::string& line : Log) {
        std::string name = line.substr(0, line.find(' '));
        bool skipped = false;
        for (const std::string& prefix : Skip)
            skipped = skipped || name.starts_with(prefix);
        if (!skipped)
            names.push_back(std::move(name));
    }
    return names;
}

bool Contains(const std::string& Line, const std::string& Text)
{
    return Line.find(Text) != std::string::npos;
}

void ControlTest::SetUp()
{
    // Once for the process, as an application does: the control's module stays loaded.
    static const HRESULT apartment = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ASSERT_TRUE(SUCCEEDED(apartment));
    ASSERT_TRUE(TznFlashDriverActiveX::PluginExists()) << "the reference control is registered";
    Controls = ReferenceControlExports();
    ASSERT_NE(Controls.TakeLog, nullptr);
    SampleMoviePath();
    TakeLog();
    TakeViolations();
}

void ControlTest::TearDown()
{
    Driver.reset();
    Controls.SetVersion(10);
    EXPECT_EQ(Controls.LiveControls(), 0u);
    EXPECT_EQ(TakeViolations(), std::vector<std::string>{});
}

void ControlTest::CreateDriver(std::uint32_t Background, int Width, int Height)
{
    Driver = std::make_unique<TznFlashDriverActiveX>(Width, Height, Background);
    Listen(*Driver);
    TakeLog();
}

void ControlTest::CreateDriverWithStoppedMovie(std::uint32_t Background)
{
    CreateDriver(Background);
    Driver->LoadMovie(SampleMoviePath());
    Driver->StopPlay();
    Driver->Rewind();
    Events.clear();
    Erased.clear();
    Painted.clear();
    TakeLog();
}

void* ControlTest::Control() const
{
    IUnknown* identity = nullptr;
    IznFlashPlayer* control = Driver->ControlInterface();
    if (control == nullptr ||
        FAILED(control->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity))))
        return nullptr;
    identity->Release();
    return identity;
}

} // namespace zn::test

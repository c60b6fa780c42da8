// Detection of the Flash control, in a probe process of its own each time (it runs once per
// process): the registered control is created once and released at once, and becomes the default
// host; a control that cannot be created leaves the driver inert and the default alone. Also the
// key-state flags of window messages.
#include "zintara/zn_driver_activex.h"

#include "support/child_process.h"

#include <gtest/gtest.h>

#include <string>

using namespace zn;
using namespace zn::test;

namespace {

std::string RunProbe(const std::wstring& Mode)
{
    const TChildResult run =
        RunChild(TestFolder() + L"driver_activex_detection_probe.exe", {Mode}, TestFolder());
    EXPECT_FALSE(run.TimedOut);
    EXPECT_EQ(run.ExitCode, 0u) << run.Output << run.Errors;
    return WithoutCarriageReturns(run.Output);
}

void ExpectInert(const std::string& Output)
{
    EXPECT_NE(Output.find("exists=0\n"), std::string::npos) << Output;
    EXPECT_NE(Output.find("default=TznFlashDriver\n"), std::string::npos) << Output;
    EXPECT_NE(Output.find("available=0\n"), std::string::npos) << Output;
    EXPECT_NE(Output.find("interface=0\n"), std::string::npos) << Output;
    EXPECT_NE(Output.find("frames=0 variable=\"\" key=65\n"), std::string::npos) << Output;
    // The inert driver still tells its owner that the (unpainted) buffer is final.
    EXPECT_NE(Output.find("paints=1 instances=1\n"), std::string::npos) << Output;
    EXPECT_NE(Output.find("instances_after=0\n"), std::string::npos) << Output;
    // No host at all: every preference gets the null driver.
    EXPECT_NE(Output.find("choices=TznFlashDriver TznFlashDriver TznFlashDriver\n"),
              std::string::npos)
        << Output;
}

TEST(DetectionTest, TheRegisteredControlIsCreatedOnceAndBecomesTheDefault)
{
    const std::string output = RunProbe(L"present");
    EXPECT_NE(output.find("created=1 released=1\n"), std::string::npos) << output;
    EXPECT_NE(output.find("exists=1\n"), std::string::npos) << output;
    EXPECT_NE(output.find("default=TznFlashDriverActiveX\n"), std::string::npos) << output;
    // Without the plug-in, the control serves every preference.
    EXPECT_NE(
        output.find("choices=TznFlashDriverActiveX TznFlashDriverActiveX TznFlashDriverActiveX\n"),
        std::string::npos)
        << output;
}

TEST(DetectionTest, WithoutTheControlTheDriverIsInertAndTheDefaultStays)
{
    ExpectInert(RunProbe(L"absent"));
}

TEST(KeyFlagsTest, ShiftAltCtrlAndTheTwoButtonsEachAddTheirFlag)
{
    EXPECT_EQ(ShiftStateToKeyFlags({}), 0u);
    EXPECT_EQ(ShiftStateToKeyFlags({ssShift}), 0x0004u);
    EXPECT_EQ(ShiftStateToKeyFlags({ssAlt}), 0x0020u);
    EXPECT_EQ(ShiftStateToKeyFlags({ssCtrl}), 0x0008u);
    EXPECT_EQ(ShiftStateToKeyFlags({ssLeft}), 0x0001u);
    EXPECT_EQ(ShiftStateToKeyFlags({ssRight}), 0x0002u);
    EXPECT_EQ(ShiftStateToKeyFlags({ssShift, ssAlt, ssCtrl, ssLeft, ssRight}), 0x002Fu);
    EXPECT_EQ(ShiftStateToKeyFlags({ssMiddle, ssDouble}), 0u);
}

} // namespace

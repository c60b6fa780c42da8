// The ActiveX driver where the control cannot be created, in a probe process of its own (the
// detection runs once per process): the driver stays inert, the default driver class is left
// alone, and detection asks for the control once. Also the key-state flags of window messages.
#include "zintara/zn_driver_activex.h"

#include "support/child_process.h"

#include <gtest/gtest.h>

#include <string>

using namespace zn;
using namespace zn::test;

namespace {

std::string RunProbe(const std::wstring& Mode)
{
    const TChildResult run = RunChild(
        TestFolder() + L"driver_activex_absent_probe.exe",
        Mode.empty() ? std::vector<std::wstring>{} : std::vector<std::wstring>{Mode}, TestFolder());
    EXPECT_FALSE(run.TimedOut);
    EXPECT_EQ(run.ExitCode, 0u) << run.Output << run.Errors;
    return WithoutCarriageReturns(run.Output);
}

void ExpectInert(const std::string& Output)
{
    EXPECT_NE(Output.find("requests=1\n"), std::string::npos) << Output;
    EXPECT_NE(Output.find("exists=0\n"), std::string::npos) << Output;
    EXPECT_NE(Output.find("default_is_null=1\n"), std::string::npos) << Output;
    EXPECT_NE(Output.find("available=0\n"), std::string::npos) << Output;
    EXPECT_NE(Output.find("interface=0\n"), std::string::npos) << Output;
    EXPECT_NE(Output.find("frames=0 variable=\"\" key=65\n"), std::string::npos) << Output;
    // The inert driver still tells its owner that the (unpainted) buffer is final.
    EXPECT_NE(Output.find("paints=1 instances=1\n"), std::string::npos) << Output;
    EXPECT_NE(Output.find("instances_after=0\n"), std::string::npos) << Output;
    // Detection asked once; the inert driver asked once more for its own instance.
    EXPECT_NE(Output.find("requests_after=2\n"), std::string::npos) << Output;
    EXPECT_NE(Output.find("active_x_choice=TznFlashDriver\n"), std::string::npos) << Output;
}

TEST(AbsentControlTest, ARefusedControlLeavesTheDriverInertAndTheDefaultAlone)
{
    ExpectInert(RunProbe(L""));
}

// Detection tests the object that came back, not the result code.
TEST(AbsentControlTest, ASuccessWithoutAnObjectCountsAsAbsent)
{
    ExpectInert(RunProbe(L"null"));
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

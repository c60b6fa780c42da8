// Where a driver finds its host window and its place in it, with real framework controls.
#include "recording_driver.h"

#include "zintara/framework/controls.h"

#include <gtest/gtest.h>

using namespace zn;
using namespace zn::test;

class DriverParent : public ::testing::Test {
protected:
    TWinControl form{nullptr};
    TRecordingDriver driver{10, 10, 0xFF000000u};

    void SetUp() override { form.SetBounds(0, 0, 200, 150); }
};

TEST_F(DriverParent, NoParentControlHasNoWindowAndNoOffset)
{
    EXPECT_EQ(driver.GetParentHandle(), nullptr);
    EXPECT_EQ(driver.GetParentOffset(), (TPoint{0, 0}));
}

TEST_F(DriverParent, WindowedControlGivesItsOwnHandleOnlyOnceItExists)
{
    TWinControl control(nullptr);
    control.SetParent(&form);
    control.SetBounds(30, 40, 50, 50);
    driver.SetParentControl(&control);

    EXPECT_EQ(driver.GetParentHandle(), nullptr);
    EXPECT_FALSE(control.HandleAllocated()) << "asking must not create the window";

    control.HandleNeeded();
    ASSERT_TRUE(control.HandleAllocated());
    EXPECT_EQ(driver.GetParentHandle(), control.Handle());
    EXPECT_EQ(driver.GetParentOffset(), (TPoint{0, 0}));
}

TEST_F(DriverParent, GraphicControlGivesItsParentsWindowAndItsPlaceInIt)
{
    TGraphicControl control(nullptr);
    control.SetBounds(10, 20, 50, 50);
    driver.SetParentControl(&control);
    EXPECT_EQ(driver.GetParentHandle(), nullptr);
    EXPECT_EQ(driver.GetParentOffset(), (TPoint{10, 20}));

    control.SetParent(&form);
    EXPECT_EQ(driver.GetParentHandle(), nullptr);
    EXPECT_FALSE(form.HandleAllocated());

    form.HandleNeeded();
    EXPECT_EQ(driver.GetParentHandle(), form.Handle());
    EXPECT_EQ(driver.GetParentOffset(), (TPoint{10, 20}));
    control.SetParent(nullptr);
}

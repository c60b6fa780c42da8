// A driver on the reference control registered in the test prefix, the events it raised, and the
// control's log and test controls.
#pragma once

#include "support/driver_events.h"
#include "support/reference_control_exports.h"
#include "zintara/zn_driver_activex.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zn::test {

// The full path of the sample movie (320 x 240, semi-transparent content), written beside the
// executable once per process.
std::wstring SampleMoviePath();

// The lines of Log that begin with Call followed by a blank.
std::vector<std::string> LinesOf(const std::vector<std::string>& Log, const std::string& Call);
// The call names of Log, each line's first word, leaving out the lines that begin with Skip.
std::vector<std::string> CallNames(const std::vector<std::string>& Log,
                                   const std::vector<std::string>& Skip = {});
bool Contains(const std::string& Line, const std::string& Text);

class ControlTest : public ::testing::Test, protected TDriverEvents {
protected:
    void SetUp() override;
    // Frees the driver, then checks that the control found no violation of its contract and
    // that no control is left.
    void TearDown() override;

    // A driver with the test's handlers; the log is cleared after it was created.
    void CreateDriver(std::uint32_t Background, int Width = 320, int Height = 240);
    // CreateDriver, the sample movie loaded, stopped and rewound; log and events cleared.
    void CreateDriverWithStoppedMovie(std::uint32_t Background);
    std::vector<std::string> TakeLog() { return TakeLines(Controls.TakeLog); }
    std::vector<std::string> TakeViolations() { return TakeLines(Controls.TakeViolations); }
    // The control's identity, by which the test controls name it.
    void* Control() const;
    std::uint32_t Pixel(int X, int Y) const
    {
        return Driver->BufferBits()[Y * Driver->Width() + X];
    }

    TReferenceControlExports Controls;
    std::unique_ptr<TznFlashDriverActiveX> Driver;
};

} // namespace zn::test

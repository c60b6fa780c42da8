// A reference control created through the registry as a container creates it, with the test
// site, the event sink, its exports and its logs.
#pragma once

#include "support/reference_control_exports.h"
#include "test_site.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zn::test {

// The lines that begin with prefix.
std::vector<std::string> LinesStarting(const std::vector<std::string>& lines,
                                       const std::string& prefix);

class ControlTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 320, kHeight = 240;

    void SetUp() override;
    void TearDown() override;

    // CoCreateInstance of the control's class for IOleObject; fills control and player.
    void Create();
    // As a container does: the site first (the control asks for it), then InitNew.
    void Initialize();
    // Initialize, the event sink, then DoVerb(OLEIVERB_INPLACEACTIVATE) with the site's
    // rectangle.
    void Activate();
    // Close, the site taken back, the sink disconnected, the last release.
    void Destroy();
    // Writes bytes into a new file of this test and answers its path.
    std::wstring WriteFile(const std::vector<std::uint8_t>& bytes);
    // Writes movie into a file and loads it with LoadMovie, by the file's path or by name (which
    // the site's bind host then knows), and waits until it arrived.
    void LoadMovie(const std::vector<std::uint8_t>& movie, const std::wstring& name = {});
    // Pumps this thread's messages (the frame timer) for the time given.
    static void Pump(int milliseconds);
    std::vector<std::string> Log() { return TakeLines(exports.TakeLog); }
    std::vector<std::string> Violations() { return TakeLines(exports.TakeViolations); }

    TestSite site{kWidth, kHeight};
    EventSink sink;
    IOleObject* control = nullptr;
    IznFlashPlayer* player = nullptr;
    TReferenceControlExports exports;
    DWORD eventCookie = 0;
    IConnectionPoint* eventPoint = nullptr;
    std::vector<std::wstring> files;
};

} // namespace zn::test

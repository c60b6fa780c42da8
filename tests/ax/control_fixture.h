// A reference control created through the registry as a container creates it, with the test
// site, the event sink, its exports and its logs.
#pragma once

#include "reference_control_api.h"
#include "test_site.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zn::test {

// The control's test exports, resolved from the loaded DLL.
struct ControlExports {
    ZnAxTakeLogFunction takeLog = nullptr;
    ZnAxTakeViolationsFunction takeViolations = nullptr;
    ZnAxLiveControlsFunction liveControls = nullptr;
    ZnAxSetVersionFunction setVersion = nullptr;
    ZnAxInvalidateRectFunction invalidateRect = nullptr;
    ZnAxDrawThroughSiteFunction drawThroughSite = nullptr;
    ZnAxFSCommandFunction fsCommand = nullptr;
    ZnAxFlashCallFunction flashCall = nullptr;
    ZnAxRequestUrlFunction requestUrl = nullptr;
};
ControlExports ResolveControlExports();

// Takes a log through Take, one entry per line.
std::vector<std::string> TakeLines(ZnAxTakeLogFunction take);
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
    // Writes movie into a file, loads it with LoadMovie and waits until it arrived.
    void LoadMovie(const std::vector<std::uint8_t>& movie);
    // Pumps this thread's messages (the frame timer) for the time given.
    static void Pump(int milliseconds);
    std::vector<std::string> Log() { return TakeLines(exports.takeLog); }
    std::vector<std::string> Violations() { return TakeLines(exports.takeViolations); }

    TestSite site{kWidth, kHeight};
    EventSink sink;
    IOleObject* control = nullptr;
    IznFlashPlayer* player = nullptr;
    ControlExports exports;
    DWORD eventCookie = 0;
    IConnectionPoint* eventPoint = nullptr;
    std::wstring movieFile;
};

} // namespace zn::test

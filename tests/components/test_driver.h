// A driver class that tests plug into driver selection in place of a Flash host: it records
// every operation a component forwards to it, lets the test play the player's part in painting,
// and opens its state to inspection.
#pragma once

#include "zintara/zn_flashplayer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace zn::test {

class TTestDriver : public TznFlashDriver {
public:
    TTestDriver(int AWidth, int AHeight, std::uint32_t ABackground);
    ~TTestDriver() override;

    static bool PluginExists() { return true; }

    // Every call of every test driver, in order, as "Operation arguments".
    static std::vector<std::wstring>& Log();
    // Drivers alive now; the last one is the newest.
    static std::vector<TTestDriver*>& Live();
    // What a constructor does first; a test may make it throw.
    static std::function<void()>& OnConstruct();

    void CreateBuffer() override;
    void ForceUpdate() override;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseWheel(TShiftState Shift, int X, int Y, int WheelDelta, bool& Handled) override;
    // A key or character the test names as consumed comes back cleared to 0.
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Char, TShiftState Shift) override;
    void KeyUp(std::uint16_t& Key, TShiftState Shift) override;

    void LoadMovie(const std::wstring& AUrl) override;
    void LoadMovieFromStream(TStream& AStream) override;
    std::wstring GetVariable(const std::wstring& name) override;
    void SetVariable(const std::wstring& name, const std::wstring& value) override;
    std::wstring CallFunction(const std::wstring& request) override;
    void SetReturnValue(const std::wstring& returnValue) override;
    void Play() override;
    void StopPlay() override;
    void Rewind() override;
    void Forward() override;
    void Back() override;
    bool GetLoop() override;
    bool GetIsPlaying() override;
    int GetCurrentFrame() override;
    int GetTotalFrames() override;
    void SetLoop(bool Value) override;
    void SetCurrentFrame(int Value) override;

    // The player's part: renders ARect the way a host does, with Draw painting into the
    // clipped device context, then raises OnPaint.
    void Render(const TRect& ARect, const std::function<void(HDC)>& Draw);

    bool Transparent() const { return FBufferBits2 != nullptr; }
    std::uint32_t Pixel(int X, int Y) const { return FBufferBits[Y * FWidth + X]; }

    int BufferCreations = 0;
    int ForcedUpdates = 0;
    std::uint16_t ConsumedKey = 0;
    wchar_t ConsumedChar = 0;
    bool WheelHandled = true;
    // The window that had the focus when the last press reached the player.
    HWND FocusAtMouseDown = nullptr;
};

// Makes the test driver every host of driver selection for the lifetime of the object, and
// clears its log; the hosts as they were come back afterwards.
class TTestDriverHosts {
public:
    TTestDriverHosts();
    ~TTestDriverHosts();

private:
    TznFlashDriverClass FDefault;
    TznFlashDriverClass FNetscape;
    TznFlashDriverClass FActiveX;
};

// Makes the null driver every host: no player installed.
class TNoPlayerHosts {
public:
    TNoPlayerHosts();
    ~TNoPlayerHosts();

private:
    TznFlashDriverClass FDefault;
    TznFlashDriverClass FNetscape;
    TznFlashDriverClass FActiveX;
};

// The log entries that begin with Prefix.
std::vector<std::wstring> LogLines(const std::wstring& Prefix);

} // namespace zn::test

// Test doubles around the driver base class: a driver that records the virtual operations the
// base class calls on it and opens its buffers to inspection, and a recorder of the callbacks a
// driver raises.
#pragma once

#include "zintara/zn_flashplayer.h"

#include <string>
#include <vector>

namespace zn::test {

class TRecordingDriver : public TznFlashDriver {
public:
    using TznFlashDriver::RenderDirtyRect;
    using TznFlashDriver::TakeDeferredRect;
    using TznFlashDriver::TznFlashDriver;

    std::vector<std::wstring> Calls;

    void ResizeBuffer() override { Calls.push_back(L"ResizeBuffer"); }
    void Play() override { Calls.push_back(L"Play"); }
    void StopPlay() override { Calls.push_back(L"StopPlay"); }
    std::wstring CallFunction(const std::wstring& request) override
    {
        Calls.push_back(L"CallFunction " + request);
        return L"<string>ignored</string>";
    }
    void SetVariable(const std::wstring& name, const std::wstring& value) override
    {
        Calls.push_back(L"SetVariable " + name + L" = " + value);
    }

    void SetIsVideo(bool Value) { FIsVideo = Value; }
    bool Transparent() const { return FBufferBits2 != nullptr; }
    PznColorArray SecondBufferBits() const { return FBufferBits2; }
    HDC SecondBufferDC() const { return FBufferDC2.get(); }
    std::uint32_t Pixel(int X, int Y) const { return FBufferBits[Y * FWidth + X]; }
    std::uint32_t SecondPixel(int X, int Y) const { return FBufferBits2[Y * FWidth + X]; }
};

// Records the paint and erase callbacks with their sender and rectangle.
struct TCallbackLog {
    struct TEntry {
        std::wstring Kind;
        TObject* Sender;
        TRect Rect;
    };
    std::vector<TEntry> Entries;

    void Erase(TObject* ASender, const TRect& ARect)
    {
        Entries.push_back({L"Erase", ASender, ARect});
    }
    void Paint(TObject* ASender, const TRect& ARect)
    {
        Entries.push_back({L"Paint", ASender, ARect});
    }

    TznEraseBackgroundEvent EraseEvent()
    {
        return TznEraseBackgroundEvent::Bind<&TCallbackLog::Erase>(this);
    }
    TznPaintEvent PaintEvent() { return TznPaintEvent::Bind<&TCallbackLog::Paint>(this); }
};

} // namespace zn::test

// What a driver raised, as a test's handlers record it: the event names in order, the erased and
// painted rectangles, the FSCommands ("command|args") and ExternalInterface requests. The erase
// handler fills its rectangle with EraseColor, as an owner paints its background. Header-only;
// the suite links the library.
#pragma once

#include "zintara/core/flash_driver.h"
#include "zintara/core/pixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zn::test {

class TDriverEvents {
public:
    // Installs the four handlers on Driver, which they then expect as the sender.
    void Listen(TznFlashDriver& Driver)
    {
        FListened = &Driver;
        Driver.SetOnEraseBackground(TznEraseBackgroundEvent::Bind<&TDriverEvents::OnErase>(this));
        Driver.SetOnPaint(TznPaintEvent::Bind<&TDriverEvents::OnPaint>(this));
        Driver.SetOnFSCommand(TznFSCommandEvent::Bind<&TDriverEvents::OnFSCommand>(this));
        Driver.SetOnFlashCall(TznFlashCallEvent::Bind<&TDriverEvents::OnFlashCall>(this));
    }

    std::vector<std::string> Events;
    std::vector<TRect> Erased, Painted;
    std::vector<std::wstring> Requests;
    std::uint32_t EraseColor = 0xFF0000FFu;
    // What OnFlashCall does besides recording the request.
    std::function<void(const std::wstring&)> FlashCallHandler;
    // Runs at the end of every handler with the event's name.
    std::function<void(const std::string&)> AfterEvent;

private:
    void OnErase(TObject* Sender, const TRect& Rect)
    {
        EXPECT_EQ(Sender, FListened);
        Events.push_back("erase");
        Erased.push_back(Rect);
        FillLongwordRect(FListened->BufferBits(), FListened->Width(), FListened->Height(),
                         Rect.Left, Rect.Top, Rect.Right, Rect.Bottom, EraseColor);
        Finish("erase");
    }
    void OnPaint(TObject* Sender, const TRect& Rect)
    {
        EXPECT_EQ(Sender, FListened);
        Events.push_back("paint");
        Painted.push_back(Rect);
        Finish("paint");
    }
    void OnFSCommand(TObject*, const std::wstring& Command, const std::wstring& Args)
    {
        Events.push_back("fscommand");
        Requests.push_back(Command + L"|" + Args);
        Finish("fscommand");
    }
    void OnFlashCall(TObject*, const std::wstring& Request)
    {
        Events.push_back("flashcall");
        Requests.push_back(Request);
        if (FlashCallHandler)
            FlashCallHandler(Request);
        Finish("flashcall");
    }
    void Finish(const std::string& Event)
    {
        if (AfterEvent)
            AfterEvent(Event);
    }

    TznFlashDriver* FListened = nullptr;
};

} // namespace zn::test

// TznFlashDriver: the player host that both Flash hosts implement, and the null driver when no
// Flash Player is installed. It owns the offscreen buffers the player draws into, the movie state
// both hosts share, and the callbacks to the component that owns it.
//
// Buffers are 32-bit top-down DIB sections, rows of exactly Width pixels (see pixels.h). In
// opaque mode (background alpha byte not 0) there is one buffer and the owner paints the
// background before the player draws. In transparent mode a second buffer exists: each dirty
// rectangle is drawn over black in the first and over white in the second, and the first then
// holds premultiplied BGRA with a real alpha channel.
//
// A host's driver derives from it, overrides the player operations, calls the base CreateBuffer
// and FreeBuffer from its own, and paints each dirty rectangle through RenderDirtyRect with a
// method that lets its player draw into a device context:
//
//   void TMyDriver::Paint(const TRect& Dirty) {
//       const TRect R = RenderDirtyRect(Dirty, TznDrawPlayerMethod::Bind<&TMyDriver::Draw>(this));
//       if (FOnPaint) FOnPaint(this, R);
//       DrawUpdateRect(R);
//   }
//
// It joins driver selection by naming its class in src/core/flash_hosts.cpp.
#pragma once

#include "zintara/core/flash_types.h"
#include "zintara/core/pixels.h"
#include "zintara/framework/component.h"
#include "zintara/framework/handles.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

namespace zn {

class TControl;

// How a driver lets its player draw into DC, which is clipped to ARect (buffer pixels) when it
// is called and unclipped after. The driver announces DC to the player if the player needs that
// first. The player must leave every other state of DC as it found it.
using TznDrawPlayerMethod = TMethod<void(HDC DC, const TRect& ARect)>;

class TznFlashDriver : public TComponent, public IznFlash {
public:
    // Sizes the buffers with the base CreateBuffer and ResizeBuffer: a driver's overrides cannot
    // run before the driver is constructed, and have no player to tell yet. No callback is
    // assigned then, so nothing is erased; ChangePlugin erases the fresh buffer itself.
    TznFlashDriver(int AWidth, int AHeight, std::uint32_t ABackground);
    // Drivers release their player in their own destructor, before this one frees the buffers.
    ~TznFlashDriver() override;

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    // Whether the host of this class is installed and usable; the null driver has none.
    static bool PluginExists() { return false; }

    // Buffers. CreateBuffer raises OnEraseBackground for the whole buffer when it is assigned;
    // overrides call the base first.
    virtual void CreateBuffer();
    virtual void FreeBuffer();
    // Tells the player the new size and device context after the buffers were recreated.
    virtual void ResizeBuffer();
    // A change of the alpha byte switches between opaque and transparent mode and recreates
    // the buffers; a change of colour alone shows from the next erase on.
    void SetBackground(std::uint32_t Value);
    // Renders the whole buffer again.
    virtual void ForceUpdate();

    // Input, in buffer pixels with (0, 0) the buffer's top-left corner.
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseWheel(TShiftState Shift, int X, int Y, int WheelDelta, bool& Handled);
    virtual void KeyDown(std::uint16_t& Key, TShiftState Shift);
    virtual void KeyPress(wchar_t& Char, TShiftState Shift);
    virtual void KeyUp(std::uint16_t& Key, TShiftState Shift);

    // The player operations; the null driver does nothing and answers empty, false or 0.
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

    // Recreates the buffers at the new size (a size that is not positive becomes 1) unless the
    // arguments equal the stored size.
    void Resize(int AWidth, int AHeight);
    // The window the player may use as its host: the parent control's own handle when it is a
    // windowed control, else the handle of a graphic control's parent; null when there is none
    // yet. Never creates a handle.
    HWND GetParentHandle() const;
    // Where the buffer's origin lies in the window GetParentHandle names.
    TPoint GetParentOffset() const;
    // With ShowUpdateRects, outlines ARect in red on the first buffer.
    void DrawUpdateRect(const TRect& ARect);
    void DoFSCommand(const std::wstring& command, const std::wstring& args);
    void DoFlashCall(const std::wstring& request);
    // Stops or resumes the movie, and an FLV video with it; runs also when Value is unchanged.
    void SetPause(bool Value);
    // Stored for the next video load; passed to a video that is playing.
    void SetVolume(int Value);

    bool ShowUpdateRects() const { return FShowUpdateRects; }
    void SetShowUpdateRects(bool Value) { FShowUpdateRects = Value; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    PznColorArray BufferBits() const { return FBufferBits; }
    std::uint32_t Background() const { return FBackground; }
    bool DisableFlashCursor() const { return FDisableFlashCursor; }
    void SetDisableFlashCursor(bool Value) { FDisableFlashCursor = Value; }
    bool DisableFlashMenu() const { return FDisableFlashMenu; }
    void SetDisableFlashMenu(bool Value) { FDisableFlashMenu = Value; }
    bool Pause() const { return FPause; }
    const std::wstring& Skin() const { return FSkin; }
    void SetSkin(const std::wstring& Value) { FSkin = Value; }
    int Volume() const { return FVolume; }
    const TznPaintEvent& OnPaint() const { return FOnPaint; }
    void SetOnPaint(const TznPaintEvent& Value) { FOnPaint = Value; }
    const TznEraseBackgroundEvent& OnEraseBackground() const { return FOnEraseBackground; }
    void SetOnEraseBackground(const TznEraseBackgroundEvent& Value) { FOnEraseBackground = Value; }
    const TznFSCommandEvent& OnFSCommand() const { return FOnFSCommand; }
    void SetOnFSCommand(const TznFSCommandEvent& Value) { FOnFSCommand = Value; }
    const TznFlashCallEvent& OnFlashCall() const { return FOnFlashCall; }
    void SetOnFlashCall(const TznFlashCallEvent& Value) { FOnFlashCall = Value; }
    HDC BufferDC() const { return FBufferDC.get(); }
    TControl* ParentControl() const { return FParentControl; }
    void SetParentControl(TControl* Value) { FParentControl = Value; }

protected:
    // The rendering both hosts share, for a dirty rectangle: ARect is clipped to the buffer on
    // every side and the clipped rectangle returned, for OnPaint and DrawUpdateRect, which each
    // driver raises in its own order. Opaque mode: OnEraseBackground, then ADraw on the first
    // buffer. Transparent mode: the first buffer filled black and drawn, the second filled white
    // and drawn, then alpha recovered into the first. Without a buffer nothing is drawn. A
    // callback that recreates the buffers (a resize from inside the player) ends the rendering:
    // the new buffers get their own. A callback that frees the driver ends it too, and the
    // driver is not touched again. Called while a rendering runs (the player invalidating from
    // inside its own drawing), it renders nothing and returns an empty rectangle: the rectangle
    // waits for TakeDeferredRect.
    TRect RenderDirtyRect(const TRect& ARect, const TznDrawPlayerMethod& ADraw);
    // The union of the rectangles deferred since the last call (empty when none), which the
    // driver renders once its running rendering is over.
    TRect TakeDeferredRect();

    TMemoryDC FBufferDC;
    TDibSection FBufferHandle;
    TMemoryDC FBufferDC2;
    TDibSection FBufferHandle2;
    BITMAPINFO FBitmapInfo{};
    int FWidth = 0;
    int FHeight = 0;
    PznColorArray FBufferBits = nullptr;
    // Non-null is the sign of transparent mode.
    PznColorArray FBufferBits2 = nullptr;
    // The control the driver draws for; null for the non-visual component. Not owned.
    TControl* FParentControl = nullptr;
    bool FShowUpdateRects = false;
    bool FDisableFlashCursor = false;
    bool FDisableFlashMenu = true;
    // 0xAARRGGBB; the alpha byte selects the mode.
    std::uint32_t FBackground = 0;
    // The movie name as the load operations record it.
    std::wstring FMovie;
    // The current movie is FLV video played through the playback movie.
    bool FIsVideo = false;
    std::wstring FSkin = L"ClearOverAll";
    int FVolume = 50;
    bool FPause = false;
    TznPaintEvent FOnPaint;
    TznEraseBackgroundEvent FOnEraseBackground;
    TznFSCommandEvent FOnFSCommand;
    TznFlashCallEvent FOnFlashCall;

private:
    // Creates one DIB section from FBitmapInfo in its own memory device context.
    bool CreateSurface(TMemoryDC& DC, TDibSection& Bitmap, TSelectedObject& Selection,
                       PznColorArray& Bits);
    void DrawClipped(HDC DC, const TRect& ARect, const TznDrawPlayerMethod& ADraw);

    // What a rendering must know after each callback, apart from the driver so that it can
    // still be read when a callback freed the driver.
    struct TRenderState {
        bool DriverFreed = false;
        bool Rendering = false;
        // Counts the buffers freed, so that rendering notices when a callback replaced them.
        unsigned BufferGeneration = 0;
        TznPixelRect Deferred{};
        // The last transparent pass drew over white, into the second buffer.
        bool SecondDrawnLast = false;
    };
    std::shared_ptr<TRenderState> FRenderState = std::make_shared<TRenderState>();
    // Set to each pass's rectangle and selected as its clip.
    TRegion FClipRegion{CreateRectRgn(0, 0, 0, 0)};

    // Declared last so that they are destroyed first: a bitmap is deleted only once it is no
    // longer selected into its device context.
    TSelectedObject FBufferSelection;
    TSelectedObject FBufferSelection2;
};

} // namespace zn

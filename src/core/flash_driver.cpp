// The driver's lifetime, its offscreen buffers, and the movie state both hosts share.
#include "zintara/core/flash_driver.h"

#include "zintara/framework/properties.h"

namespace zn {
namespace {

constexpr std::uint32_t AlphaByte(std::uint32_t Pixel)
{
    return Pixel >> 24;
}

} // namespace

TznFlashDriver::TznFlashDriver(int AWidth, int AHeight, std::uint32_t ABackground)
    : TComponent(nullptr), FBackground(ABackground)
{
    Resize(AWidth, AHeight);
}

TznFlashDriver::~TznFlashDriver()
{
    Destroying();
    FRenderState->DriverFreed = true;
    FParentControl = nullptr;
    FreeBuffer();
}

const TClassInfo& TznFlashDriver::ClassInfo()
{
    static const TClassInfo info = DeclareClass<TznFlashDriver, TComponent>(L"TznFlashDriver");
    return info;
}

const TClassInfo& TznFlashDriver::ClassType() const
{
    return ClassInfo();
}

bool TznFlashDriver::CreateSurface(TMemoryDC& DC, TDibSection& Bitmap, TSelectedObject& Selection,
                                   PznColorArray& Bits)
{
    void* pixels = nullptr;
    Bitmap.reset(CreateDIBSection(nullptr, &FBitmapInfo, DIB_RGB_COLORS, &pixels, nullptr, 0));
    DC.reset(CreateCompatibleDC(nullptr));
    if (Bitmap && DC)
        Selection = SelectInto(DC.get(), Bitmap.get());
    // A surface is usable only whole: pixels without a context to draw into would be half a
    // buffer that the drawing code cannot tell apart from a whole one.
    if (!Selection || pixels == nullptr) {
        Selection.reset();
        DC.reset();
        Bitmap.reset();
        Bits = nullptr;
        return false;
    }
    Bits = static_cast<PznColorArray>(pixels);
    return true;
}

void TznFlashDriver::CreateBuffer()
{
    FBitmapInfo = {};
    BITMAPINFOHEADER& header = FBitmapInfo.bmiHeader;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = FWidth > 0 ? FWidth : 1;
    // Negative height: top-down, row 0 is the top row.
    header.biHeight = FHeight > 0 ? -FHeight : -1;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;

    CreateSurface(FBufferDC, FBufferHandle, FBufferSelection, FBufferBits);
    if (AlphaByte(FBackground) == 0 && FBufferBits != nullptr)
        CreateSurface(FBufferDC2, FBufferHandle2, FBufferSelection2, FBufferBits2);

    if (FOnEraseBackground)
        FOnEraseBackground(this, TRect{0, 0, FWidth, FHeight});
}

void TznFlashDriver::FreeBuffer()
{
    // The pointers go first, so that code re-entered while the handles are released sees no
    // buffer rather than a dangling one.
    FBufferBits = nullptr;
    FBufferBits2 = nullptr;
    ++FRenderState->BufferGeneration;
    FBufferSelection.reset();
    FBufferDC.reset();
    FBufferHandle.reset();
    FBufferSelection2.reset();
    FBufferDC2.reset();
    FBufferHandle2.reset();
}

void TznFlashDriver::ResizeBuffer() {}

void TznFlashDriver::Resize(int AWidth, int AHeight)
{
    if (AWidth == FWidth && AHeight == FHeight)
        return;
    FreeBuffer();
    FWidth = AWidth > 0 ? AWidth : 1;
    FHeight = AHeight > 0 ? AHeight : 1;
    CreateBuffer();
    ResizeBuffer();
}

void TznFlashDriver::SetBackground(std::uint32_t Value)
{
    if (Value == FBackground)
        return;
    const std::uint32_t old = FBackground;
    FBackground = Value;
    // A driver that was never sized has no buffer to recreate.
    if (AlphaByte(old) != AlphaByte(Value) && FWidth > 0) {
        FreeBuffer();
        CreateBuffer();
    }
}

void TznFlashDriver::DoFSCommand(const std::wstring& command, const std::wstring& args)
{
    if (FOnFSCommand)
        FOnFSCommand(this, command, args);
}

void TznFlashDriver::DoFlashCall(const std::wstring& request)
{
    if (FOnFlashCall)
        FOnFlashCall(this, request);
}

void TznFlashDriver::SetPause(bool Value)
{
    FPause = Value;
    if (Value) {
        StopPlay();
        if (FIsVideo)
            CallFunction(L"<invoke name=\"stopflv\" returntype=\"xml\"></invoke>");
    } else {
        Play();
        if (FIsVideo)
            CallFunction(L"<invoke name=\"playflv\" returntype=\"xml\"></invoke>");
    }
}

void TznFlashDriver::SetVolume(int Value)
{
    FVolume = Value;
    if (FIsVideo)
        SetVariable(L"flv.volume", std::to_wstring(Value));
}

} // namespace zn

// The recording test driver and the fixtures that put it into driver selection.
#include "test_driver.h"

#include <algorithm>

namespace zn::test {

namespace {

std::wstring ShiftText(TShiftState Shift)
{
    return std::to_wstring(Shift.Bits());
}

// Runs the construction hook before the base constructor makes the buffers.
int AfterConstructHook(int AWidth)
{
    if (TTestDriver::OnConstruct())
        TTestDriver::OnConstruct()();
    return AWidth;
}

} // namespace

TTestDriver::TTestDriver(int AWidth, int AHeight, std::uint32_t ABackground)
    : TznFlashDriver(AfterConstructHook(AWidth), AHeight, ABackground)
{
    Live().push_back(this);
}

TTestDriver::~TTestDriver()
{
    Log().push_back(L"Destroy");
    std::erase(Live(), this);
}

std::vector<std::wstring>& TTestDriver::Log()
{
    static std::vector<std::wstring> log;
    return log;
}

std::vector<TTestDriver*>& TTestDriver::Live()
{
    static std::vector<TTestDriver*> live;
    return live;
}

std::function<void()>& TTestDriver::OnConstruct()
{
    static std::function<void()> hook;
    return hook;
}

void TTestDriver::CreateBuffer()
{
    ++BufferCreations;
    TznFlashDriver::CreateBuffer();
}

void TTestDriver::ForceUpdate()
{
    ++ForcedUpdates;
    Log().push_back(L"ForceUpdate");
}

void TTestDriver::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FocusAtMouseDown = GetFocus();
    Log().push_back(L"MouseDown " + std::to_wstring(Button) + L" " + ShiftText(Shift) + L" " +
                    std::to_wstring(X) + L"," + std::to_wstring(Y));
}

void TTestDriver::MouseMove(TShiftState Shift, int X, int Y)
{
    Log().push_back(L"MouseMove " + ShiftText(Shift) + L" " + std::to_wstring(X) + L"," +
                    std::to_wstring(Y));
}

void TTestDriver::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    Log().push_back(L"MouseUp " + std::to_wstring(Button) + L" " + ShiftText(Shift) + L" " +
                    std::to_wstring(X) + L"," + std::to_wstring(Y));
}

void TTestDriver::MouseWheel(TShiftState Shift, int X, int Y, int WheelDelta, bool& Handled)
{
    Log().push_back(L"MouseWheel " + ShiftText(Shift) + L" " + std::to_wstring(X) + L"," +
                    std::to_wstring(Y) + L" " + std::to_wstring(WheelDelta) + L" " +
                    (Handled ? L"handled" : L"unhandled"));
    Handled = WheelHandled;
}

void TTestDriver::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    Log().push_back(L"KeyDown " + std::to_wstring(Key) + L" " + ShiftText(Shift));
    if (Key == ConsumedKey)
        Key = 0;
}

void TTestDriver::KeyPress(wchar_t& Char, TShiftState Shift)
{
    Log().push_back(L"KeyPress " + std::wstring(1, Char) + L" " + ShiftText(Shift));
    if (Char == ConsumedChar)
        Char = 0;
}

void TTestDriver::KeyUp(std::uint16_t& Key, TShiftState Shift)
{
    Log().push_back(L"KeyUp " + std::to_wstring(Key) + L" " + ShiftText(Shift));
    if (Key == ConsumedKey)
        Key = 0;
}

void TTestDriver::LoadMovie(const std::wstring& AUrl)
{
    Log().push_back(L"LoadMovie " + AUrl);
}

void TTestDriver::LoadMovieFromStream(TStream& AStream)
{
    Log().push_back(L"LoadMovieFromStream " + std::to_wstring(AStream.Size()));
}

std::wstring TTestDriver::GetVariable(const std::wstring& name)
{
    Log().push_back(L"GetVariable " + name);
    return L"value of " + name;
}

void TTestDriver::SetVariable(const std::wstring& name, const std::wstring& value)
{
    Log().push_back(L"SetVariable " + name + L"=" + value);
}

std::wstring TTestDriver::CallFunction(const std::wstring& request)
{
    Log().push_back(L"CallFunction " + request);
    return L"<string>answer</string>";
}

void TTestDriver::SetReturnValue(const std::wstring& returnValue)
{
    Log().push_back(L"SetReturnValue " + returnValue);
}

void TTestDriver::Play()
{
    Log().push_back(L"Play");
}
void TTestDriver::StopPlay()
{
    Log().push_back(L"StopPlay");
}
void TTestDriver::Rewind()
{
    Log().push_back(L"Rewind");
}
void TTestDriver::Forward()
{
    Log().push_back(L"Forward");
}
void TTestDriver::Back()
{
    Log().push_back(L"Back");
}

bool TTestDriver::GetLoop()
{
    Log().push_back(L"GetLoop");
    return true;
}

bool TTestDriver::GetIsPlaying()
{
    Log().push_back(L"GetIsPlaying");
    return true;
}

int TTestDriver::GetCurrentFrame()
{
    Log().push_back(L"GetCurrentFrame");
    return 7;
}

int TTestDriver::GetTotalFrames()
{
    Log().push_back(L"GetTotalFrames");
    return 12;
}

void TTestDriver::SetLoop(bool Value)
{
    Log().push_back(L"SetLoop " + std::to_wstring(Value));
}

void TTestDriver::SetCurrentFrame(int Value)
{
    Log().push_back(L"SetCurrentFrame " + std::to_wstring(Value));
}

void TTestDriver::Render(const TRect& ARect, const std::function<void(HDC)>& Draw)
{
    const TRect r = RenderDirtyRect(
        ARect, TznDrawPlayerMethod::Bind<[](const std::function<void(HDC)>* F, HDC DC,
                                            const TRect&) { (*F)(DC); }>(&Draw));
    if (FOnPaint)
        FOnPaint(this, r);
}

TTestDriverHosts::TTestDriverHosts()
    : FDefault(DefaultFlashDriverClass), FNetscape(NetscapeFlashDriverClass),
      FActiveX(ActiveXFlashDriverClass)
{
    // Detection runs before the test's hosts are in place, so it cannot overwrite them.
    CheckFlashPlugins();
    DefaultFlashDriverClass = TznFlashDriverClass::Of<TTestDriver>();
    NetscapeFlashDriverClass = TznFlashDriverClass::Of<TTestDriver>();
    ActiveXFlashDriverClass = TznFlashDriverClass::Of<TTestDriver>();
    TTestDriver::Log().clear();
    TTestDriver::OnConstruct() = nullptr;
}

TTestDriverHosts::~TTestDriverHosts()
{
    DefaultFlashDriverClass = FDefault;
    NetscapeFlashDriverClass = FNetscape;
    ActiveXFlashDriverClass = FActiveX;
    TTestDriver::OnConstruct() = nullptr;
}

TNoPlayerHosts::TNoPlayerHosts()
    : FDefault(DefaultFlashDriverClass), FNetscape(NetscapeFlashDriverClass),
      FActiveX(ActiveXFlashDriverClass)
{
    CheckFlashPlugins();
    DefaultFlashDriverClass = TznFlashDriverClass::Of<TznFlashDriver>();
    NetscapeFlashDriverClass = TznFlashDriverClass::Of<TznFlashDriver>();
    ActiveXFlashDriverClass = TznFlashDriverClass::Of<TznFlashDriver>();
}

TNoPlayerHosts::~TNoPlayerHosts()
{
    DefaultFlashDriverClass = FDefault;
    NetscapeFlashDriverClass = FNetscape;
    ActiveXFlashDriverClass = FActiveX;
}

std::vector<std::wstring> LogLines(const std::wstring& Prefix)
{
    std::vector<std::wstring> lines;
    for (const std::wstring& line : TTestDriver::Log())
        if (line.starts_with(Prefix))
            lines.push_back(line);
    return lines;
}

} // namespace zn::test

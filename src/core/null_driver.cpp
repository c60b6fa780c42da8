// What the driver base class answers for every player operation: the null driver has no player,
// so it does nothing and answers empty, false or 0, which is what a component shows when no
// Flash Player is installed.
#include "zintara/core/flash_driver.h"

namespace zn {

void TznFlashDriver::ForceUpdate() {}

void TznFlashDriver::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {}
void TznFlashDriver::MouseMove(TShiftState Shift, int X, int Y) {}
void TznFlashDriver::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {}
void TznFlashDriver::MouseWheel(TShiftState Shift, int X, int Y, int WheelDelta, bool& Handled) {}
void TznFlashDriver::KeyDown(std::uint16_t& Key, TShiftState Shift) {}
void TznFlashDriver::KeyPress(wchar_t& Char, TShiftState Shift) {}
void TznFlashDriver::KeyUp(std::uint16_t& Key, TShiftState Shift) {}

void TznFlashDriver::LoadMovie(const std::wstring& AUrl) {}
void TznFlashDriver::LoadMovieFromStream(TStream& AStream) {}
std::wstring TznFlashDriver::GetVariable(const std::wstring& name)
{
    return {};
}
void TznFlashDriver::SetVariable(const std::wstring& name, const std::wstring& value) {}
std::wstring TznFlashDriver::CallFunction(const std::wstring& request)
{
    return {};
}
void TznFlashDriver::SetReturnValue(const std::wstring& returnValue) {}
void TznFlashDriver::Play() {}
void TznFlashDriver::StopPlay() {}
void TznFlashDriver::Rewind() {}
void TznFlashDriver::Forward() {}
void TznFlashDriver::Back() {}
bool TznFlashDriver::GetLoop()
{
    return false;
}
bool TznFlashDriver::GetIsPlaying()
{
    return false;
}
int TznFlashDriver::GetCurrentFrame()
{
    return 0;
}
int TznFlashDriver::GetTotalFrames()
{
    return 0;
}
void TznFlashDriver::SetLoop(bool Value) {}
void TznFlashDriver::SetCurrentFrame(int Value) {}

} // namespace zn

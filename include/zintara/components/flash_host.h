// TznFlashHost: what every player component shares on top of its framework base class. It owns
// the component's one driver, remembers the movie name and the host preference that survive a
// driver change, forwards the player operations unchanged, and reads and writes the settings
// that live only in the driver (skin, volume, pause, the menu, cursor and update-rectangle
// switches), which therefore return to the driver defaults whenever Plugin replaces the driver.
//
// A component derives from TznFlashHost<ItsFrameworkBase> and implements CreateDriver, which
// calls ChangePlugin with its own size, background, parent and handlers; its constructor calls
// CreateDriver once its size is set, and SetPlugin calls it again.
#pragma once

#include "zintara/hosts/driver_selection.h"
#include "zintara/core/flash_driver.h"
#include "zintara/core/flash_types.h"
#include "zintara/framework/component.h"
#include "zintara/framework/streams.h"

#include <memory>
#include <string>

namespace zn {

template <class TBase>
class TznFlashHost : public TBase, public IznFlash {
public:
    // Frees the driver first: it releases its player before the component's windows go.
    ~TznFlashHost() override { FDriver.reset(); }

    // Null only when creating a driver failed; every operation then does nothing.
    TznFlashDriver* Driver() const { return FDriver.get(); }

    TznPlugin Plugin() const { return FPlugin; }
    // Without a driver, because creating one failed, the same value tries again.
    void SetPlugin(TznPlugin Value)
    {
        if (Value == FPlugin && FDriver)
            return;
        FPlugin = Value;
        CreateDriver();
    }

    const std::wstring& Movie() const { return FMovie; }
    void SetMovie(const std::wstring& Value) { LoadMovie(Value); }

    // While the form is read only the name is recorded; Loaded loads it. In the designer a
    // movie is shown paused.
    void LoadMovie(const std::wstring& AUrl) override
    {
        FMovie = AUrl;
        if (!FDriver)
            return;
        if (!this->ComponentState().Contains(csLoading))
            FDriver->LoadMovie(FMovie);
        if (this->ComponentState().Contains(csDesigning))
            FDriver->SetPause(true);
    }
    void LoadMovieFromStream(TStream& AStream) override
    {
        FMovie.clear();
        if (!FDriver)
            return;
        if (!this->ComponentState().Contains(csLoading))
            FDriver->LoadMovieFromStream(AStream);
        if (this->ComponentState().Contains(csDesigning))
            FDriver->SetPause(true);
    }

    std::wstring GetVariable(const std::wstring& name) override
    {
        return FDriver ? FDriver->GetVariable(name) : std::wstring();
    }
    void SetVariable(const std::wstring& name, const std::wstring& value) override
    {
        if (FDriver)
            FDriver->SetVariable(name, value);
    }
    std::wstring CallFunction(const std::wstring& request) override
    {
        return FDriver ? FDriver->CallFunction(request) : std::wstring();
    }
    void SetReturnValue(const std::wstring& returnValue) override
    {
        if (FDriver)
            FDriver->SetReturnValue(returnValue);
    }
    void Play() override
    {
        if (FDriver)
            FDriver->Play();
    }
    void StopPlay() override
    {
        if (FDriver)
            FDriver->StopPlay();
    }
    void Rewind() override
    {
        if (FDriver)
            FDriver->Rewind();
    }
    void Forward() override
    {
        if (FDriver)
            FDriver->Forward();
    }
    void Back() override
    {
        if (FDriver)
            FDriver->Back();
    }
    bool GetLoop() override { return FDriver && FDriver->GetLoop(); }
    bool GetIsPlaying() override { return FDriver && FDriver->GetIsPlaying(); }
    int GetCurrentFrame() override { return FDriver ? FDriver->GetCurrentFrame() : 0; }
    int GetTotalFrames() override { return FDriver ? FDriver->GetTotalFrames() : 0; }
    void SetLoop(bool Value) override
    {
        if (FDriver)
            FDriver->SetLoop(Value);
    }
    void SetCurrentFrame(int Value) override
    {
        if (FDriver)
            FDriver->SetCurrentFrame(Value);
    }

    // Property forms of the player operations, for the tables and for callers.
    bool IsPlaying() { return GetIsPlaying(); }
    bool Loop() { return GetLoop(); }
    int CurrentFrame() { return GetCurrentFrame(); }
    int TotalFrames() { return GetTotalFrames(); }

    // The settings the driver holds.
    int Volume() const { return FDriver ? FDriver->Volume() : 0; }
    void SetVolume(int Value)
    {
        if (FDriver)
            FDriver->SetVolume(Value);
    }
    bool Pause() const { return FDriver && FDriver->Pause(); }
    void SetPause(bool Value)
    {
        if (FDriver)
            FDriver->SetPause(Value);
    }
    // A new skin shows at the next video load; nothing is sent to the player now.
    std::wstring Skin() const { return FDriver ? FDriver->Skin() : std::wstring(); }
    void SetSkin(const std::wstring& Value)
    {
        if (FDriver)
            FDriver->SetSkin(Value);
    }
    bool DisableFlashMenu() const { return FDriver && FDriver->DisableFlashMenu(); }
    void SetDisableFlashMenu(bool Value)
    {
        if (FDriver)
            FDriver->SetDisableFlashMenu(Value);
    }
    bool DisableFlashCursor() const { return FDriver && FDriver->DisableFlashCursor(); }
    void SetDisableFlashCursor(bool Value)
    {
        if (FDriver)
            FDriver->SetDisableFlashCursor(Value);
    }
    bool ShowUpdateRects() const { return FDriver && FDriver->ShowUpdateRects(); }
    void SetShowUpdateRects(bool Value)
    {
        if (FDriver)
            FDriver->SetShowUpdateRects(Value);
    }

    // Raised by the driver, which is their sender. An assignment reaches the current driver at
    // once, so a handler set in code hears the movie already playing; every new driver and
    // Loaded hand the fields over again.
    const TznFSCommandEvent& OnFSCommand() const { return FOnFSCommand; }
    void SetOnFSCommand(const TznFSCommandEvent& Value)
    {
        FOnFSCommand = Value;
        if (FDriver)
            FDriver->SetOnFSCommand(Value);
    }
    const TznFlashCallEvent& OnFlashCall() const { return FOnFlashCall; }
    void SetOnFlashCall(const TznFlashCallEvent& Value)
    {
        FOnFlashCall = Value;
        if (FDriver)
            FDriver->SetOnFlashCall(Value);
    }

protected:
    using TBase::TBase;

    // Replaces the driver through ChangePlugin with the component's own arguments.
    virtual void CreateDriver() = 0;

    // The end of every component's Loaded: the recorded movie is loaded and the handlers
    // assigned while reading reach the driver.
    void LoadRecordedMovie()
    {
        LoadMovie(FMovie);
        if (FDriver) {
            FDriver->SetOnFSCommand(FOnFSCommand);
            FDriver->SetOnFlashCall(FOnFlashCall);
        }
    }

    std::unique_ptr<TznFlashDriver> FDriver;
    std::wstring FMovie;
    TznPlugin FPlugin = znDefault;
    TznFSCommandEvent FOnFSCommand;
    TznFlashCallEvent FOnFlashCall;
};

// The value names of TznPlugin, by ordinal, as forms store them.
inline constexpr const wchar_t* PluginNames[] = {L"znDefault", L"znNetscape", L"znActiveX"};

} // namespace zn

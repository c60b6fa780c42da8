// The vocabulary a driver and its component share: which Flash host a component asks for, the
// four callbacks through which a driver talks back, and IznFlash, the player operations that
// drivers and components both offer.
#pragma once

#include "zintara/framework/method.h"
#include "zintara/framework/types.h"

#include <string>

namespace zn {

class TObject;
class TStream;

// The host a component prefers; ordinals are stored with forms.
enum TznPlugin { znDefault = 0, znNetscape = 1, znActiveX = 2 };

// ASender is always the driver that raises the event, not the component that owns it.
// A rectangle of the buffer is final.
using TznPaintEvent = TMethod<void(TObject* ASender, const TRect& ARect)>;
// The owner fills a rectangle of the buffer with its background before the player draws over it.
using TznEraseBackgroundEvent = TMethod<void(TObject* ASender, const TRect& ARect)>;
// The movie issued an FSCommand.
using TznFSCommandEvent =
    TMethod<void(TObject* ASender, const std::wstring& command, const std::wstring& args)>;
// The movie made an ExternalInterface call; request is the player's XML invoke text.
using TznFlashCallEvent = TMethod<void(TObject* ASender, const std::wstring& request)>;

// The player operations, in their fixed order. A static type only: nothing queries for it and
// holding one never owns the object behind it (components and drivers are freed by their
// owners), hence the protected destructor.
class IznFlash {
public:
    virtual void LoadMovie(const std::wstring& AUrl) = 0;
    virtual void LoadMovieFromStream(TStream& AStream) = 0;
    virtual std::wstring GetVariable(const std::wstring& name) = 0;
    virtual void SetVariable(const std::wstring& name, const std::wstring& value) = 0;
    virtual std::wstring CallFunction(const std::wstring& request) = 0;
    virtual void SetReturnValue(const std::wstring& returnValue) = 0;
    virtual void Play() = 0;
    virtual void StopPlay() = 0;
    virtual void Rewind() = 0;
    virtual void Forward() = 0;
    virtual void Back() = 0;
    virtual bool GetLoop() = 0;
    virtual bool GetIsPlaying() = 0;
    virtual int GetCurrentFrame() = 0;
    virtual int GetTotalFrames() = 0;
    virtual void SetLoop(bool Value) = 0;
    virtual void SetCurrentFrame(int Value) = 0;

protected:
    IznFlash() = default;
    IznFlash(const IznFlash&) = default;
    IznFlash& operator=(const IznFlash&) = default;
    ~IznFlash() = default;
};

} // namespace zn

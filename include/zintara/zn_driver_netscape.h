// The Netscape plug-in driver: TznFlashDriverNS, the driver that hosts the Flash Player's
// Netscape plug-in windowless in the driver's buffer, over the NPAPI records of the browser side.
#pragma once

#include "zintara/core/flash_driver.h"
#include "zintara/driver_netscape/npapi_records.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zn {

class TMemoryStream;
template <class T>
class TPendingCopies;

namespace netscape {
class TPluginInstance;
}

// The driver that hosts the Netscape plug-in: one windowless plug-in instance per driver, drawing
// into the driver's buffer (a memory device context announced as a drawable window). Every
// operation does nothing, and every query answers empty, false or 0, when the plug-in is not
// installed or gave no scriptable object.
class TznFlashDriverNS : public TznFlashDriver {
public:
    // The base constructor sizes the buffers; the plug-in instance is created after it.
    TznFlashDriverNS(int AWidth, int AHeight, std::uint32_t ABackground);
    // Destroys the plug-in instance before the base class frees the buffers.
    ~TznFlashDriverNS() override;

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    // Whether the plug-in was found and gave its entry points. The first call starts the unit:
    // it finds and loads the plug-in (beside the executable, at the path its installer
    // registered, or at the default path) and initialises it.
    static bool PluginExists();

    // Announces the new buffer to the plug-in and repaints it.
    void ResizeBuffer() override;
    void ForceUpdate() override;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseWheel(TShiftState Shift, int X, int Y, int WheelDelta, bool& Handled) override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Char, TShiftState Shift) override;
    void KeyUp(std::uint16_t& Key, TShiftState Shift) override;

    // Loads a movie by name or URL into a fresh plug-in instance; the plug-in then requests the
    // name and CreateStream serves it.
    void LoadMovie(const std::wstring& AUrl) override;
    // Loads a copy of AStream's bytes from its position on (the caller may free AStream on
    // return): the plug-in requests the copy by a stream token, once.
    void LoadMovieFromStream(TStream& AStream) override;
    std::wstring GetVariable(const std::wstring& name) override;
    void SetVariable(const std::wstring& name, const std::wstring& value) override;
    std::wstring CallFunction(const std::wstring& request) override;
    // The answer to the call the movie is making (OnFlashCall).
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

    // Creates a fresh instance; false when the driver was freed or the instance replaced from
    // inside NPP_New.
    bool CreatePlugin();
    void DestroyPlugin();

    // Serves a URL the plug-in requested: a file, an embedded file, a stream copy, a resource of
    // the library, or an HTTP download, delivered as one NPAPI stream.
    void CreateStream(const std::wstring& url, void* notifyData);

    // The browser side's entries that act on one driver.
    // Paints Rect at once; its right and bottom edges are clamped to the buffer in place.
    void InvalidateRect(TNPRect& Rect);
    // Raises OnFlashCall for a call from the movie and answers with SetReturnValue's text, which
    // stays valid until the next call from any movie; empty when the handler freed the driver or
    // replaced the calling instance.
    const std::string& AnswerFlashCall(const std::wstring& request);
    // Announces the buffer as the plug-in's window and repaints it.
    void AnnounceWindow();

    // The record of the running plug-in instance; null while there is none.
    PNPP Instance() const;
    PNPObject ScriptableObject() const;
    const TNPWindow& Window() const { return wnd; }

private:
    bool CallMethod(const char* Name, const TNPVariant* Args, std::uint32_t ArgCount,
                    TNPVariant* Result);
    std::wstring CallStringMethod(const char* Name, const TNPVariant* Args, std::uint32_t ArgCount);
    bool CallBoolMethod(const char* Name);
    int CallIntMethod(const char* Name);
    void CallVoidMethod(const char* Name);
    void LoadPluginMovie(const std::string& Url);
    void LoadVideo(const std::wstring& ContentPath);
    void SendEvent(std::uint16_t Event, std::uintptr_t WParam, std::uintptr_t LParam);
    void DrawPlayer(HDC DC, const TRect& ARect);
    void DeliverLocalSource(TStream& Source, const std::string& Name,
                            const std::vector<std::pair<std::string, std::string>>& Query,
                            void* NotifyData);
    void StartDownload(const std::string& Url, void* NotifyData);
    void RefuseRequest(const std::string& Url, void* NotifyData);

    // The running instance, shared with every call into it on the stack (plugin_instance.h):
    // a reload or the driver's destruction detaches it, and the outermost call destroys it.
    std::shared_ptr<netscape::TPluginInstance> FPlugin;
    std::wstring FReturnValue;
    TNPWindow wnd{};
    std::unique_ptr<TPendingCopies<TMemoryStream>> FPendingCopies;
};

} // namespace zn

// What tests can ask of the reference plug-in beyond NPAPI: exports of npswf32.dll, resolved by
// these plain names with GetProcAddress. Instances are named by the browser's NPP (the address
// of the record the browser passed to NPP_New); an NPP that is not a live instance is refused.
//
// The log holds one line per call the browser made into the plug-in, in order, each the entry's
// name and then " key=value" per argument, for example
//   NP_Initialize funcs=0x0061fe00 size=172 version=18
//   NPP_New npp=0x0061fd40 mime="application/x-shockwave-flash" mode=1 argc=4 wmode="transparent" ...
//   NPP_SetWindow npp=0x0061fd40 window=0x3a0109e4 x=0 y=0 width=100 height=50 type=2
//   NPP_HandleEvent npp=0x0061fd40 event=15 wParam=0x3a0109e4 lParam=0x0061fc10
//     (followed by padding=N when the two bytes after event are not zero: a violation)
//   NPP_NewStream npp=... type="application/x-shockwave-flash" stream=... url="movie.swf" end=120 notifyData=... seekable=1
//   NPP_Write npp=... stream=... offset=0 length=120
//   NPP_URLNotify npp=... url="movie.swf" reason=0 notifyData=0x00000001
//   NPP_DestroyStream npp=... stream=... url="movie.swf" end=120 reason=0
//   NPObject.Invoke npp=0x0061fd40 method="LoadMovie" args=(0, "movie.swf")
//   NPObject.SetProperty npp=0x0061fd40 name="Loop" value=(true)
// Calls on the scriptable object name the instance's NPP, or npp=0x00000000 once it is gone.
// Texts are in double quotes with backslash escapes; addresses are "0x" and eight hexadecimal
// digits; variants print as void, null, true, false, integers, doubles with a point
// ("2.5", "3.0"), quoted strings and object(0x...). The log is the plug-in's, for the whole
// process; it survives NP_Shutdown. It keeps the last 100000 lines: when older ones had to go,
// the text begins with "CallLog dropped=N".
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

// Copies the log, zero-terminated, into buffer and clears it, when capacity exceeds its length;
// otherwise copies nothing and keeps it. Answers the log's length in bytes either way, so
// (nullptr, 0) asks for the size.
using ZnNpTakeLogFunction = std::size_t (*)(char* buffer, std::size_t capacity);

// The number of instances created and not yet destroyed.
using ZnNpLiveInstancesFunction = std::size_t (*)();

// NPN_InvalidateRect on the instance with that rectangle. Answers 0, or an NPAPI error code.
using ZnNpInvalidateRectFunction = std::int16_t (*)(void* npp, std::uint16_t left,
                                                    std::uint16_t top, std::uint16_t right,
                                                    std::uint16_t bottom);

// The instance calls out with an FSCommand (NPN_Invoke of "_DoFSCommand" on the window object).
// Answers 0 when the browser accepted the call.
using ZnNpFSCommandFunction = std::int16_t (*)(void* npp, const char* command, const char* args);

// An argument of an ExternalInterface call: text, or a number when isNumber is non-zero (then
// text holds it in decimal, as "2" or "-0.5").
struct ZnNpArgument {
    const char* text;
    int isNumber;
};

// The instance calls out with an ExternalInterface call (NPN_Evaluate of the call's script).
// The answer (ExternalInterface XML) is copied zero-terminated into answer when it fits;
// answers its length, or -1 when the instance or an argument is refused.
using ZnNpExternalCallFunction = std::int32_t (*)(void* npp, const char* name,
                                                  const ZnNpArgument* args, std::uint32_t count,
                                                  char* answer, std::size_t capacity);

// The instance requests a URL (NPN_GetURLNotify with a null target), as a movie asks for a
// file it loads; the stream that answers is received and leaves the movie as it is. Answers
// the browser's NPAPI code.
using ZnNpRequestUrlFunction = std::int16_t (*)(void* npp, const char* url);

// Contract violations the plug-in found since the last call ("Violation what=..." lines, also in
// the call log), taken as ZnNpTakeLog takes the log.
using ZnNpTakeViolationsFunction = std::size_t (*)(char* buffer, std::size_t capacity);

// Switches the hostile mode, for every instance, to the flags below (0 ends it). url is what
// ZnNpHostileRequestInNew requests; it may be null otherwise.
using ZnNpSetHostileFunction = void (*)(unsigned flags, const char* url);

// The time the plug-in spent in NPP_HandleEvent answering WM_PAINT, from entry to return, since
// the last call, in QueryPerformanceCounter ticks: what a benchmark of the browser's repaint
// counts as the plug-in's drawing.
using ZnNpTakePaintTicksFunction = std::uint64_t (*)();

// Leaves npp->pdata null: the instance is found by its NPP alone.
inline constexpr unsigned ZnNpHostileNullPdata = 1u << 0;
// Requests url (as the movie) from inside NPP_New.
inline constexpr unsigned ZnNpHostileRequestInNew = 1u << 1;
// Raises the FSCommand "write" (args: the stream's URL) from inside every NPP_Write, after the
// data was taken, so that the browser's handler may reload or destroy the instance there.
inline constexpr unsigned ZnNpHostileWriteCallsOut = 1u << 2;
// Invalidates its whole window from inside every NPP_SetWindow and every WM_PAINT.
inline constexpr unsigned ZnNpHostilePaintInvalidates = 1u << 3;
// Raises the FSCommand "setvariable" (args: the name) from inside the SetVariable method, which
// then fails.
inline constexpr unsigned ZnNpHostileSetVariableFails = 1u << 4;
// Calls the browser table's enumerate entry on the window object in NPP_New, as a player that
// trusts the table's minor version 18 does.
inline constexpr unsigned ZnNpHostileEnumerate = 1u << 5;

} // extern "C"

namespace zn::np::control {

inline constexpr const char* kTakeLog = "ZnNpTakeLog";
inline constexpr const char* kLiveInstances = "ZnNpLiveInstances";
inline constexpr const char* kInvalidateRect = "ZnNpInvalidateRect";
inline constexpr const char* kFSCommand = "ZnNpFSCommand";
inline constexpr const char* kExternalCall = "ZnNpExternalCall";
inline constexpr const char* kRequestUrl = "ZnNpRequestUrl";
inline constexpr const char* kTakeViolations = "ZnNpTakeViolations";
inline constexpr const char* kSetHostile = "ZnNpSetHostile";
inline constexpr const char* kTakePaintTicks = "ZnNpTakePaintTicks";

} // namespace zn::np::control

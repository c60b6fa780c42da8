// The NPP_ entries: each records the call in the log, checks the instance and every pointer the
// browser hands over, forwards to the instance, and answers with an NPAPI code; nothing thrown
// inside crosses back into the browser.
#include "plugin_entries.h"

#include "c_boundary.h"
#include "log_text.h"
#include "hostile_mode.h"
#include "instance.h"
#include "paint_time.h"

#include <cstring>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace zn::np {

namespace {

constexpr std::string_view kFlashMimeType = "application/x-shockwave-flash";
constexpr std::uint16_t kPaintEvent = 0x000F; // WM_PAINT

// The instance behind npp, held while the call runs; an unknown one is refused.
template <typename Call>
NPError OnInstance(NPP npp, Call call)
{
    InstanceScope instance(npp);
    return instance ? call(*instance) : NPERR_INVALID_INSTANCE_ERROR;
}

void LogStream(LogLine& line, const NPStream* stream)
{
    line.Address("stream", stream);
    if (stream)
        line.Text("url", stream->url).Number("end", stream->end);
}

NPError New(NPMIMEType pluginType, NPP npp, std::uint16_t mode, std::int16_t argc, char* argn[],
            char* argv[], NPSavedData*)
{
    return Guarded([&] {
        LogLine line("NPP_New");
        line.Address("npp", npp).Text("mime", pluginType).Number("mode", mode).Number("argc", argc);
        std::vector<std::pair<std::string_view, std::string_view>> attributes;
        if (argc > 0 && argn && argv) {
            for (std::int16_t i = 0; i < argc; ++i) {
                if (!argn[i])
                    continue;
                std::string_view value = argv[i] ? argv[i] : "";
                line.Text(argn[i], value);
                attributes.emplace_back(argn[i], value);
            }
        }
        CallLogOfProcess().Record(line);
        // A record that already carries a live instance is not the browser's to reuse.
        if (!npp || FindLiveInstance(npp))
            return NPERR_INVALID_INSTANCE_ERROR;
        if (!pluginType || kFlashMimeType != pluginType)
            return NPERR_INVALID_PARAM;
        if (argc < 0 || (argc > 0 && (!argn || !argv)))
            return NPERR_INVALID_PARAM;
        auto instance = std::make_unique<Instance>(npp, ReadInstanceSettings(attributes));
        Instance* created = instance.release();
        if (!Hostility().Has(ZnNpHostileNullPdata))
            npp->pdata = created;
        InstanceScope scope(created, true);
        if (scope)
            scope->ActHostileInNew();
        return NPERR_NO_ERROR;
    });
}

NPError Destroy(NPP npp, NPSavedData** save)
{
    return Guarded([&] {
        CallLogOfProcess().Record(LogLine("NPP_Destroy").Address("npp", npp));
        if (save)
            *save = nullptr;
        return OnInstance(npp, [](Instance& instance) {
            instance.Destroy();
            return NPERR_NO_ERROR;
        });
    });
}

NPError SetWindow(NPP npp, NPWindow* window)
{
    return Guarded([&] {
        LogLine line("NPP_SetWindow");
        line.Address("npp", npp).Address("window", window ? window->window : nullptr);
        if (window)
            line.Number("x", window->x)
                .Number("y", window->y)
                .Number("width", window->width)
                .Number("height", window->height)
                .Number("type", window->type);
        CallLogOfProcess().Record(line);
        return OnInstance(npp, [&](Instance& instance) {
            return window ? instance.SetWindow(*window) : NPERR_INVALID_PARAM;
        });
    });
}

std::int16_t HandleEvent(NPP npp, void* event)
{
    return GuardedOr<std::int16_t>(0, [&]() -> std::int16_t {
        auto* npEvent = static_cast<NPEvent*>(event);
        std::optional<PaintTimer> paintTimer;
        if (npEvent && npEvent->event == kPaintEvent)
            paintTimer.emplace();
        LogLine line("NPP_HandleEvent");
        line.Address("npp", npp);
        if (npEvent) {
            line.Number("event", npEvent->event)
                .Address("wParam", reinterpret_cast<void*>(npEvent->wParam))
                .Address("lParam", reinterpret_cast<void*>(npEvent->lParam));
            // The two bytes after event belong to no field; a browser must not leave garbage.
            std::uint16_t padding = 0;
            std::memcpy(&padding, reinterpret_cast<const char*>(npEvent) + sizeof npEvent->event,
                        sizeof padding);
            if (padding)
                line.Number("padding", padding);
        } else
            line.Address("event", nullptr);
        CallLogOfProcess().Record(line);
        InstanceScope instance(npp);
        if (!instance || !npEvent)
            return 0;
        return instance->HandleEvent(*npEvent);
    });
}

NPError NewStream(NPP npp, NPMIMEType type, NPStream* stream, NPBool seekable,
                  std::uint16_t* streamType)
{
    return Guarded([&] {
        LogLine line("NPP_NewStream");
        line.Address("npp", npp).Text("type", type);
        LogStream(line, stream);
        if (stream)
            line.Address("notifyData", stream->notifyData);
        line.Number("seekable", seekable);
        CallLogOfProcess().Record(line);
        return OnInstance(npp, [&](Instance& instance) {
            return stream ? instance.NewStream(*stream, streamType) : NPERR_INVALID_PARAM;
        });
    });
}

std::int32_t WriteReady(NPP npp, NPStream* stream)
{
    // Everything is buffered in memory: any amount is welcome.
    return GuardedOr<std::int32_t>(0x0FFFFFFF, [&] {
        CallLogOfProcess().Record(
            LogLine("NPP_WriteReady").Address("npp", npp).Address("stream", stream));
        return 0x0FFFFFFF;
    });
}

std::int32_t Write(NPP npp, NPStream* stream, std::int32_t offset, std::int32_t length,
                   void* buffer)
{
    return GuardedOr<std::int32_t>(-1, [&]() -> std::int32_t {
        LogLine line("NPP_Write");
        line.Address("npp", npp)
            .Address("stream", stream)
            .Number("offset", offset)
            .Number("length", length);
        CallLogOfProcess().Record(line);
        InstanceScope instance(npp);
        if (!instance || !stream || length < 0 || (length > 0 && !buffer))
            return -1;
        return instance->Write(*stream, length, buffer);
    });
}

NPError DestroyStream(NPP npp, NPStream* stream, NPReason reason)
{
    return Guarded([&] {
        LogLine line("NPP_DestroyStream");
        line.Address("npp", npp);
        LogStream(line, stream);
        line.Number("reason", reason);
        CallLogOfProcess().Record(line);
        return OnInstance(npp, [&](Instance& instance) {
            return stream ? instance.DestroyStream(*stream, reason) : NPERR_INVALID_PARAM;
        });
    });
}

// Streams are always asked for as NP_NORMAL, and windowless printing is not offered: these two
// only leave their trace in the log.
void StreamAsFile(NPP npp, NPStream* stream, const char* fileName)
{
    GuardedOr<int>(0, [&] {
        CallLogOfProcess().Record(LogLine("NPP_StreamAsFile")
                                      .Address("npp", npp)
                                      .Address("stream", stream)
                                      .Text("file", fileName));
        return 0;
    });
}

void Print(NPP npp, void* platformPrint)
{
    GuardedOr<int>(0, [&] {
        CallLogOfProcess().Record(
            LogLine("NPP_Print").Address("npp", npp).Address("print", platformPrint));
        return 0;
    });
}

void UrlNotify(NPP npp, const char* url, NPReason reason, void* notifyData)
{
    GuardedOr<int>(0, [&] {
        CallLogOfProcess().Record(LogLine("NPP_URLNotify")
                                      .Address("npp", npp)
                                      .Text("url", url)
                                      .Number("reason", reason)
                                      .Address("notifyData", notifyData));
        InstanceScope instance(npp);
        if (instance)
            instance->UrlNotify(reason, notifyData);
        return 0;
    });
}

NPError GetValue(NPP npp, NPPVariable variable, void* value)
{
    return Guarded([&] {
        CallLogOfProcess().Record(
            LogLine("NPP_GetValue").Address("npp", npp).Number("variable", variable));
        if (!value)
            return NPERR_INVALID_PARAM;
        if (variable == NPPVpluginNameString || variable == NPPVpluginDescriptionString) {
            static const char name[] = "Zintara reference player";
            *static_cast<const char**>(value) = name;
            return NPERR_NO_ERROR;
        }
        return OnInstance(npp, [&](Instance& instance) {
            if (variable != NPPVpluginScriptableNPObject)
                return NPERR_INVALID_PARAM;
            NPObject* object = instance.ScriptableObjectForBrowser();
            *static_cast<NPObject**>(value) = object;
            return object ? NPERR_NO_ERROR : NPERR_GENERIC_ERROR;
        });
    });
}

NPError SetValue(NPP npp, NPNVariable variable, void*)
{
    return Guarded([&] {
        CallLogOfProcess().Record(
            LogLine("NPP_SetValue").Address("npp", npp).Number("variable", variable));
        return NPERR_INVALID_PARAM;
    });
}

} // namespace

void FillPluginFuncs(NPPluginFuncs& funcs)
{
    funcs = NPPluginFuncs{};
    funcs.size = sizeof funcs;
    funcs.version = (NP_VERSION_MAJOR << 8) | NP_VERSION_MINOR;
    funcs.newp = New;
    funcs.destroy = Destroy;
    funcs.setwindow = SetWindow;
    funcs.newstream = NewStream;
    funcs.destroystream = DestroyStream;
    funcs.asfile = StreamAsFile;
    funcs.writeready = WriteReady;
    funcs.write = Write;
    funcs.print = Print;
    funcs.event = HandleEvent;
    funcs.urlnotify = UrlNotify;
    funcs.getvalue = GetValue;
    funcs.setvalue = SetValue;
}

} // namespace zn::np

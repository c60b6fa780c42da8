// The exports through which tests read the call log and make an instance act.
#include "reference_plugin_control.h"

#include "c_boundary.h"
#include "log_text.h"
#include "hostile_mode.h"
#include "instance.h"
#include "paint_time.h"

#include <charconv>
#include <cstring>
#include <string>
#include <vector>

using namespace zn::np;

namespace {

std::optional<FlashCallArgument> ArgumentOf(const ZnNpArgument& arg)
{
    if (!arg.text)
        return std::nullopt;
    if (!arg.isNumber)
        return FlashCallArgument::String(arg.text);
    double number = 0;
    const char* end = arg.text + std::strlen(arg.text);
    auto [stop, error] = std::from_chars(arg.text, end, number);
    if (error != std::errc{} || stop != end)
        return std::nullopt;
    return FlashCallArgument::Number(number);
}

} // namespace

extern "C" {

std::size_t ZnNpTakeLog(char* buffer, std::size_t capacity)
{
    return GuardedOr<std::size_t>(0, [&] { return CallLogOfProcess().Take(buffer, capacity); });
}

std::size_t ZnNpLiveInstances()
{
    return LiveInstanceCount();
}

std::int16_t ZnNpInvalidateRect(void* npp, std::uint16_t left, std::uint16_t top,
                                std::uint16_t right, std::uint16_t bottom)
{
    return GuardedOr<std::int16_t>(NPERR_GENERIC_ERROR, [&]() -> std::int16_t {
        InstanceScope instance(FindLiveInstance(npp));
        if (!instance)
            return NPERR_INVALID_INSTANCE_ERROR;
        instance->Invalidate({top, left, bottom, right});
        return NPERR_NO_ERROR;
    });
}

std::int16_t ZnNpFSCommand(void* npp, const char* command, const char* args)
{
    return GuardedOr<std::int16_t>(NPERR_GENERIC_ERROR, [&]() -> std::int16_t {
        InstanceScope instance(FindLiveInstance(npp));
        if (!instance)
            return NPERR_INVALID_INSTANCE_ERROR;
        if (!command)
            return NPERR_INVALID_PARAM;
        return instance->SendFSCommand(command, args ? args : "") ? NPERR_NO_ERROR
                                                                  : NPERR_GENERIC_ERROR;
    });
}

std::int32_t ZnNpExternalCall(void* npp, const char* name, const ZnNpArgument* args,
                              std::uint32_t count, char* answer, std::size_t capacity)
{
    return GuardedOr<std::int32_t>(-1, [&]() -> std::int32_t {
        InstanceScope instance(FindLiveInstance(npp));
        if (!instance || !name || (count && !args))
            return -1;
        std::vector<FlashCallArgument> arguments;
        for (std::uint32_t i = 0; i < count; ++i) {
            auto argument = ArgumentOf(args[i]);
            if (!argument)
                return -1;
            arguments.push_back(*argument);
        }
        std::string result = instance->SendExternalCall(name, arguments);
        if (answer && capacity > result.size())
            std::memcpy(answer, result.c_str(), result.size() + 1);
        return static_cast<std::int32_t>(result.size());
    });
}

std::int16_t ZnNpRequestUrl(void* npp, const char* url)
{
    return GuardedOr<std::int16_t>(NPERR_GENERIC_ERROR, [&]() -> std::int16_t {
        InstanceScope instance(FindLiveInstance(npp));
        if (!instance)
            return NPERR_INVALID_INSTANCE_ERROR;
        if (!url)
            return NPERR_INVALID_URL;
        return instance->RequestFromBrowser(url, UrlRequest::Purpose::MovieFile);
    });
}

std::size_t ZnNpTakeViolations(char* buffer, std::size_t capacity)
{
    return GuardedOr<std::size_t>(0, [&] { return TakeViolations(buffer, capacity); });
}

void ZnNpSetHostile(unsigned flags, const char* url)
{
    GuardedOr<int>(0, [&] {
        Hostility() = {flags, url ? url : ""};
        return 0;
    });
}

std::uint64_t ZnNpTakePaintTicks()
{
    return TakePaintTicks();
}

} // extern "C"

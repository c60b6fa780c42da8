// Shared by the engine's tests: a host that records what the movie asks of it, pixel
// helpers, and a PNG writer for looking at renderings.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "znswf/image.h"
#include "znswf/movie_player.h"
#include "znswf/player_host.h"

namespace zn::test {

class RecordingHost : public swf::PlayerHost {
public:
    struct Call {
        std::string name;
        std::vector<swf::ExternalValue> arguments;
    };

    void RequestUrl(const std::string& url, const std::string& target) override
    {
        requests.push_back({url, target});
    }
    void FSCommand(const std::string& command, const std::string& arguments) override
    {
        commands.push_back({command, arguments});
        if (onFSCommand)
            onFSCommand(command, arguments);
    }
    std::string CallExternal(const std::string& name,
                             const std::vector<swf::ExternalValue>& arguments) override
    {
        calls.push_back({name, arguments});
        return onCall ? onCall(name, arguments) : answer;
    }
    void InvalidateRect(const swf::PixelRect& rect) override
    {
        invalidated.push_back(rect);
        if (onInvalidate)
            onInvalidate(rect);
    }

    std::vector<std::pair<std::string, std::string>> requests, commands;
    std::vector<Call> calls;
    std::vector<swf::PixelRect> invalidated;
    std::string answer;
    std::function<std::string(const std::string&, const std::vector<swf::ExternalValue>&)> onCall;
    std::function<void(const std::string&, const std::string&)> onFSCommand;
    std::function<void(const swf::PixelRect&)> onInvalidate;
};

struct Color {
    int red, green, blue, alpha;
};
Color ColorAt(const swf::Image& image, int x, int y);
// Each channel within `tolerance`.
bool Near(Color actual, Color expected, int tolerance = 2);
std::string Describe(Color color);

// Renders the player's whole view into a new image.
swf::Image RenderView(const swf::MoviePlayer& player, int width, int height, bool opaque);
// Composites a premultiplied image over an opaque colour.
swf::Image Over(const swf::Image& image, swf::Rgba background);

// Writes an RGBA PNG (colours un-premultiplied) for a person to look at.
bool WritePng(const std::string& path, const swf::Image& image);

} // namespace zn::test

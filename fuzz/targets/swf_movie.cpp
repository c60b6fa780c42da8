// A movie from any bytes: read, then played for a few frames with its scripts running, the
// mouse over and pressing its buttons, a callback invoked, the files it asks for answered
// (alternately with the same bytes and with a failure), and every frame rasterised.
#include "znswf/movie_player.h"
#include "znswf/player_host.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace {

// Answers every call as a host would, so that the movie's scripts go on running.
class FuzzHost : public zn::swf::PlayerHost {
public:
    void RequestUrl(const std::string& url, const std::string&) override
    {
        requests.push_back(url);
    }
    void FSCommand(const std::string&, const std::string&) override {}
    std::string CallExternal(const std::string& name,
                             const std::vector<zn::swf::ExternalValue>&) override
    {
        return "<string>" + name + "</string>";
    }
    void InvalidateRect(const zn::swf::PixelRect&) override {}

    std::vector<std::string> requests;
};

constexpr int ViewWidth = 64, ViewHeight = 48, Frames = 4;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    FuzzHost host;
    zn::swf::MoviePlayer player(host);
    player.SetViewSize(ViewWidth, ViewHeight);
    // Delivered in two pieces, as a download arrives, so that frames play before the end.
    const std::span<const std::uint8_t> bytes(Data, Size);
    player.BeginLoad();
    player.Append(bytes.first(Size / 2));
    player.Advance();
    player.Append(bytes.subspan(Size / 2));
    player.EndLoad();

    zn::swf::Image image(ViewWidth, ViewHeight);
    for (int frame = 0; frame < Frames; ++frame) {
        // Answers may ask for more; those wait for the next frame.
        std::vector<std::string> requests = std::move(host.requests);
        host.requests.clear();
        for (size_t i = 0; i < requests.size() && i < 4; ++i) {
            if ((frame + i) % 2 == 0)
                player.UrlArrived(requests[i], bytes);
            else
                player.UrlFailed(requests[i]);
        }
        player.MouseMove(frame * 16, frame * 12);
        player.MouseButton(frame * 16, frame * 12, frame % 2 == 0);
        player.Advance();
        player.Render(image.View(), {.opaqueBackground = frame % 2 == 1});
    }
    for (const std::string& name : player.CallbackNames())
        player.InvokeCallback("<invoke name=\"" + name +
                              "\" returntype=\"xml\"><arguments><string>x</string>"
                              "<number>1</number></arguments></invoke>");
    player.GotoFrame(player.TotalFrames() - 1);
    player.Render(image.View(),
                  {.viewWidth = ViewWidth * 3, .viewHeight = ViewHeight / 2, .originX = -5});
    return 0;
}

// The movie engine's own rendering of a movie's first frame, premultiplied: what a host's buffer
// must hold in transparent mode once the player drew that frame. Header-only; the suite links
// the engine (znswf).
#pragma once

#include "znswf/movie_player.h"
#include "znswf/player_host.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zn::test {

inline std::vector<std::uint32_t> EngineFrame(const std::vector<std::uint8_t>& Movie, int Width,
                                              int Height)
{
    // The first frame's calls out go nowhere: only its pixels count.
    struct TQuietHost : zn::swf::PlayerHost {
        void RequestUrl(const std::string&, const std::string&) override {}
        void FSCommand(const std::string&, const std::string&) override {}
        std::string CallExternal(const std::string&,
                                 const std::vector<zn::swf::ExternalValue>&) override
        {
            return {};
        }
        void InvalidateRect(const zn::swf::PixelRect&) override {}
    } host;
    zn::swf::MoviePlayer player(host);
    player.Load(Movie);
    player.SetViewSize(Width, Height);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(Width) * Height, 0);
    player.Render(zn::swf::ImageView{pixels.data(), Width, Height, Width});
    return pixels;
}

} // namespace zn::test

// How fast the engine renders: the sample movie's frames and a full-view opaque fill, each
// against memcpy of the same number of bytes.  Run: scripts/wine-run build/bench/swf/swf_render_bench.exe
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "sample_movies.h"
#include "znswf/movie_player.h"
#include "znswf/movie_writer.h"

namespace {

using Clock = std::chrono::steady_clock;

class SilentHost : public zn::swf::PlayerHost {
public:
    void RequestUrl(const std::string&, const std::string&) override {}
    void FSCommand(const std::string&, const std::string&) override {}
    std::string CallExternal(const std::string&,
                             const std::vector<zn::swf::ExternalValue>&) override
    {
        return {};
    }
    void InvalidateRect(const zn::swf::PixelRect&) override {}
};

template <typename Work>
double MicrosecondsPerRun(int runs, Work work)
{
    auto started = Clock::now();
    for (int i = 0; i < runs; ++i)
        work(i);
    return std::chrono::duration<double, std::micro>(Clock::now() - started).count() / runs;
}

double MemcpyMicroseconds(size_t bytes, int runs)
{
    std::vector<uint8_t> from(bytes, 1), to(bytes);
    return MicrosecondsPerRun(runs, [&](int i) {
        from[static_cast<size_t>(i) % bytes] = static_cast<uint8_t>(i);
        std::memcpy(to.data(), from.data(), bytes);
    });
}

void Report(const char* what, int width, int height, double micros, int runs)
{
    double copy = MemcpyMicroseconds(static_cast<size_t>(width) * height * 4, runs);
    std::printf("%-34s %4dx%-4d %9.1f us  %6.2f ns/pixel  memcpy %7.1f us  (%.1fx)\n", what, width,
                height, micros, micros * 1000 / (static_cast<double>(width) * height), copy,
                micros / copy);
}

} // namespace

int main()
{
    SilentHost host;
    zn::swf::MoviePlayer sample(host);
    sample.Load(zn::swf::samples::SampleMovie());
    for (auto [width, height] : {std::pair{320, 240}, std::pair{640, 480}, std::pair{1280, 960}}) {
        zn::swf::Image image(width, height);
        constexpr int runs = 200;
        for (bool opaque : {false, true}) {
            zn::swf::RenderOptions options;
            options.opaqueBackground = opaque;
            double micros = MicrosecondsPerRun(runs, [&](int i) {
                sample.GotoFrame(i % zn::swf::samples::SampleFrames);
                sample.Render(image.View(), options);
            });
            Report(opaque ? "sample frame, opaque" : "sample frame, transparent", width, height,
                   micros, runs);
        }
    }

    // One opaque rectangle covering the whole view: the fill loop alone.
    zn::swf::MovieWriter writer(640, 480, 12);
    zn::swf::ShapeBuilder cover;
    cover.Rectangle(0, 0, 640 * 20, 480 * 20, cover.AddFill({10, 20, 30, 255}));
    writer.DefineShape(cover.Build(1)).PlaceObject(1, 1).ShowFrame();
    zn::swf::MoviePlayer fill(host);
    fill.Load(writer.Finish());
    zn::swf::Image image(1024, 768);
    Report("full-view opaque fill", 1024, 768,
           MicrosecondsPerRun(200, [&](int) { fill.Render(image.View()); }), 200);
    return 0;
}

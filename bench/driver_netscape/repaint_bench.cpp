// What a whole repaint costs through the plug-in driver with the reference plug-in, and how much
// of it is the library's own: the plug-in invalidates a rectangle, the driver fills, announces
// its window, lets the plug-in draw (twice in transparent mode), recovers alpha and calls the
// owner back. The plug-in reports the time it spent answering WM_PAINT; the rest of the time
// between its NPN_InvalidateRect and the return is the library's. Beside each figure: the pixel
// work alone on buffers of the same size (the two fills and the alpha pass in transparent mode,
// the owner's fill in opaque mode), timed in the same rounds. Then the cost of handing a 1080p
// frame to a layered window and of copying it into a window.
//
// Every figure is the median of many rounds, so a busy neighbour on a shared machine moves few
// of them; the ratio of the library's time to the pixel work is taken in each round, the two
// measured back to back, and its median printed; allocs counts the library's allocations per
// repaint. Run it alone, with an X display:
//
//   make build && scripts/with-display scripts/wine-run build/bench/driver_netscape/repaint_bench.exe
#include "bench_clock.h"
#include "reference_plugin_control.h"
#include "screen_handoff.h"

#include "zintara/core/alpha.h"
#include "zintara/core/pixel_kernels.h"
#include "zintara/core/pixels.h"
#include "zintara/zn_driver_netscape.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Allocations made through operator new in this process, the library's among them (it is linked
// in statically; the plug-in has a runtime of its own).
std::size_t g_allocations = 0;

} // namespace

void* operator new(std::size_t Size)
{
    ++g_allocations;
    if (void* block = std::malloc(Size ? Size : 1))
        return block;
    throw std::bad_alloc();
}
void operator delete(void* Block) noexcept
{
    std::free(Block);
}
void operator delete(void* Block, std::size_t) noexcept
{
    std::free(Block);
}

namespace {

using zn::bench::Median;
using zn::bench::TicksToMicroseconds;
using zn::bench::TStopwatch;

constexpr std::uint32_t kTransparent = 0x00000000u;
constexpr std::uint32_t kOpaque = 0xFF336699u;

struct TPlugin {
    ZnNpInvalidateRectFunction InvalidateRect = nullptr;
    ZnNpTakePaintTicksFunction TakePaintTicks = nullptr;
    ZnNpTakeLogFunction TakeLog = nullptr;
    ZnNpTakeViolationsFunction TakeViolations = nullptr;
};

TPlugin LoadedPlugin()
{
    if (!zn::TznFlashDriverNS::PluginExists())
        throw std::runtime_error("no npswf32.dll beside the benchmark");
    HMODULE module = GetModuleHandleW(L"npswf32.dll");
    const auto get = [&](const char* name) {
        FARPROC entry = GetProcAddress(module, name);
        if (!entry)
            throw std::runtime_error(std::string("npswf32.dll is not the reference plug-in: no ") +
                                     name);
        return reinterpret_cast<void*>(entry);
    };
    TPlugin plugin;
    plugin.InvalidateRect =
        reinterpret_cast<ZnNpInvalidateRectFunction>(get(zn::np::control::kInvalidateRect));
    plugin.TakePaintTicks =
        reinterpret_cast<ZnNpTakePaintTicksFunction>(get(zn::np::control::kTakePaintTicks));
    plugin.TakeLog = reinterpret_cast<ZnNpTakeLogFunction>(get(zn::np::control::kTakeLog));
    plugin.TakeViolations =
        reinterpret_cast<ZnNpTakeViolationsFunction>(get(zn::np::control::kTakeViolations));
    return plugin;
}

std::string Take(std::size_t (*take)(char*, std::size_t))
{
    std::string text(take(nullptr, 0) + 1, '\0');
    text.resize(take(text.data(), text.size()));
    return text;
}

// Page-aligned pixels, as a DIB section's are.
class TPixels {
public:
    TPixels(int Width, int Height)
        : bits_(static_cast<std::uint32_t*>(
              VirtualAlloc(nullptr, std::size_t(Width) * Height * 4, MEM_COMMIT, PAGE_READWRITE)))
    {}
    ~TPixels() { VirtualFree(bits_, 0, MEM_RELEASE); }
    TPixels(const TPixels&) = delete;
    TPixels& operator=(const TPixels&) = delete;
    std::uint32_t* Bits() const { return bits_; }

private:
    std::uint32_t* bits_;
};

struct TCase {
    const char* Dirty;
    zn::TRect Rect;
    int Rounds;
};

// One driver of a size and mode, its movie loaded and stopped, and the owner's two handlers as
// a component has them: the erase fills with the background, the paint looks at the pixels.
class TRepaintBench : public zn::TObject {
public:
    TRepaintBench(const TPlugin& Plugin, int Width, int Height, std::uint32_t Background)
        : plugin_(Plugin),
          driver_(std::make_unique<zn::TznFlashDriverNS>(Width, Height, Background)),
          black_(Width, Height), white_(Width, Height)
    {
        driver_->SetOnEraseBackground(
            zn::TznEraseBackgroundEvent::Bind<&TRepaintBench::Erase>(this));
        driver_->SetOnPaint(zn::TznPaintEvent::Bind<&TRepaintBench::Painted>(this));
        driver_->LoadMovie(L"sample.swf");
        driver_->StopPlay();
        Take(plugin_.TakeLog);
    }

    zn::TznFlashDriverNS& Driver() { return *driver_; }

    void Run(const char* Mode, const TCase& Case)
    {
        const zn::TRect& r = Case.Rect;
        std::vector<double> totals, players, libraries, pixels, ratios;
        std::size_t allocations = 0;
        for (int round = 0; round < Case.Rounds; ++round) {
            plugin_.TakePaintTicks();
            const std::size_t allocated_before = g_allocations;
            const TStopwatch repaint;
            plugin_.InvalidateRect(driver_->Instance(), std::uint16_t(r.Left), std::uint16_t(r.Top),
                                   std::uint16_t(r.Right), std::uint16_t(r.Bottom));
            const double total = repaint.Microseconds();
            allocations += g_allocations - allocated_before;
            const double player = TicksToMicroseconds(double(plugin_.TakePaintTicks()));
            totals.push_back(total);
            players.push_back(player);
            libraries.push_back(total - player);

            const TStopwatch pixel_work;
            PixelWork(r);
            pixels.push_back(pixel_work.Microseconds());
            ratios.push_back(libraries.back() / pixels.back());
            if (round % 64 == 63)
                Take(plugin_.TakeLog);
        }
        Take(plugin_.TakeLog);
        std::printf("%4dx%-4d  %-11s  %-5s  %10.1f  %10.1f  %10.1f  %10.1f  %6.2f  %6.1f\n",
                    driver_->Width(), driver_->Height(), Mode, Case.Dirty, Median(totals),
                    Median(players), Median(libraries), Median(pixels), Median(ratios),
                    double(allocations) / Case.Rounds);
    }

private:
    void Erase(zn::TObject*, const zn::TRect& R)
    {
        zn::FillLongwordRect(driver_->BufferBits(), driver_->Width(), driver_->Height(), R.Left,
                             R.Top, R.Right, R.Bottom, driver_->Background());
    }

    void Painted(zn::TObject*, const zn::TRect& R)
    {
        painted_ ^= driver_->BufferBits()[R.Top * driver_->Width() + R.Left];
    }

    // What the library cannot avoid for the rectangle: the owner's fill in opaque mode; both
    // fills and the alpha pass in transparent mode.
    void PixelWork(const zn::TRect& R)
    {
        const int w = driver_->Width(), h = driver_->Height();
        zn::FillLongwordRect(black_.Bits(), w, h, R.Left, R.Top, R.Right, R.Bottom, 0xFF000000u);
        if ((driver_->Background() >> 24) != 0)
            return;
        zn::FillLongwordRect(white_.Bits(), w, h, R.Left, R.Top, R.Right, R.Bottom, 0xFFFFFFFFu);
        zn::RecoverAlpha(black_.Bits(), white_.Bits(), w, h, {R.Left, R.Top, R.Right, R.Bottom});
    }

    const TPlugin& plugin_;
    std::unique_ptr<zn::TznFlashDriverNS> driver_;
    TPixels black_, white_;
    std::uint32_t painted_ = 0;
};

void RunSize(const TPlugin& Plugin, int Width, int Height, int FullRounds, HDC* KeepDC,
             std::unique_ptr<TRepaintBench>* Keep)
{
    const int left = Width / 3, top = Height / 3;
    const TCase cases[] = {{"full", {0, 0, Width, Height}, FullRounds},
                           {"64x64", {left, top, left + 64, top + 64}, 3000}};
    for (const std::uint32_t background : {kTransparent, kOpaque}) {
        auto bench = std::make_unique<TRepaintBench>(Plugin, Width, Height, background);
        for (const TCase& c : cases)
            bench->Run(background == kTransparent ? "transparent" : "opaque", c);
        if (KeepDC && background == kTransparent) {
            *KeepDC = bench->Driver().BufferDC();
            *Keep = std::move(bench);
        }
    }
}

} // namespace

int main()
{
    try {
        const TPlugin plugin = LoadedPlugin();
        Take(plugin.TakeViolations);
        std::printf("repaint through the plug-in driver, reference plug-in, %s kernels; "
                    "microseconds, medians\n",
                    zn::ActivePixelKernels().Name);
        std::printf("%-9s  %-11s  %-5s  %10s  %10s  %10s  %10s  %6s  %6s\n", "size", "mode",
                    "dirty", "repaint", "player", "library", "pixel work", "ratio", "allocs");
        HDC frame = nullptr;
        std::unique_ptr<TRepaintBench> frame_owner;
        RunSize(plugin, 1920, 1080, 100, &frame, &frame_owner);
        RunSize(plugin, 640, 480, 300, nullptr, nullptr);

        const zn::bench::THandoffFigures handoff =
            zn::bench::MeasureScreenHandoff(frame, 1920, 1080, 100);
        std::printf("1920x1080 frame to the screen: UpdateLayeredWindow %.1f, BitBlt %.1f\n",
                    handoff.LayeredMicroseconds, handoff.BlitMicroseconds);
        frame_owner.reset();

        const std::string violations = Take(plugin.TakeViolations);
        std::printf("contract violations the plug-in found: %s\n",
                    violations.empty() ? "none" : violations.c_str());
        return violations.empty() ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "repaint_bench: %s\n", error.what());
        return 2;
    }
}

// One run of zinplay: a driver for the movie, the application's answers to the movie's calls,
// the picture the driver's paint events build up, and the frames written as PNG files.
#pragma once

#include "play_options.h"
#include "png_writer.h"

#include "zintara/core/flash_driver.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zn::zinplay {

class TPlaySession {
public:
    // The background of opaque mode, as a form would have it.
    static constexpr std::uint32_t OpaqueBackground = 0xFFFFFFFFu;
    // How long a movie may take to arrive before it counts as unreadable.
    static constexpr unsigned LoadTimeout = 3000;

    // MoviePath is a full path of an existing file. Throws Exception when no Flash Player is
    // installed or the PNG folder cannot be made.
    TPlaySession(const TPlayOptions& Options, std::wstring MoviePath);
    ~TPlaySession();

    // Loads the movie and plays Options.Frames pictures, printing what passes between the movie
    // and zinplay. Throws Exception when the player cannot read the movie or a PNG cannot be
    // written.
    void Run();

private:
    void Paint(TObject* ASender, const TRect& ARect);
    void EraseBackground(TObject* ASender, const TRect& ARect);
    void FSCommand(TObject* ASender, const std::wstring& command, const std::wstring& args);
    void FlashCall(TObject* ASender, const std::wstring& request);

    void CallMovie(const std::wstring& Function, const std::vector<std::wstring>& Arguments);
    void ShowPicture(int Picture, int MovieFrame);

    TPlayOptions FOptions;
    std::wstring FMoviePath;
    std::unique_ptr<TznFlashDriver> FDriver;
    std::optional<TPngWriter> FPngWriter;
    // What the paint events showed: each rectangle OnPaint reports is copied from the buffer,
    // the way a control copies it to the screen.
    std::vector<std::uint32_t> FPicture;
    int FPaintedRects = 0;
    bool FGreeted = false;
};

} // namespace zn::zinplay

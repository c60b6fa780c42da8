// A driver on the reference plug-in with a movie beside the executable, and the events it
// raised, for the end-to-end tests.
#pragma once

#include "reference_plugin.h"
#include "support/driver_events.h"

#include "zintara/zn_driver_netscape.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zn::test {

// Written beside the executable once per process: the sample movie (320 x 240, semi-transparent
// content) under two names, one with a blank.
std::vector<std::uint8_t> SampleMovieBytes();
void WriteSampleMovies();
inline const std::wstring SampleMovieName = L"sample.swf";
inline const std::wstring SpacedMovieName = L"sample movie.swf";

class DriverTest : public ::testing::Test, protected TDriverEvents {
protected:
    void SetUp() override;
    // Frees the driver, ends the hostile mode, and checks that the plug-in found no violation
    // of its contract and has no instance left.
    void TearDown() override;

    // A driver of the sample's size, the log cleared after it was created.
    void CreateDriver(std::uint32_t Background, int Width = 320, int Height = 240);
    // CreateDriver, then the sample movie loaded and stopped; the log and the events cleared.
    void CreateDriverWithStoppedMovie(std::uint32_t Background);
    void* Npp() { return Driver->Instance(); }
    std::uint32_t Pixel(int X, int Y) const
    {
        return Driver->BufferBits()[Y * Driver->Width() + X];
    }

    std::unique_ptr<TznFlashDriverNS> Driver;
};

} // namespace zn::test

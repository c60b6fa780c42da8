// Writing the driver's pixels as PNG files through the platform's imaging library (WIC).
#pragma once

#include <wincodec.h>
#include <wrl/client.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zn::zinplay {

class TPngWriter {
public:
    // Needs COM initialised on the thread; throws Exception when WIC cannot be created.
    TPngWriter();

    // Writes a Width x Height image of premultiplied BGRA pixels (rows of exactly Width) to Path
    // as a 32-bit PNG with straight alpha, replacing any file there. Throws Exception naming
    // Path when any step fails.
    void Write(const std::wstring& Path, const std::uint32_t* Pixels, int Width, int Height);

private:
    Microsoft::WRL::ComPtr<IWICImagingFactory> FFactory;
    std::vector<std::uint32_t> FStraight;
};

} // namespace zn::zinplay

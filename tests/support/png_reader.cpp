// WIC's decoder, with a format converter to 32-bit straight BGRA whatever the file holds.
#include "png_reader.h"

#include <wincodec.h>
#include <wrl/client.h>

namespace zn::test {

using Microsoft::WRL::ComPtr;

TStraightImage ReadPng(const std::wstring& Path)
{
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&factory))) ||
        FAILED(factory->CreateDecoderFromFilename(Path.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) ||
        FAILED(factory->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA,
                                     WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&width, &height)))
        return {};
    TStraightImage image{static_cast<int>(width), static_cast<int>(height),
                         std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
    if (FAILED(converter->CopyPixels(nullptr, width * 4, width * height * 4,
                                     reinterpret_cast<BYTE*>(image.Pixels.data()))))
        return {};
    return image;
}

} // namespace zn::test

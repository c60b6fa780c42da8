// TPngWriter: WIC's PNG encoder fed with straight-alpha BGRA rows.
//
// WIC's PNG encoder is given 32bppBGRA, not 32bppPBGRA: not every implementation converts from
// premultiplied pixels, and a PNG stores straight alpha anyway, so the division happens here.
#include "png_writer.h"

#include "straight_alpha.h"
#include "zintara/framework/exceptions.h"

#include <cstdio>

namespace zn::zinplay {

using Microsoft::WRL::ComPtr;

namespace {

std::wstring Hex(HRESULT Result)
{
    wchar_t text[16];
    std::swprintf(text, std::size(text), L"0x%08lX", static_cast<unsigned long>(Result));
    return text;
}

void Check(HRESULT Result, const wchar_t* Step, const std::wstring& Path)
{
    if (FAILED(Result))
        throw Exception(L"cannot write " + Path + L": " + Step + L" failed (" + Hex(Result) + L")");
}

} // namespace

TPngWriter::TPngWriter()
{
    const HRESULT result = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_PPV_ARGS(&FFactory));
    if (FAILED(result))
        throw Exception(L"the imaging library (WIC) is not available (" + Hex(result) + L")");
}

void TPngWriter::Write(const std::wstring& Path, const std::uint32_t* Pixels, int Width, int Height)
{
    const std::size_t count = static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height);
    FStraight.resize(count);
    ToStraightAlpha(Pixels, FStraight.data(), count);

    ComPtr<IWICStream> stream;
    Check(FFactory->CreateStream(&stream), L"creating the stream", Path);
    Check(stream->InitializeFromFilename(Path.c_str(), GENERIC_WRITE), L"opening the file", Path);
    ComPtr<IWICBitmapEncoder> encoder;
    Check(FFactory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder),
          L"creating the PNG encoder", Path);
    Check(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache), L"starting the encoder",
          Path);
    ComPtr<IWICBitmapFrameEncode> frame;
    Check(encoder->CreateNewFrame(&frame, nullptr), L"creating the frame", Path);
    Check(frame->Initialize(nullptr), L"starting the frame", Path);
    Check(frame->SetSize(static_cast<UINT>(Width), static_cast<UINT>(Height)), L"sizing the frame",
          Path);
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    Check(frame->SetPixelFormat(&format), L"choosing the pixel format", Path);
    if (format != GUID_WICPixelFormat32bppBGRA)
        throw Exception(L"cannot write " + Path + L": the PNG encoder refuses 32-bit BGRA");
    const UINT stride = static_cast<UINT>(Width) * 4;
    Check(frame->WritePixels(static_cast<UINT>(Height), stride, stride * static_cast<UINT>(Height),
                             reinterpret_cast<BYTE*>(FStraight.data())),
          L"writing the pixels", Path);
    Check(frame->Commit(), L"finishing the frame", Path);
    Check(encoder->Commit(), L"finishing the file", Path);
}

} // namespace zn::zinplay

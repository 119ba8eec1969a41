#include "graphics/d3d11/texture.h"

#include <wincodec.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "core/win32/fatal-error.h"
#include "graphics/d3d11/renderer.h"
#include "graphics/texture-formats.h"

using Microsoft::WRL::ComPtr;

namespace {

struct NamedFormat {
    PixelFormat format;
    const GUID* guid;
};

// WIC's GUID of each pixel format the tables name.
const NamedFormat kFormats[] = {
    {PixelFormat::RGBA128Float, &GUID_WICPixelFormat128bppRGBAFloat},
    {PixelFormat::RGBA64Half, &GUID_WICPixelFormat64bppRGBAHalf},
    {PixelFormat::RGBA64, &GUID_WICPixelFormat64bppRGBA},
    {PixelFormat::RGBA32, &GUID_WICPixelFormat32bppRGBA},
    {PixelFormat::BGRA32, &GUID_WICPixelFormat32bppBGRA},
    {PixelFormat::BGR32, &GUID_WICPixelFormat32bppBGR},
    {PixelFormat::RGBA1010102XR32, &GUID_WICPixelFormat32bppRGBA1010102XR},
    {PixelFormat::RGBA1010102_32, &GUID_WICPixelFormat32bppRGBA1010102},
    {PixelFormat::RGBE32, &GUID_WICPixelFormat32bppRGBE},
    {PixelFormat::Gray32Float, &GUID_WICPixelFormat32bppGrayFloat},
    {PixelFormat::Gray16Half, &GUID_WICPixelFormat16bppGrayHalf},
    {PixelFormat::Gray16, &GUID_WICPixelFormat16bppGray},
    {PixelFormat::Gray8, &GUID_WICPixelFormat8bppGray},
    {PixelFormat::Alpha8, &GUID_WICPixelFormat8bppAlpha},
    {PixelFormat::RGB96Float, &GUID_WICPixelFormat96bppRGBFloat},
    {PixelFormat::BlackWhite, &GUID_WICPixelFormatBlackWhite},
    {PixelFormat::Gray2, &GUID_WICPixelFormat2bppGray},
    {PixelFormat::Gray4, &GUID_WICPixelFormat4bppGray},
    {PixelFormat::Gray16Fixed, &GUID_WICPixelFormat16bppGrayFixedPoint},
    {PixelFormat::Gray32Fixed, &GUID_WICPixelFormat32bppGrayFixedPoint},
    {PixelFormat::BGR101010_32, &GUID_WICPixelFormat32bppBGR101010},
    {PixelFormat::Indexed1, &GUID_WICPixelFormat1bppIndexed},
    {PixelFormat::Indexed2, &GUID_WICPixelFormat2bppIndexed},
    {PixelFormat::Indexed4, &GUID_WICPixelFormat4bppIndexed},
    {PixelFormat::Indexed8, &GUID_WICPixelFormat8bppIndexed},
    {PixelFormat::BGR555_16, &GUID_WICPixelFormat16bppBGR555},
    {PixelFormat::BGR565_16, &GUID_WICPixelFormat16bppBGR565},
    {PixelFormat::BGRA5551_16, &GUID_WICPixelFormat16bppBGRA5551},
    {PixelFormat::BGR24, &GUID_WICPixelFormat24bppBGR},
    {PixelFormat::RGB24, &GUID_WICPixelFormat24bppRGB},
    {PixelFormat::PBGRA32, &GUID_WICPixelFormat32bppPBGRA},
    {PixelFormat::PRGBA32, &GUID_WICPixelFormat32bppPRGBA},
    {PixelFormat::RGB32, &GUID_WICPixelFormat32bppRGB},
    {PixelFormat::CMYK32, &GUID_WICPixelFormat32bppCMYK},
    {PixelFormat::RGB48, &GUID_WICPixelFormat48bppRGB},
    {PixelFormat::BGR48, &GUID_WICPixelFormat48bppBGR},
    {PixelFormat::RGBA64Integer, &GUID_WICPixelFormat64bppRGBA},
    {PixelFormat::PRGBA64, &GUID_WICPixelFormat64bppPRGBA},
    {PixelFormat::BGRA64, &GUID_WICPixelFormat64bppBGRA},
    {PixelFormat::CMYK64, &GUID_WICPixelFormat64bppCMYK},
    {PixelFormat::CMYKAlpha40, &GUID_WICPixelFormat40bppCMYKAlpha},
    {PixelFormat::CMYKAlpha80, &GUID_WICPixelFormat80bppCMYKAlpha},
    {PixelFormat::RGB48Fixed, &GUID_WICPixelFormat48bppRGBFixedPoint},
    {PixelFormat::RGBA64Fixed, &GUID_WICPixelFormat64bppRGBAFixedPoint},
    {PixelFormat::RGB64Fixed, &GUID_WICPixelFormat64bppRGBFixedPoint},
    {PixelFormat::RGB48Half, &GUID_WICPixelFormat48bppRGBHalf},
    {PixelFormat::RGB64Half, &GUID_WICPixelFormat64bppRGBHalf},
    {PixelFormat::RGB96Fixed, &GUID_WICPixelFormat96bppRGBFixedPoint},
    {PixelFormat::RGBA128Fixed, &GUID_WICPixelFormat128bppRGBAFixedPoint},
    {PixelFormat::RGB128Fixed, &GUID_WICPixelFormat128bppRGBFixedPoint},
    {PixelFormat::RGB128Float, &GUID_WICPixelFormat128bppRGBFloat},
};

bool formatOf(const GUID& guid, PixelFormat& format) {
    for (const NamedFormat& f : kFormats)
        if (IsEqualGUID(*f.guid, guid)) {
            format = f.format;
            return true;
        }
    return false;
}

} // namespace

namespace {

// The image's first frame as rows of 8-bit RGBA; false, with the reason, when it cannot be
// read (no such file, not an image, a pixel format the loader does not know, too large).
bool decodeImage(const wchar_t* fileName, std::vector<BYTE>& pixels, UINT& width, UINT& height,
                 std::string& why) {
    auto failed = [&](HRESULT hr, const char* step) {
        if (SUCCEEDED(hr)) return false;
        char text[160];
        std::snprintf(text, sizeof text, "%s (0x%08lX)", step, static_cast<unsigned long>(hr));
        why = text;
        return true;
    };
    ComPtr<IWICImagingFactory> factory;
    if (failed(CoCreateInstance(CLSID_WICImagingFactory2, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&factory)),
               "no imaging component"))
        return false;
    ComPtr<IWICBitmapDecoder> decoder;
    if (failed(factory->CreateDecoderFromFilename(fileName, nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, &decoder),
               "not a picture the decoder reads"))
        return false;
    ComPtr<IWICBitmapFrameDecode> frame;
    WICPixelFormatGUID source;
    if (failed(decoder->GetFrame(0, &frame), "no first frame") ||
        failed(frame->GetPixelFormat(&source), "no pixel format") ||
        failed(frame->GetSize(&width, &height), "no size"))
        return false;
    PixelFormat format;
    if (!formatOf(source, format)) {
        why = "the image's pixel format is not one the loader knows";
        return false;
    }
    const std::optional<PixelFormat> target = uploadFormat(format);
    if (!target || directDxgiFormat(*target) == kDxgiUnknown) {
        why = "the image's pixel format cannot be converted";
        return false;
    }
    const UINT pitch = (width * 32 + 7) / 8;
    const size_t size = static_cast<size_t>(pitch) * height;
    if (size == 0 || size > UINT32_MAX) {
        why = "the image is empty or too large";
        return false;
    }
    // The texture is always 8-bit RGBA, four bytes a pixel: every other format goes through
    // WIC's converter, those taken as they are included.
    pixels.resize(size);
    if (format == PixelFormat::RGBA32)
        return !failed(frame->CopyPixels(nullptr, pitch, static_cast<UINT>(size), pixels.data()),
                       "the pixels cannot be read");
    ComPtr<IWICFormatConverter> converter;
    return !failed(factory->CreateFormatConverter(&converter), "no format converter") &&
           !failed(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppRGBA,
                                         WICBitmapDitherTypeErrorDiffusion, nullptr, 0,
                                         WICBitmapPaletteTypeCustom),
                   "the pixels cannot be converted") &&
           !failed(converter->CopyPixels(nullptr, pitch, static_cast<UINT>(size), pixels.data()),
                   "the pixels cannot be read");
}

} // namespace

LoadedTexture loadTexture(Renderer& renderer, const wchar_t* fileName) {
    std::string why;
    std::optional<LoadedTexture> texture = tryLoadTexture(renderer, fileName, why);
    if (!texture) {
        char what[400];
        std::snprintf(what, sizeof what, "decoding the image %ls: %s", fileName, why.c_str());
        fatalError("error", what);
    }
    return std::move(*texture);
}

std::optional<LoadedTexture> tryLoadTexture(Renderer& renderer, const wchar_t* fileName,
                                            std::string& why, UINT* width, UINT* height) {
    std::vector<BYTE> pixels;
    UINT w = 0, h = 0;
    if (!decodeImage(fileName, pixels, w, h, why)) return std::nullopt;
    if (width) *width = w;
    if (height) *height = h;
    return createTexture(renderer.device(), w, h, pixels.data(), false, DXGI_FORMAT_R8G8B8A8_UNORM);
}

LoadedTexture createTexture(ID3D11Device* device, UINT width, UINT height, const void* pixels,
                            bool dynamic, DXGI_FORMAT format) {
    D3D11_TEXTURE2D_DESC desc = {};
    desc.Width = width;
    desc.Height = height;
    desc.MipLevels = 1;
    desc.ArraySize = 1;
    desc.Format = format;
    desc.SampleDesc = {1, 0};
    desc.Usage = dynamic ? D3D11_USAGE_DYNAMIC : D3D11_USAGE_DEFAULT;
    desc.BindFlags = D3D11_BIND_SHADER_RESOURCE;
    desc.CPUAccessFlags = dynamic ? D3D11_CPU_ACCESS_WRITE : 0;
    D3D11_SUBRESOURCE_DATA init = {pixels, width * 4, 0};
    LoadedTexture result;
    char what[96];
    std::snprintf(what, sizeof what, "texture of %u x %u", width, height);
    checkSetup(device->CreateTexture2D(&desc, pixels ? &init : nullptr, &result.texture), "error",
               what);
    D3D11_SHADER_RESOURCE_VIEW_DESC view = {};
    view.Format = format;
    view.ViewDimension = D3D11_SRV_DIMENSION_TEXTURE2D;
    view.Texture2D.MostDetailedMip = 0;
    view.Texture2D.MipLevels = 1;
    const HRESULT hr = device->CreateShaderResourceView(result.texture.Get(), &view, &result.view);
    if (FAILED(hr)) {
        result.texture.Reset();
        fatalError("error", "shader-resource view of a texture", hr);
    }
    return result;
}

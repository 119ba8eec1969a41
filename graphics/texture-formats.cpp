#include "graphics/texture-formats.h"

#include <iterator>

namespace {

struct Direct {
    PixelFormat format;
    DxgiFormat dxgi;
};

const Direct kDirect[] = {
    {PixelFormat::RGBA128Float, kDxgiR32G32B32A32Float},
    {PixelFormat::RGBA64Half, kDxgiR16G16B16A16Float},
    {PixelFormat::RGBA64, kDxgiR16G16B16A16Unorm},
    {PixelFormat::RGBA32, kDxgiR8G8B8A8Unorm},
    {PixelFormat::BGRA32, kDxgiB8G8R8A8Unorm},
    {PixelFormat::BGR32, kDxgiB8G8R8X8Unorm},
    {PixelFormat::RGBA1010102XR32, kDxgiR10G10B10XrBiasA2Unorm},
    {PixelFormat::RGBA1010102_32, kDxgiR10G10B10A2Unorm},
    {PixelFormat::RGBE32, kDxgiR9G9B9E5SharedExp},
    {PixelFormat::Gray32Float, kDxgiR32Float},
    {PixelFormat::Gray16Half, kDxgiR16Float},
    {PixelFormat::Gray16, kDxgiR16Unorm},
    {PixelFormat::Gray8, kDxgiR8Unorm},
    {PixelFormat::Alpha8, kDxgiA8Unorm},
    {PixelFormat::RGB96Float, kDxgiR32G32B32Float},
};

struct Conversion {
    PixelFormat from, to;
};

const Conversion kConversions[] = {
    {PixelFormat::BlackWhite, PixelFormat::Gray8},
    {PixelFormat::Gray2, PixelFormat::Gray8},
    {PixelFormat::Gray4, PixelFormat::Gray8},
    {PixelFormat::Gray16Fixed, PixelFormat::Gray16Half},
    {PixelFormat::Gray32Fixed, PixelFormat::Gray32Float},
    {PixelFormat::BGR101010_32, PixelFormat::RGBA1010102_32},
    {PixelFormat::Indexed1, PixelFormat::RGBA32},
    {PixelFormat::Indexed2, PixelFormat::RGBA32},
    {PixelFormat::Indexed4, PixelFormat::RGBA32},
    {PixelFormat::Indexed8, PixelFormat::RGBA32},
    {PixelFormat::BGR555_16, PixelFormat::RGBA32},
    {PixelFormat::BGR565_16, PixelFormat::RGBA32},
    {PixelFormat::BGRA5551_16, PixelFormat::RGBA32},
    {PixelFormat::BGR24, PixelFormat::RGBA32},
    {PixelFormat::RGB24, PixelFormat::RGBA32},
    {PixelFormat::PBGRA32, PixelFormat::RGBA32},
    {PixelFormat::PRGBA32, PixelFormat::RGBA32},
    {PixelFormat::RGB32, PixelFormat::RGBA32},
    {PixelFormat::CMYK32, PixelFormat::RGBA32},
    {PixelFormat::RGB48, PixelFormat::RGBA64},
    {PixelFormat::BGR48, PixelFormat::RGBA64},
    {PixelFormat::RGBA64Integer, PixelFormat::RGBA64},
    {PixelFormat::PRGBA64, PixelFormat::RGBA64},
    {PixelFormat::BGRA64, PixelFormat::RGBA64},
    {PixelFormat::CMYK64, PixelFormat::RGBA64},
    {PixelFormat::CMYKAlpha40, PixelFormat::RGBA64},
    {PixelFormat::CMYKAlpha80, PixelFormat::RGBA64},
    {PixelFormat::RGB48Fixed, PixelFormat::RGBA64Half},
    {PixelFormat::RGBA64Fixed, PixelFormat::RGBA64Half},
    {PixelFormat::RGB64Fixed, PixelFormat::RGBA64Half},
    {PixelFormat::RGB48Half, PixelFormat::RGBA64Half},
    {PixelFormat::RGB64Half, PixelFormat::RGBA64Half},
    {PixelFormat::RGB96Fixed, PixelFormat::RGBA128Float},
    {PixelFormat::RGBA128Fixed, PixelFormat::RGBA128Float},
    {PixelFormat::RGB128Fixed, PixelFormat::RGBA128Float},
    {PixelFormat::RGB128Float, PixelFormat::RGBA128Float},
};

} // namespace

DxgiFormat directDxgiFormat(PixelFormat format) {
    for (const Direct& d : kDirect)
        if (d.format == format) return d.dxgi;
    return kDxgiUnknown;
}

std::optional<PixelFormat> uploadFormat(PixelFormat format) {
    if (directDxgiFormat(format) != kDxgiUnknown) return format;
    for (const Conversion& c : kConversions)
        if (c.from == format) return c.to;
    return std::nullopt;
}

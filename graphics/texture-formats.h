// Which image pixel formats the texture loader takes as they are, and which it converts
// first (and to what). Formats are named here; the loader maps them to WIC's GUIDs.
#pragma once

#include <cstdint>
#include <optional>

enum class PixelFormat {
    // Taken as they are.
    RGBA128Float,
    RGBA64Half,
    RGBA64,
    RGBA32,
    BGRA32,
    BGR32,
    RGBA1010102XR32,
    RGBA1010102_32,
    RGBE32,
    Gray32Float,
    Gray16Half,
    Gray16,
    Gray8,
    Alpha8,
    RGB96Float,
    // Converted first.
    BlackWhite,
    Gray2,
    Gray4,
    Gray16Fixed,
    Gray32Fixed,
    BGR101010_32,
    Indexed1,
    Indexed2,
    Indexed4,
    Indexed8,
    BGR555_16,
    BGR565_16,
    BGRA5551_16,
    BGR24,
    RGB24,
    PBGRA32,
    PRGBA32,
    RGB32,
    CMYK32,
    RGB48,
    BGR48,
    RGBA64Integer,
    PRGBA64,
    BGRA64,
    CMYK64,
    CMYKAlpha40,
    CMYKAlpha80,
    RGB48Fixed,
    RGBA64Fixed,
    RGB64Fixed,
    RGB48Half,
    RGB64Half,
    RGB96Fixed,
    RGBA128Fixed,
    RGB128Fixed,
    RGB128Float,
    Count
};

// DXGI_FORMAT numbers (the loader's own copy, so the tables need no Windows headers).
enum DxgiFormat : uint32_t {
    kDxgiUnknown = 0,
    kDxgiR32G32B32A32Float = 2,
    kDxgiR32G32B32Float = 6,
    kDxgiR16G16B16A16Float = 10,
    kDxgiR16G16B16A16Unorm = 11,
    kDxgiR10G10B10A2Unorm = 24,
    kDxgiR8G8B8A8Unorm = 28,
    kDxgiR8G8Unorm = 49,
    kDxgiR32Float = 41,
    kDxgiR16Float = 54,
    kDxgiR16Unorm = 56,
    kDxgiR8Unorm = 61,
    kDxgiA8Unorm = 65,
    kDxgiR9G9B9E5SharedExp = 67,
    kDxgiB8G8R8A8Unorm = 87,
    kDxgiB8G8R8X8Unorm = 88,
    kDxgiR10G10B10XrBiasA2Unorm = 89,
};

// The DXGI format of a format taken as it is; unknown for the others.
DxgiFormat directDxgiFormat(PixelFormat format);
// The format a pixel format is brought to before upload: itself when it is taken as it is,
// its conversion target otherwise; nothing for a format the loader does not know.
std::optional<PixelFormat> uploadFormat(PixelFormat format);

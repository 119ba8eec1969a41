#include "ui/win32/greyed-images.h"

#include <cstdint>

namespace {

// Where a picture shows nothing: a colour no button picture uses.
constexpr COLORREF kClear = RGB(255, 0, 255);
constexpr uint32_t kClearPixel = 0x00FF00FF; // kClear as a DIB's BGRA pixel
constexpr uint32_t kOpaque = 0xFF000000;
// The darkest grey a picture keeps: black lines become mid grey, as disabled pictures look.
constexpr uint32_t kDarkestGrey = 128;
// Luminance weights (ITU-R BT.601) in thousandths.
constexpr uint32_t kRedWeight = 299, kGreenWeight = 587, kBlueWeight = 114, kWeights = 1000;
constexpr uint32_t kFull = 255;

uint32_t greyed(uint32_t pixel) {
    const uint32_t red = (pixel >> 16) & kFull, green = (pixel >> 8) & kFull, blue = pixel & kFull;
    const uint32_t light =
        (red * kRedWeight + green * kGreenWeight + blue * kBlueWeight) / kWeights;
    const uint32_t grey = kDarkestGrey + light * (kFull - kDarkestGrey) / kFull;
    return kOpaque | grey << 16 | grey << 8 | grey;
}

} // namespace

HIMAGELIST createGreyedImageList(HIMAGELIST pictures) {
    int width = 0, height = 0;
    if (!ImageList_GetIconSize(pictures, &width, &height) || width <= 0 || height <= 0)
        return nullptr;
    const int count = ImageList_GetImageCount(pictures);
    HIMAGELIST greyedList = ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, count, 0);
    if (!greyedList) return nullptr;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP canvas = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!canvas) {
        DeleteDC(dc);
        ImageList_Destroy(greyedList);
        return nullptr;
    }
    auto* pixels = static_cast<uint32_t*>(bits);
    const size_t pixelCount = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (int image = 0; image < count; ++image) {
        HGDIOBJ previous = SelectObject(dc, canvas);
        for (size_t at = 0; at < pixelCount; ++at)
            pixels[at] = kClearPixel;
        ImageList_Draw(pictures, image, dc, 0, 0, ILD_NORMAL);
        GdiFlush();
        for (size_t at = 0; at < pixelCount; ++at)
            pixels[at] = (pixels[at] & ~kOpaque) == kClearPixel ? kClearPixel : greyed(pixels[at]);
        SelectObject(dc, previous); // the list copies the bitmap through a DC of its own
        ImageList_AddMasked(greyedList, canvas, kClear);
    }
    DeleteObject(canvas);
    DeleteDC(dc);
    return greyedList;
}

#include "view/reference-picture.h"

#include <algorithm>
#include <cmath>

#include "core/settings-file.h"

namespace {

constexpr const char* kSection = "Reference";
constexpr float kMinOpacity = 0.05f, kStep = 0.1f;
constexpr float kMinWidth = 1e-3f, kMaxWidth = 1e6f, kMaxCentre = 1e9f;

float clampFinite(float value, float low, float high, float fallback) {
    return std::isfinite(value) ? std::clamp(value, low, high) : fallback;
}

// The view's screen axes in the world: a row-vector view matrix holds them in its columns.
vm::Vec4 screenAxis(const vm::Mat4& view, int axis) {
    return {view[0][axis], view[1][axis], view[2][axis], 0};
}

} // namespace

void ReferencePicture::readSession(const SettingsFile& settings) {
    file = settings.readString(kSection, "File", "", 520);
    const int v = settings.readInt(kSection, "View", 0);
    view = v == 1 ? View::Side : v == 2 ? View::Top : View::Front;
    centreX = clampFinite(settings.readFloat(kSection, "X"), -kMaxCentre, kMaxCentre, 0);
    centreY = clampFinite(settings.readFloat(kSection, "Y"), -kMaxCentre, kMaxCentre, 0);
    const std::string w = settings.readString(kSection, "Width", "", 64);
    width =
        w.empty() ? 2 : clampFinite(settings.readFloat(kSection, "Width"), kMinWidth, kMaxWidth, 2);
    const std::string o = settings.readString(kSection, "Opacity", "", 64);
    opacity = o.empty()
                  ? 0.5f
                  : clampFinite(settings.readFloat(kSection, "Opacity"), kMinOpacity, 1, 0.5f);
}

void ReferencePicture::writeSession(const SettingsFile& settings) const {
    settings.writeString(kSection, "File", file);
    settings.writeInt(kSection, "View", static_cast<int>(view));
    settings.writeFloat(kSection, "X", centreX);
    settings.writeFloat(kSection, "Y", centreY);
    settings.writeFloat(kSection, "Width", width);
    settings.writeFloat(kSection, "Opacity", opacity);
}

void ReferencePicture::shiftBy(int right, int up) {
    centreX =
        std::clamp(centreX + kStep * width * static_cast<float>(right), -kMaxCentre, kMaxCentre);
    centreY = std::clamp(centreY + kStep * width * static_cast<float>(up), -kMaxCentre, kMaxCentre);
}

void ReferencePicture::scaleBy(int steps) {
    width =
        std::clamp(width * std::pow(1 + kStep, static_cast<float>(steps)), kMinWidth, kMaxWidth);
}

void ReferencePicture::fadeBy(int steps) {
    opacity = std::clamp(opacity - kStep * static_cast<float>(steps), kMinOpacity, 1.0f);
}

std::optional<ReferencePicture::View> axisViewOf(const vm::Mat4& view) {
    // The view looks along −(its z axis).
    const vm::Vec4 back = screenAxis(view, 2);
    constexpr float kAligned = 0.9999f;
    if (back.z < -kAligned) return ReferencePicture::View::Front; // looking along +z
    if (back.x < -kAligned) return ReferencePicture::View::Side;  // along +x
    if (back.y > kAligned) return ReferencePicture::View::Top;    // along −y
    return std::nullopt;
}

std::array<PictureCorner, 6> pictureQuad(const ReferencePicture& picture, const vm::Mat4& view,
                                         float imageAspect) {
    const vm::Vec4 right = screenAxis(view, 0), up = screenAxis(view, 1);
    const float halfW = picture.width / 2;
    const float halfH = halfW / (imageAspect > 0 ? imageAspect : 1);
    const vm::Vec4 centre = right * picture.centreX + up * picture.centreY;
    auto corner = [&](float sx, float sy) {
        const vm::Vec4 p = centre + right * (sx * halfW) + up * (sy * halfH);
        return PictureCorner{p.x, p.y, p.z, (sx + 1) / 2, (1 - sy) / 2};
    };
    const PictureCorner a = corner(-1, 1), b = corner(1, 1), c = corner(1, -1), d = corner(-1, -1);
    return {a, b, c, a, c, d};
}

#include "ui/win32/reference-view.h"

#include <cstring>
#include <string>

#include "graphics/d3d11/debug-name.h"
#include "graphics/d3d11/renderer.h"
#include "ui/win32/document-commands.h"
#include "ui/win32/records.h"
#include "ui/win32/status-bar.h"
#include "ui/win32/window-layout.h"

namespace {

std::wstring widen(const std::string& path) {
    // The settings file and the dialogs speak the ANSI code page.
    const int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? static_cast<size_t>(n) : 1, L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), n);
    wide.resize(wide.size() - 1);
    return wide;
}

void sayAboutPicture(const std::string& text) {
    OutputDebugStringA(("Tavrel reference picture: " + text + "\n").c_str());
    setStatusText(StatusPart::Message, text);
}

// Decodes the picture and makes what drawing it needs; false (said) when it cannot be used.
bool showPicture(Application::Reference& reference) {
    Renderer& renderer = *application.renderer;
    std::string why;
    UINT width = 0, height = 0;
    std::optional<LoadedTexture> texture =
        tryLoadTexture(renderer, widen(reference.picture.file).c_str(), why, &width, &height);
    if (!texture) {
        sayAboutPicture("\"" + reference.picture.file + "\" cannot be shown: " + why);
        return false;
    }
    if (!reference.shader) {
        // The shader is part of the program: without it the picture is left out, the work
        // goes on.
        const wchar_t* const shader = L"graphics\\nuanceurs\\reference.shader";
        if (GetFileAttributesW(shader) == INVALID_FILE_ATTRIBUTES) {
            sayAboutPicture("graphics\\nuanceurs\\reference.shader is missing");
            return false;
        }
        reference.shader = renderer.compilePixelShader(shader);
    }
    reference.texture = std::move(*texture);
    reference.aspect = height > 0 ? static_cast<float>(width) / static_cast<float>(height) : 1;
    if (!reference.quad) {
        D3D11_BUFFER_DESC desc = {};
        desc.ByteWidth = sizeof(PictureCorner) * 6;
        desc.Usage = D3D11_USAGE_DYNAMIC;
        desc.BindFlags = D3D11_BIND_VERTEX_BUFFER;
        desc.CPUAccessFlags = D3D11_CPU_ACCESS_WRITE;
        if (FAILED(renderer.device()->CreateBuffer(&desc, nullptr, &reference.quad))) {
            sayAboutPicture("no buffer for the picture");
            return false;
        }
        setDebugName(reference.quad.Get(), "reference picture quad");
    }
    return true;
}

// The axis view the picture goes to: view 0's when it looks along an axis, else the front.
ReferencePicture::View currentAxisView() {
    if (isQuadLayout()) return ReferencePicture::View::Front;
    return axisViewOf(orbitCamera.viewMatrix()).value_or(ReferencePicture::View::Front);
}

void choosePicture() {
    std::string path = application.reference.picture.file;
    if (!documentPrompts().choosePicture || !documentPrompts().choosePicture(path)) return;
    Application::Reference& reference = application.reference;
    const ReferencePicture before = reference.picture;
    reference.picture.file = path;
    reference.picture.view = currentAxisView();
    if (before.empty()) {
        // A new picture fills most of the view's height, centred on the origin.
        reference.picture.centreX = reference.picture.centreY = 0;
        reference.picture.width = 1.6f * orbitCamera.orthographicHalfHeight();
    }
    if (!showPicture(reference)) {
        documentPrompts().tell("Tavrel cannot show the picture \"" + path + "\".");
        reference.picture = before;
        return;
    }
    reference.picture.writeSession(sessionSettings());
    sayAboutPicture("\"" + path + "\" behind the model");
}

void removePicture() {
    Application::Reference& reference = application.reference;
    if (reference.picture.empty()) return;
    reference.picture.file.clear();
    reference.texture = {};
    reference.picture.writeSession(sessionSettings());
    sayAboutPicture("removed");
}

} // namespace

void loadReferencePicture() {
    Application::Reference& reference = application.reference;
    reference.picture.readSession(sessionSettings());
    // Said once, then left out: the session keeps its name until the user chooses again.
    if (!reference.picture.empty() && !showPicture(reference)) reference.texture = {};
}

void drawReferencePicture(Renderer& renderer, const vm::Mat4& view, bool orthographic) {
    const Application::Reference& reference = application.reference;
    if (!orthographic || reference.picture.empty() || !reference.texture.view || !reference.quad)
        return;
    if (axisViewOf(view) != reference.picture.view) return;
    const std::array<PictureCorner, 6> quad =
        pictureQuad(reference.picture, view, reference.aspect);
    D3D11_MAPPED_SUBRESOURCE mapped;
    if (FAILED(
            renderer.context()->Map(reference.quad.Get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped)))
        return;
    std::memcpy(mapped.pData, quad.data(), sizeof quad);
    renderer.context()->Unmap(reference.quad.Get(), 0);
    renderer.setWorld(vm::identity());
    renderer.drawBehind(reference.quad.Get(), 6, reference.shader.Get(),
                        reference.texture.view.Get(), reference.picture.opacity);
}

void chooseReferencePicture() {
    choosePicture();
}

void removeReferencePicture() {
    removePicture();
}

bool hasReferencePicture() {
    return !application.reference.picture.empty();
}

void changeReferencePicture(PictureChange change) {
    ReferencePicture& picture = application.reference.picture;
    if (picture.empty()) return;
    switch (change) {
    case PictureChange::Left:
        picture.shiftBy(-1, 0);
        break;
    case PictureChange::Right:
        picture.shiftBy(1, 0);
        break;
    case PictureChange::Up:
        picture.shiftBy(0, 1);
        break;
    case PictureChange::Down:
        picture.shiftBy(0, -1);
        break;
    case PictureChange::Larger:
        picture.scaleBy(1);
        break;
    case PictureChange::Smaller:
        picture.scaleBy(-1);
        break;
    case PictureChange::MoreOpaque:
        picture.fadeBy(-1);
        break;
    case PictureChange::LessOpaque:
        picture.fadeBy(1);
        break;
    }
    picture.writeSession(sessionSettings());
}

void releaseReferencePicture() {
    application.reference.texture = {};
    application.reference.quad.Reset();
    application.reference.shader.Reset();
}

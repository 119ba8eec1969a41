#include "ui/win32/reference-view.h"

#include <cstring>
#include <string>

#include "editor/editor-state.h"
#include "graphics/d3d11/debug-name.h"
#include "graphics/d3d11/renderer.h"
#include "ui/win32/document-commands.h"
#include "ui/win32/session-settings.h"
#include "ui/win32/status-bar.h"
#include "view/orbit-camera.h"

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

} // namespace

// Decodes the picture and makes what drawing it needs; false (said) when it cannot be used.
bool ReferenceView::showPicture() {
    Renderer& renderer = *p_.renderer;
    std::string why;
    UINT width = 0, height = 0;
    std::optional<LoadedTexture> texture =
        tryLoadTexture(renderer, widen(picture_.file).c_str(), why, &width, &height);
    if (!texture) {
        sayAboutPicture("\"" + picture_.file + "\" cannot be shown: " + why);
        return false;
    }
    if (!shader_) {
        // The shader is part of the program: without it the picture is left out, the work
        // goes on.
        const wchar_t* const shader = L"graphics\\nuanceurs\\reference.shader";
        if (GetFileAttributesW(shader) == INVALID_FILE_ATTRIBUTES) {
            sayAboutPicture("graphics\\nuanceurs\\reference.shader is missing");
            return false;
        }
        shader_ = renderer.compilePixelShader(shader);
    }
    texture_ = std::move(*texture);
    aspect_ = height > 0 ? static_cast<float>(width) / static_cast<float>(height) : 1;
    if (!quad_) {
        D3D11_BUFFER_DESC desc = {};
        desc.ByteWidth = sizeof(PictureCorner) * 6;
        desc.Usage = D3D11_USAGE_DYNAMIC;
        desc.BindFlags = D3D11_BIND_VERTEX_BUFFER;
        desc.CPUAccessFlags = D3D11_CPU_ACCESS_WRITE;
        if (FAILED(renderer.device()->CreateBuffer(&desc, nullptr, &quad_))) {
            sayAboutPicture("no buffer for the picture");
            return false;
        }
        setDebugName(quad_.Get(), "reference picture quad");
    }
    return true;
}

// The axis view the picture goes to: view 0's when it looks along an axis, else the front.
ReferencePicture::View ReferenceView::currentAxisView() const {
    if (p_.editor.currentView == ViewMode::Quad) return ReferencePicture::View::Front;
    return axisViewOf(p_.camera.viewMatrix()).value_or(ReferencePicture::View::Front);
}

void ReferenceView::choosePicture() {
    std::string path = picture_.file;
    if (!documentPrompts().choosePicture || !documentPrompts().choosePicture(path)) return;
    const ReferencePicture before = picture_;
    picture_.file = path;
    picture_.view = currentAxisView();
    if (before.empty()) {
        // A new picture fills most of the view's height, centred on the origin.
        picture_.centreX = picture_.centreY = 0;
        picture_.width = 1.6f * p_.camera.orthographicHalfHeight();
    }
    if (!showPicture()) {
        documentPrompts().tell("Tavrel cannot show the picture \"" + path + "\".");
        picture_ = before;
        return;
    }
    picture_.writeSession(sessionSettings());
    sayAboutPicture("\"" + path + "\" behind the model");
}

void ReferenceView::removePicture() {
    if (picture_.empty()) return;
    picture_.file.clear();
    texture_ = {};
    picture_.writeSession(sessionSettings());
    sayAboutPicture("removed");
}

void ReferenceView::loadFromSession() {
    picture_.readSession(sessionSettings());
    // Said once, then left out: the session keeps its name until the user chooses again.
    if (!picture_.empty() && !showPicture()) texture_ = {};
}

void ReferenceView::drawBehindModel(Renderer& renderer, const vm::Mat4& view, bool orthographic) {
    if (!orthographic || picture_.empty() || !texture_.view || !quad_) return;
    if (axisViewOf(view) != picture_.view) return;
    const std::array<PictureCorner, 6> quad = pictureQuad(picture_, view, aspect_);
    D3D11_MAPPED_SUBRESOURCE mapped;
    if (FAILED(renderer.context()->Map(quad_.Get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped)))
        return;
    std::memcpy(mapped.pData, quad.data(), sizeof quad);
    renderer.context()->Unmap(quad_.Get(), 0);
    renderer.setWorld(vm::identity());
    renderer.drawBehind(quad_.Get(), 6, shader_.Get(), texture_.view.Get(), picture_.opacity);
}

void ReferenceView::changePicture(PictureChange change) {
    ReferencePicture& picture = picture_;
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

void ReferenceView::releaseDevice() {
    texture_ = {};
    quad_.Reset();
    shader_.Reset();
}

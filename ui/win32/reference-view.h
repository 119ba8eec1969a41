// The reference picture on the screen: decoded when the session names one (a picture that
// cannot be read is said once and left out), drawn behind the model in its axis view when
// that view is orthographic, and chosen, moved, scaled, faded and removed from the keyboard.
// Every change is written to session.ini at once.
#pragma once

#include <windows.h>

#include <d3d11.h>
#include <wrl/client.h>

#include <memory>

#include "core/vector-math.h"
#include "graphics/d3d11/texture.h"
#include "view/reference-picture.h"

class Renderer;
struct EditorState;
struct OrbitCamera;

// The picture moved by a tenth of its width, grown or shrunk by a tenth, or faded.
enum class PictureChange { Left, Right, Up, Down, Larger, Smaller, MoreOpaque, LessOpaque };

class ReferenceView {
  public:
    // The renderer that decodes and draws it; the view mode and camera that say which axis
    // view a new picture goes to and how large it starts.
    struct Parts {
        const std::unique_ptr<Renderer>& renderer;
        const EditorState& editor;
        const OrbitCamera& camera;
    };
    explicit ReferenceView(const Parts& parts) : p_(parts) {}
    ReferenceView(const ReferenceView&) = delete;
    ReferenceView& operator=(const ReferenceView&) = delete;

    // At start-up, once the renderer exists: the picture session.ini names, if any.
    void loadFromSession();
    // The picture behind what follows, when view (a view matrix) is its axis view and drawn
    // orthographically.
    void drawBehindModel(Renderer& renderer, const vm::Mat4& view, bool orthographic);
    // A picture for the current axis view (the front view when the view is none), or none.
    void choosePicture();
    void removePicture();
    bool hasPicture() const { return !picture_.empty(); }
    // Nothing without a picture.
    void changePicture(PictureChange change);
    // The device is going away.
    void releaseDevice();

  private:
    bool showPicture();
    ReferencePicture::View currentAxisView() const;

    const Parts p_;
    ReferencePicture picture_;
    LoadedTexture texture_; // none when there is no picture or it could not be read
    float aspect_ = 1;      // its width over its height
    Microsoft::WRL::ComPtr<ID3D11Buffer> quad_;
    Microsoft::WRL::ComPtr<ID3D11PixelShader> shader_;
};

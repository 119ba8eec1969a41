#include "graphics/d3d11/renderer.h"

vm::Mat4 Renderer::perspective(float fovAngleY, float aspect) {
    return vm::perspectiveFovRH(fovAngleY, aspect, kNear, kFar);
}

std::unique_ptr<Renderer> Renderer::create(float fovAngleY, int width, int height, HWND window) {
    auto r = std::make_unique<Renderer>();
    r->fovAngleY_ = fovAngleY;
    r->projection_ = perspective(fovAngleY, static_cast<float>(width) / static_cast<float>(height));
    r->resources_.create(width, height, window);
    r->state_.create(r->resources_);
    r->patches_.create(r->state_);
    r->lines_.create(r->state_);
    r->planet_.create(r->state_);
    r->bufferFactory_ =
        std::make_unique<DeviceBufferFactory>(r->device(), r->context(), r->state_.counts);
    return r;
}

void Renderer::createSecondaryView(HWND window, int width, int height, int slot) {
    resources_.createSecondaryView(window, width, height, slot);
}

void Renderer::releaseSecondaryView(int slot) {
    resources_.releaseSecondaryView(slot);
}

void Renderer::resizeView(int width, int height, int view) {
    if (resources_.resizeView(width, height, view))
        projection_ =
            perspective(fovAngleY_, static_cast<float>(width) / static_cast<float>(height));
}

void Renderer::beginView(int view, const FrameView& frame) {
    frame_ = frame;
    state_.viewProjection = frame.viewProjection;
    // In the quad layout each view binds its own targets.
    resources_.clearView(view, resources_.swapChain(1) != nullptr);
}

void Renderer::present(int view) {
    resources_.present(view);
}

void Renderer::checkPresent(HRESULT hr) {
    resources_.checkPresent(hr);
}

void Renderer::releaseDevice() {
    if (!device()) return;
    context()->ClearState();
    context()->Flush();
    // The pipelines first, then what they share, then the device itself.
    lines_.release();
    planet_.release();
    patches_.release();
    state_.release();
    bufferFactory_.reset();
    resources_.release();
}

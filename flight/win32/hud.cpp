#include "flight/win32/hud.h"

#include <array>
#include <cstring>
#include <vector>

#include "core/win32/fatal-error.h"
#include "flight/hud-marker.h"
#include "graphics/d3d11/renderer.h"
#include "graphics/planet-geometry.h"
#include "model/bezier-surface.h"

namespace {

const std::array<vm::Float3, 16> kPanel = {{
    {0.6f, 0.6f, 0},
    {0.2f, 0.6f, 0.2f},
    {-0.2f, 0.6f, 0.2f},
    {-0.6f, 0.6f, 0},
    {0.6f, 0.2f, 0.2f},
    {0.2f, 0.2f, 0.4f},
    {-0.2f, 0.2f, 0.4f},
    {-0.6f, 0.2f, 0.2f},
    {0.6f, -0.2f, 0.2f},
    {0.2f, -0.2f, 0.2f},
    {-0.2f, -0.2f, 0.4f},
    {-0.6f, -0.2f, 0.2f},
    {0.6f, -0.6f, 0},
    {0.2f, -0.6f, 0.2f},
    {-0.2f, -0.6f, 0.2f},
    {-0.6f, -0.6f, 0},
}};

// The panel as triangles on a 12 × 12 grid, texture coordinates following u and v: the
// same surface the patch pipeline makes of the control points, with the texture on it.
std::vector<planet::Vertex> panelTriangles() {
    constexpr int kSteps = 12;
    auto at = [](int i, int j) {
        const float u = static_cast<float>(i) / kSteps, v = static_cast<float>(j) / kSteps;
        const vm::Float3 p = bezier::evaluate(kPanel, u, v);
        return planet::Vertex{p.x, p.y, p.z, u, v};
    };
    std::vector<planet::Vertex> triangles;
    for (int j = 0; j < kSteps; ++j)
        for (int i = 0; i < kSteps; ++i) {
            const planet::Vertex a = at(i, j), b = at(i + 1, j), c = at(i, j + 1),
                                 d = at(i + 1, j + 1);
            triangles.insert(triangles.end(), {a, b, d, a, d, c});
        }
    return triangles;
}

} // namespace

void Hud::create(Renderer& renderer) {
    patchBuffer = createStaticVertexBuffer(renderer.device(), kPanel.data(), sizeof kPanel, "arf",
                                           "head-up display patch");
    const std::vector<planet::Vertex> triangles = panelTriangles();
    panelVertices = static_cast<UINT>(triangles.size());
    panel = createStaticVertexBuffer(renderer.device(), triangles.data(),
                                     static_cast<UINT>(panelVertices * sizeof(planet::Vertex)),
                                     "arf", "head-up display panel");
    texture =
        renderer.createTexture(hud::kWidth, hud::kHeight, nullptr, true, DXGI_FORMAT_R8G8_UNORM);
    pixelShader = renderer.compilePixelShader(L"graphics\\nuanceurs\\VTH (ev).nuance");
}

void Hud::draw(Renderer& renderer, const Vaisseau& ship) {
    if (!panel) return;
    const vm::Mat4 cockpit = renderer.world();
    renderer.drawArrow({0, 0.2f, 0, 1}, {0, 0.1f, 2.6f, 1},
                       {0.99039227f, 0.9298039f, 0.96392155f, 1.0f});
    renderer.setWorld(cockpit);

    // The planet's direction in the ship's frame.
    vm::Mat4 world;
    ship.worldMatrix(world);
    vm::Vec4 h = vm::transformCoord(
        vm::point(planet::kCentre.x, planet::kCentre.y, planet::kCentre.z), vm::inverse(world));
    if (vm::length3(h) > 0) h = vm::normalize3(h);
    texels.assign(static_cast<size_t>(hud::kWidth * hud::kHeight), 0);
    hud::drawMarker(texels, hud::marker(h));

    D3D11_MAPPED_SUBRESOURCE mapped;
    checkSetup(
        renderer.context()->Map(texture.texture.Get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped),
        "error", "head-up display texture");
    for (int row = 0; row < hud::kHeight; ++row)
        std::memcpy(static_cast<char*>(mapped.pData) + static_cast<size_t>(row) * mapped.RowPitch,
                    &texels[static_cast<size_t>(row * hud::kWidth)],
                    hud::kWidth * sizeof(uint16_t));
    renderer.context()->Unmap(texture.texture.Get(), 0);

    renderer.drawTexturedTriangles(panel.Get(), panelVertices, pixelShader.Get(),
                                   texture.view.Get());
}

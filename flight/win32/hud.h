// The head-up display: a small curved glass panel at the ship's first locator, showing a
// marker that points towards the planet, and an arrow straight ahead.
#pragma once

#include <d3d11.h>
#include <wrl/client.h>

#include <cstdint>
#include <vector>

#include "flight/vaisseau.h"
#include "graphics/d3d11/texture.h"

class Renderer;

struct Hud {
    Microsoft::WRL::ComPtr<ID3D11Buffer> patchBuffer; // the panel's 16 control points
    Microsoft::WRL::ComPtr<ID3D11Buffer> panel;       // the panel evaluated into triangles
    UINT panelVertices = 0;
    LoadedTexture texture; // 256 × 224 R8G8, rewritten every draw
    Microsoft::WRL::ComPtr<ID3D11PixelShader> pixelShader;
    std::vector<uint16_t> texels; // the texture's image, kept between draws

    // Failures are fatal: "arf" for the control points, "error" for the texture.
    void create(Renderer& renderer);
    // In the current world frame (the ship's cockpit).
    void draw(Renderer& renderer, const Vaisseau& ship);
    void release() { *this = Hud{}; }
};

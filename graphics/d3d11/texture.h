// Images as shader-resource textures: decoded with the Windows Imaging Component, brought to
// 32-bit RGBA and uploaded as one mip level.
#pragma once

#include <d3d11.h>
#include <wrl/client.h>

#include <optional>
#include <string>

class Renderer;

struct LoadedTexture {
    Microsoft::WRL::ComPtr<ID3D11Texture2D> texture;
    Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> view;
};

// Decodes the image's first frame. A missing or unreadable file, an unknown pixel format
// or an image larger than the device takes is the fatal error "error".
LoadedTexture loadTexture(Renderer& renderer, const wchar_t* fileName);
// The same without ending the program: nothing, and why, when the picture cannot be used (a
// reference picture the user chose may be anything). Gives the image's size when asked.
std::optional<LoadedTexture> tryLoadTexture(Renderer& renderer, const wchar_t* fileName,
                                            std::string& why, UINT* width = nullptr,
                                            UINT* height = nullptr);

// A width × height texture of one mip level with its view; pixels (rows of width × 4 bytes)
// are its content when given. Dynamic textures are written by the CPU. A failure is the
// fatal error "error".
LoadedTexture createTexture(ID3D11Device* device, UINT width, UINT height, const void* pixels,
                            bool dynamic, DXGI_FORMAT format);

// Names Direct3D objects for the debug layer and graphics debuggers (PIX, RenderDoc).
#pragma once

#include <d3d11.h>

#include <cstring>

// The GUID is defined here so that no library has to provide it.
inline constexpr GUID kDebugObjectName = {
    0x429b8c22, 0x9188, 0x4b0c, {0x87, 0x42, 0xac, 0xb0, 0xbf, 0x85, 0xc2, 0x00}};

inline void setDebugName(ID3D11DeviceChild* object, const char* name) {
    if (object)
        object->SetPrivateData(kDebugObjectName, static_cast<UINT>(std::strlen(name)), name);
}

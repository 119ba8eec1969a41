#include "graphics/d3d11/shader-compiler.h"

#include <d3dcompiler.h>
#include <windows.h>

#include <cstdio>

using Microsoft::WRL::ComPtr;

HRESULT compileShaderFile(const wchar_t* path, const char* entry, const char* target,
                          ComPtr<ID3DBlob>& byteCode) {
    ComPtr<ID3DBlob> errors;
    HRESULT hr = D3DCompileFromFile(path, nullptr, D3D_COMPILE_STANDARD_FILE_INCLUDE, entry, target,
                                    D3DCOMPILE_ENABLE_STRICTNESS, 0, &byteCode, &errors);
    if (FAILED(hr)) {
        if (errors) OutputDebugStringA(static_cast<const char*>(errors->GetBufferPointer()));
        char line[512];
        std::snprintf(line, sizeof line, "Shader %ls (%s, %s) failed: 0x%08lX\n", path, entry,
                      target, static_cast<unsigned long>(hr));
        OutputDebugStringA(line);
    }
    return hr;
}

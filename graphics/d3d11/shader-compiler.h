// Shader sources are compiled at start-up from graphics\nuanceurs\ with one convention:
// D3DCompileFromFile, standard include handler, strict mode, messages to the debugger.
#pragma once

#include <d3dcommon.h>
#include <wrl/client.h>

// Compiles entry of the file at path (relative to the working directory) for target.
// Returns the HRESULT; compiler messages go to the debugger output.
HRESULT compileShaderFile(const wchar_t* path, const char* entry, const char* target,
                          Microsoft::WRL::ComPtr<ID3DBlob>& byteCode);

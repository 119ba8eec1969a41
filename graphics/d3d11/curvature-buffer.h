// The CPU path's curvature per vertex on the device: a third vertex stream beside the grid
// vertices and normals, made and filled only while the curvature display shows.
#pragma once

#include <d3d11.h>
#include <wrl/client.h>

#include <vector>

#include "graphics/curvature-grids.h"
#include "graphics/surface-cache.h"

class CurvatureBuffer {
  public:
    // The ranges of values that changed go up; all of them when the buffer is made anew for
    // capacity vertices (as many as the vertex buffer holds).
    // Returns the bytes sent.
    size_t upload(ID3D11Device* device, ID3D11DeviceContext* context,
                  const std::vector<CurvatureGrids::Values>& values,
                  const SurfaceCache::Ranges& changed, size_t capacity);
    ID3D11Buffer* buffer() const { return buffer_.Get(); }
    static constexpr UINT kStride = sizeof(CurvatureGrids::Values);

  private:
    Microsoft::WRL::ComPtr<ID3D11Buffer> buffer_;
    size_t capacity_ = 0;
};

// Coloured lines: the wire sphere, the cube, arrows, segments and the rotate gizmo, drawn
// with the plain colour shaders.
#pragma once

#include <d3d11.h>
#include <wrl/client.h>

#include "core/vector-math.h"
#include "graphics/d3d11/render-state.h"

class LinePipeline {
  public:
    enum Shape { WireSphere = 0, Cube = 1, Arrow = 2, Segment = 3 };

    // The shapes' vertex buffers; a failure is fatal.
    void create(RenderState& state);
    void release() { *this = LinePipeline{}; }

    void drawShape(Shape shape);
    void drawSegment(vm::Vec4 from, vm::Vec4 to, vm::Vec4 colour);
    // The arrow's head faces facing.
    void drawArrow(vm::Vec4 from, vm::Vec4 to, vm::Vec4 colour, vm::Vec4 facing);
    // The cube scaled by halfSize around centre; sets the world matrix itself.
    void drawCube(vm::Vec4 colour, vm::Vec4 centre, float halfSize);
    // count vertices of a line list made by makeLineBuffer, in one colour.
    void drawLineList(ID3D11Buffer* vertices, UINT count, vm::Vec4 colour);
    // A vertex buffer of a line list (two points a segment); null when the device has no
    // room for it (the lines are then left out, nothing else).
    Microsoft::WRL::ComPtr<ID3D11Buffer> makeLineBuffer(const vm::Float3* points, size_t count);
    // The first n segments of the unit ring and n sectors of the disc (blended), in the
    // current world frame.
    void drawGizmo(int n, bool inProgress);

  private:
    RenderState* state_ = nullptr;
    Microsoft::WRL::ComPtr<ID3D11Buffer> shapes_[4];
    Microsoft::WRL::ComPtr<ID3D11Buffer> gizmoRing_, gizmoDisc_;
};

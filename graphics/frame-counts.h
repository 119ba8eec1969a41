// What the frames asked of the device since the counts were last cleared: draw calls, the
// triangles and line segments they drew, and the bytes written into device buffers
// (updates and maps). The frame-time benchmark reports them per frame.
#pragma once

#include <cstdint>

struct FrameCounts {
    uint64_t draws = 0;
    uint64_t triangles = 0;
    uint64_t lines = 0;
    uint64_t bytesSent = 0;

    void drawTriangles(uint64_t indices) {
        ++draws;
        triangles += indices / 3;
    }
    void drawLines(uint64_t vertices) {
        ++draws;
        lines += vertices / 2;
    }
};

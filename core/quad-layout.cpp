#include "core/quad-layout.h"

ViewRect quadViewRect(int viewport, int areaWidth, int areaHeight) {
    const int halfW = areaWidth / 2, halfH = areaHeight / 2;
    const bool right = viewport == 0 || viewport == 2, bottom = viewport == 0 || viewport == 3;
    return {right ? halfW : 0, bottom ? halfH : 0, halfW, halfH};
}

int quadViewportAt(int x, int y, int areaWidth, int areaHeight) {
    const bool right = x > areaWidth / 2, bottom = y > areaHeight / 2;
    return right ? (bottom ? 0 : 2) : (bottom ? 3 : 1);
}

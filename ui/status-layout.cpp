#include "ui/status-layout.h"

#include <algorithm>

std::array<int, kStatusParts> statusPartEdges(int barWidth, int firstWanted, int secondWanted,
                                              int messageLeast) {
    const int room = std::max(0, barWidth - messageLeast);
    const int first = std::clamp(firstWanted, 0, room);
    const int second = std::clamp(secondWanted, 0, room - first);
    return {first, first + second, -1};
}

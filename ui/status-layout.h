// Where the status bar's parts end: the coordinate parts as wide as their text needs, the
// message part the rest, and never less than its minimum, so that at a small window the
// message still shows and the coordinates shrink, the second part first.
#pragma once

#include <array>

#include "ui/status-parts.h"

// The parts' right edges for a bar barWidth wide (the last reaching the end, -1), given the
// widths the first two parts' texts need and the least the message part keeps.
std::array<int, kStatusParts> statusPartEdges(int barWidth, int firstWanted, int secondWanted,
                                              int messageLeast);

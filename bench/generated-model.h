// Models generated for measurements: a gently curved sheet of patches sharing their edges.
#pragma once

#include <cmath>
#include <string>

#include "model/model.h"

// across × down patches; a few in groups, every seventh translucent.
inline void generateSheet(Model& m, int across, int down) {
    const int columns = 3 * across + 1, rows = 3 * down + 1;
    const float width = 3.0f, depth = 3.0f;
    m.points.reserve(static_cast<size_t>(columns) * rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            m.points.push_back({c * width / (columns - 1) - width / 2,
                                0.3f * std::sin(c * 0.05f) * std::cos(r * 0.07f),
                                r * depth / (rows - 1) - depth / 2});
    for (int g = 0; g < 8; ++g) m.groups.push_back(std::make_unique<Model::Group>("group_" + std::to_string(g)));
    for (int pr = 0; pr < down; ++pr)
        for (int pc = 0; pc < across; ++pc) {
            Model::Patch patch;
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 4; ++c)
                    patch.indices[static_cast<size_t>(4 * r + c)] = (3 * pr + r) * columns + 3 * pc + c;
            if (pc % 50 == 0) patch.group = pr % 8;
            if (pc % 7 == 0) patch.alpha = 0.5f;
            m.patches.push_back(patch);
        }
}

// A 400 × 250 sheet: about 900 000 points and 100 000 patches, built once.
inline const Model& hundredThousandPatches() {
    static const Model model = [] {
        Model m;
        generateSheet(m, 400, 250);
        return m;
    }();
    return model;
}

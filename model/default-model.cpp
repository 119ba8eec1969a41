// The built-in model: four patches joined in a ring, each patch's first row being the
// previous patch's last row.
#include "model/model.h"

namespace {

// The band's points three to a row, as its rows of four patches read.
// clang-format off
const vm::Float3 kDefaultPoints[48] = {
    {1, -0.5f, 0.5f},          {0.5f, -0.3536f, 1.354f},   {0, -0.3536f, 1.354f},
    {1, -0.1667f, 0.5f},       {0.5f, -0.1179f, 1.118f},   {0, -0.1179f, 1.118f},
    {1, 0.1667f, 0.5f},        {0.5f, 0.1179f, 0.8821f},   {0, 0.1179f, 0.8821f},
    {1, 0.5f, 0.5f},           {0.5f, 0.3536f, 0.6464f},   {0, 0.3536f, 0.6464f},
    {-0.5f, -0.3536f, 1.354f}, {-1.5f, 0, 0.5f},           {-1.5f, 0, 0},
    {-0.5f, -0.1179f, 1.118f}, {-1.167f, 0, 0.5f},         {-1.167f, 0, 0},
    {-0.5f, 0.1179f, 0.8821f}, {-0.8333f, 0, 0.5f},        {-0.8333f, 0, 0},
    {-0.5f, 0.3536f, 0.6464f}, {-0.5f, 0, 0.5f},           {-0.5f, 0, 0},
    {-1.5f, 0, -0.5f},         {-0.5f, 0.3536f, -1.354f},  {0, 0.3536f, -1.354f},
    {-1.167f, 0, -0.5f},       {-0.5f, 0.1179f, -1.118f},  {0, 0.1179f, -1.118f},
    {-0.8333f, 0, -0.5f},      {-0.5f, -0.1179f, -0.8821f}, {0, -0.1179f, -0.8821f},
    {-0.5f, 0, -0.5f},         {-0.5f, -0.3536f, -0.6464f}, {0, -0.3536f, -0.6464f},
    {0.5f, 0.3536f, -1.354f},  {1, 0.5f, -0.5f},           {1, 0.5f, 0},
    {0.5f, 0.1179f, -1.118f},  {1, 0.1667f, -0.5f},        {1, 0.1667f, 0},
    {0.5f, -0.1179f, -0.8821f}, {1, -0.1667f, -0.5f},      {1, -0.1667f, 0},
    {0.5f, -0.3536f, -0.6464f}, {1, -0.5f, -0.5f},         {1, -0.5f, 0},
};
// clang-format on

} // namespace

void Model::createDefault() {
    const int32_t first = static_cast<int32_t>(points.size());
    points.insert(points.end(), std::begin(kDefaultPoints), std::end(kDefaultPoints));
    for (int p = 0; p < 4; ++p) {
        Patch patch;
        for (int c = 0; c < 4; ++c) {
            const int base = 12 * p + 3 * c;
            patch.indices[static_cast<size_t>(c)] = first + (base + 38) % 48;
            for (int r = 1; r < 4; ++r)
                patch.indices[static_cast<size_t>(4 * r + c)] = first + base + r - 1;
        }
        patches.push_back(patch);
    }
}

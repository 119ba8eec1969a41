#include "graphics/planet-geometry.h"

#include <cmath>
#include <cstring>

namespace planet {

std::vector<Vertex> sphereMesh() {
    constexpr double kPi = 3.14159265358979323846;
    std::vector<Vertex> mesh(kMeshVertices);
    auto corner = [](double lat, double lon) {
        return Vertex{
            static_cast<float>(std::cos(lat) * std::cos(lon)), static_cast<float>(std::sin(lat)),
            static_cast<float>(std::cos(lat) * std::sin(lon)),
            static_cast<float>(0.5 - lon / (2 * kPi)), static_cast<float>(0.5 - lat / kPi)};
    };
    for (int i = 0; i < kSectors; ++i)
        for (int k = 0; k < kBands; ++k) {
            const double lat0 = kPi * (double(k) / kBands - 0.5),
                         lat1 = kPi * (double(k + 1) / kBands - 0.5);
            const double lon0 = 2 * kPi * i / kSectors, lon1 = 2 * kPi * (i + 1) / kSectors;
            Vertex* cell = &mesh[6u * static_cast<size_t>(kBands * i + k)];
            cell[0] = corner(lat0, lon0);
            cell[1] = corner(lat0, lon1);
            cell[2] = corner(lat1, lon1);
            cell[3] = corner(lat0, lon0);
            cell[4] = corner(lat1, lon1);
            cell[5] = corner(lat1, lon0);
        }
    return mesh;
}

Impostor impostor(const vm::Mat4& view, float radius) {
    const vm::Vec4 d = kCentre;
    const float r = vm::length3(d);
    const vm::Vec4 n = d * (1 / r);
    const vm::Vec4 q = vm::transformCoord(vm::point(2 * d.x, 2 * d.y, 2 * d.z), view);
    const vm::Vec4 w2 = vm::transform({q.x, q.y, 0, 0}, view);
    const vm::Vec4 a = vm::normalize3(vm::cross3(w2, n));
    const vm::Vec4 b = vm::normalize3(vm::cross3(n, vm::cross3(w2, n)));
    vm::Mat4 frame = vm::identity();
    const vm::Vec4 rows[4] = {a, b, n, vm::point(d.x, d.y, d.z)};
    for (int row = 0; row < 4; ++row) {
        frame[row][0] = rows[row].x;
        frame[row][1] = rows[row].y;
        frame[row][2] = rows[row].z;
        frame[row][3] = row == 3 ? 1.0f : 0.0f;
    }
    const float k = r * std::tan(std::asin(radius / r));

    Impostor result{};
    result.world = vm::scaling(k, k, k) * frame;
    vm::Vec4 scale, translation;
    vm::Quat rotation;
    vm::decompose(frame, &scale, &rotation, &translation);
    const vm::Mat4 bt = vm::transpose(vm::rotationQuaternion(rotation));
    const vm::Mat4 one = vm::identity();
    std::memcpy(result.constants.rotationTransposed, bt.m, sizeof bt.m);
    std::memcpy(result.constants.identity, one.m, sizeof one.m);
    result.constants.silhouetteRadius = k;
    result.constants.distance = r;
    return result;
}

} // namespace planet

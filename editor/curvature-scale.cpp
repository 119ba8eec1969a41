#include "editor/curvature-scale.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "editor/editor-state.h"
#include "editor/size-tolerance.h"
#include "model/bezier-surface.h"
#include "model/surface-curvature.h"

namespace {

// Samples a patch on a grid of kGrid × kGrid points inside it, and at most kMostPatches
// patches (evenly spread over the model's order).
constexpr int kGrid = 4;
constexpr size_t kMostPatches = 4096;
// A scale with no width is widened by this share of its size.
constexpr double kWidenedShare = 0.01;

} // namespace

curvature::Scale scaleOfSamples(std::vector<float> samples, curvature::Kind kind,
                                double flatCurvature) {
    double low = 0, high = 0;
    if (!samples.empty()) {
        const auto at = [&](double share) {
            const auto k = static_cast<ptrdiff_t>(share * static_cast<double>(samples.size() - 1));
            std::nth_element(samples.begin(), samples.begin() + k, samples.end());
            return static_cast<double>(samples[static_cast<size_t>(k)]);
        };
        low = at(kScaleOutliers);
        high = at(1 - kScaleOutliers);
    }
    if (kind == curvature::Kind::Gaussian) {
        const double largest = std::max(std::fabs(low), std::fabs(high));
        low = -largest;
        high = largest;
    }
    const double middle = (low + high) / 2;
    const double halfWidth =
        std::max({(high - low) / 2, kWidenedShare * std::fabs(middle), flatCurvature});
    return {static_cast<float>(middle - halfWidth), static_cast<float>(middle + halfWidth)};
}

curvature::Scale fittedScale(const Model& model, curvature::Kind kind) {
    std::vector<size_t> shown;
    for (size_t p = 0; p < model.patches.size(); ++p)
        if (model.isShown(p)) shown.push_back(p);
    const size_t stride = std::max<size_t>(1, (shown.size() + kMostPatches - 1) / kMostPatches);
    std::vector<float> samples;
    samples.reserve(shown.size() / stride * kGrid * kGrid + kGrid * kGrid);
    double size = 0;
    for (size_t k = 0; k < shown.size(); k += stride) {
        const Model::Patch& patch = model.patches[shown[k]];
        size = std::max(size, static_cast<double>(patchSize(model, patch)));
        const std::array<vm::Float3, 16> net = bezier::controlPoints(model, patch);
        for (int i = 0; i < kGrid; ++i)
            for (int j = 0; j < kGrid; ++j) {
                const bezier::Curvature c =
                    bezier::curvatureAt(net, (i + 0.5) / kGrid, (j + 0.5) / kGrid);
                if (c.defined)
                    samples.push_back(
                        static_cast<float>(kind == curvature::Kind::Mean ? c.mean : c.gaussian));
            }
    }
    // A patch's size as the radius of the flattest curvature worth a colour: a thousandth.
    constexpr double kFlatRadii = 1000;
    const double flat = size > 0 ? 1 / (kFlatRadii * size) : 1;
    return scaleOfSamples(std::move(samples), kind,
                          kind == curvature::Kind::Mean ? flat : flat * flat);
}

vm::Vec4 curvatureScaleOf(EditorState& editor, const Model& model) {
    if (!editor.curvatureScale) editor.curvatureScale = fittedScale(model, editor.curvatureKind);
    return curvature::shaderScale(editor.curvatureKind, *editor.curvatureScale);
}

std::string scaleText(curvature::Kind kind, const curvature::Scale& scale) {
    char text[160];
    std::snprintf(text, sizeof text, "%s curvature %.2g to %.2g (automatic)",
                  kind == curvature::Kind::Mean ? "Mean" : "Gaussian",
                  static_cast<double>(scale.low), static_cast<double>(scale.high));
    return text;
}

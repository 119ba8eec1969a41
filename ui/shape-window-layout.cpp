#include "ui/shape-window-layout.h"

#include <algorithm>

namespace {

constexpr int kTreeWidest = 200;     // the tree's width when the window has room
constexpr int kTreeShareDivisor = 5; // otherwise two fifths of the width
constexpr int kTreeShareNumerator = 2;
constexpr int kListsLowest = 40; // the lists never shrink below this
// Nor grow past the first layout's: on a tall window the boxes stay where the hand (and the
// scenarios) find them.
constexpr int kListsTallest = 600;
constexpr int kRowHeight = 20;       // a coordinate box's row
constexpr int kWideLabelWidth = 110; // "x", "y", "z" beside their boxes
constexpr int kNarrowLabelWidth = 20;
constexpr int kBoxWidth = 110;
constexpr int kSliderHeight = 30;
constexpr int kTransformGap = 5; // between the boxes and the transform row
constexpr int kChoiceWidth = 220;
constexpr int kChoiceDropped = 200; // the choice with its list open
constexpr int kFieldWidth = 80;
constexpr int kApplyWidth = 70;
constexpr int kTransformHeight = 22;
constexpr int kTransformLineGap = 2; // between the two lines of a narrow transform row
// The transform row's width on one line: the choice, three fields and Apply.
constexpr int kOneLineWidth = kChoiceWidth + 3 * kFieldWidth + kApplyWidth;

} // namespace

ShapeWindowLayout shapeWindowLayout(int clientWidth, int clientHeight) {
    const int w = std::max(clientWidth, 0);
    const bool oneLine = w >= kOneLineWidth;
    const int coordinates = 3 * kRowHeight + kTransformGap;
    const int transform = oneLine ? kTransformHeight : 2 * kTransformHeight + kTransformLineGap;
    const int lists =
        std::clamp(clientHeight - coordinates - transform, kListsLowest, kListsTallest);

    ShapeWindowLayout layout;
    const int treeWidth = std::min(kTreeWidest, w * kTreeShareNumerator / kTreeShareDivisor);
    layout.tree = {0, 0, treeWidth, lists};
    layout.pointList = {treeWidth, 0, w - treeWidth, lists};

    const int labelWidth = oneLine ? kWideLabelWidth : kNarrowLabelWidth;
    const int boxWidth = std::min(kBoxWidth, std::max((w - labelWidth) / 2, 0));
    for (int i = 0; i < 3; ++i) {
        layout.labels[i] = {0, lists + kRowHeight * i, labelWidth, kRowHeight};
        layout.coordinateBoxes[i] = {labelWidth, lists + kRowHeight * i, boxWidth, kRowHeight};
    }
    const int sliderX = labelWidth + boxWidth;
    layout.slider = {sliderX, lists, std::max(w - sliderX, 0), kSliderHeight};

    const int row = lists + coordinates;
    if (oneLine) {
        layout.transformChoice = {0, row, kChoiceWidth, kChoiceDropped};
        for (int i = 0; i < 3; ++i)
            layout.transformFields[i] = {kChoiceWidth + kFieldWidth * i, row, kFieldWidth,
                                         kTransformHeight};
        layout.transformApply = {kChoiceWidth + 3 * kFieldWidth, row, kApplyWidth,
                                 kTransformHeight};
        return layout;
    }
    // Too narrow for one line: the choice above, the fields sharing the line under it.
    layout.transformChoice = {0, row, std::min(kChoiceWidth, w), kChoiceDropped};
    const int second = row + kTransformHeight + kTransformLineGap;
    const int fieldWidth = std::max(w - kApplyWidth, 0) / 3;
    for (int i = 0; i < 3; ++i)
        layout.transformFields[i] = {fieldWidth * i, second, fieldWidth, kTransformHeight};
    layout.transformApply = {std::max(w - kApplyWidth, 0), second, kApplyWidth, kTransformHeight};
    return layout;
}

#include "ui/shape-window-layout.h"

#include <algorithm>

#include "ui/dpi-scale.h"

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

// The lengths above at a window's DPI.
struct Lengths {
    explicit Lengths(int dpi)
        : treeWidest(scaledForDpi(kTreeWidest, dpi)), listsLowest(scaledForDpi(kListsLowest, dpi)),
          listsTallest(scaledForDpi(kListsTallest, dpi)), rowHeight(scaledForDpi(kRowHeight, dpi)),
          wideLabelWidth(scaledForDpi(kWideLabelWidth, dpi)),
          narrowLabelWidth(scaledForDpi(kNarrowLabelWidth, dpi)),
          boxWidth(scaledForDpi(kBoxWidth, dpi)), sliderHeight(scaledForDpi(kSliderHeight, dpi)),
          transformGap(scaledForDpi(kTransformGap, dpi)),
          choiceWidth(scaledForDpi(kChoiceWidth, dpi)),
          choiceDropped(scaledForDpi(kChoiceDropped, dpi)),
          fieldWidth(scaledForDpi(kFieldWidth, dpi)), applyWidth(scaledForDpi(kApplyWidth, dpi)),
          transformHeight(scaledForDpi(kTransformHeight, dpi)),
          transformLineGap(scaledForDpi(kTransformLineGap, dpi)) {}
    int treeWidest, listsLowest, listsTallest, rowHeight, wideLabelWidth, narrowLabelWidth,
        boxWidth, sliderHeight, transformGap, choiceWidth, choiceDropped, fieldWidth, applyWidth,
        transformHeight, transformLineGap;
    // The transform row's width on one line: the choice, three fields and Apply.
    int oneLineWidth() const { return choiceWidth + 3 * fieldWidth + applyWidth; }
};

} // namespace

ShapeWindowLayout shapeWindowLayout(int clientWidth, int clientHeight, int dpi) {
    const Lengths at(dpi);
    const int w = std::max(clientWidth, 0);
    const bool oneLine = w >= at.oneLineWidth();
    const int coordinates = 3 * at.rowHeight + at.transformGap;
    const int transform =
        oneLine ? at.transformHeight : 2 * at.transformHeight + at.transformLineGap;
    const int lists =
        std::clamp(clientHeight - coordinates - transform, at.listsLowest, at.listsTallest);

    ShapeWindowLayout layout;
    const int treeWidth = std::min(at.treeWidest, w * kTreeShareNumerator / kTreeShareDivisor);
    layout.tree = {0, 0, treeWidth, lists};
    layout.pointList = {treeWidth, 0, w - treeWidth, lists};

    const int labelWidth = oneLine ? at.wideLabelWidth : at.narrowLabelWidth;
    const int boxWidth = std::min(at.boxWidth, std::max((w - labelWidth) / 2, 0));
    for (int i = 0; i < 3; ++i) {
        layout.labels[i] = {0, lists + at.rowHeight * i, labelWidth, at.rowHeight};
        layout.coordinateBoxes[i] = {labelWidth, lists + at.rowHeight * i, boxWidth, at.rowHeight};
    }
    const int sliderX = labelWidth + boxWidth;
    layout.slider = {sliderX, lists, std::max(w - sliderX, 0), at.sliderHeight};

    const int row = lists + coordinates;
    if (oneLine) {
        layout.transformChoice = {0, row, at.choiceWidth, at.choiceDropped};
        for (int i = 0; i < 3; ++i)
            layout.transformFields[i] = {at.choiceWidth + at.fieldWidth * i, row, at.fieldWidth,
                                         at.transformHeight};
        layout.transformApply = {at.choiceWidth + 3 * at.fieldWidth, row, at.applyWidth,
                                 at.transformHeight};
        return layout;
    }
    // Too narrow for one line: the choice above, the fields sharing the line under it.
    layout.transformChoice = {0, row, std::min(at.choiceWidth, w), at.choiceDropped};
    const int second = row + at.transformHeight + at.transformLineGap;
    const int fieldWidth = std::max(w - at.applyWidth, 0) / 3;
    for (int i = 0; i < 3; ++i)
        layout.transformFields[i] = {fieldWidth * i, second, fieldWidth, at.transformHeight};
    layout.transformApply = {std::max(w - at.applyWidth, 0), second, at.applyWidth,
                             at.transformHeight};
    return layout;
}

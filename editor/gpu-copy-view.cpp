#include "editor/gpu-copy-view.h"

void GpuCopyView::documentPreviewed(const Document& document, const std::vector<uint32_t>& moved) {
    copy_.pointsMoved(document.model(), moved);
}

void GpuCopyView::documentChanged(const Document& document, const DocumentChange& change) {
    using Kind = DocumentChange::Kind;
    if (change.kind == Kind::Changing || change.kind == Kind::Saved) return;
    if (change.topologyChanged())
        copy_.rebuild(document.model());
    else if (!change.followedLive) // a gesture's points went up as it went
        copy_.pointsMoved(document.model(), change.step->points.at);
}

// Keeps a model's GPU copy in step with its document: a change of the patches, the groups,
// the locators or the pool's size makes the copy anew; points moved by a step or a gesture
// go up alone.
#pragma once

#include "editor/document.h"
#include "graphics/gpu-model-copy.h"

class GpuCopyView : public DocumentView {
  public:
    explicit GpuCopyView(GpuModelCopy& copy) : copy_(copy) {}

    void documentPreviewed(const Document& document, const std::vector<uint32_t>& moved) override;
    void documentChanged(const Document& document, const DocumentChange& change) override;

  private:
    GpuModelCopy& copy_;
};

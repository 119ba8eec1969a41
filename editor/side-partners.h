// The partners of the sides of chosen patches, each side looked up once and on both cores: T
// asks for them three times over (for its joins, the points it holds, the joins it watches).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "editor/patch-sides.h"
#include "model/model.h"

struct SidePartner {
    SideRef side;
    bool reversed = false;
};

class SidePartners {
  public:
    // The sides of the shown patches chosen (an entry per patch); index holds their partners.
    SidePartners(const Model& model, const SideIndex& index, const std::vector<uint8_t>& chosen);
    // As SideIndex::partners gives them (none for a pole or a patch not chosen).
    std::span<const SidePartner> of(SideRef side) const;
    // collapsedSide, asked of the chosen patches' sides only.
    bool pole(SideRef side) const { return poles_[slot(side)] != 0; }
    // Partners found over all sides: each pair of sides is among them once or twice.
    size_t count() const { return partners_.size(); }

  private:
    static size_t slot(SideRef side) {
        return size_t{side.patch} * 4 + static_cast<size_t>(side.side);
    }
    std::vector<uint32_t> first_; // by slot, and one past the last
    std::vector<SidePartner> partners_;
    std::vector<uint8_t> poles_;
};

#include "model/batch-conversion.h"

#include <atomic>

namespace batches {
namespace {
std::atomic<size_t> itemsSetting{kDefaultItems};
} // namespace

void setItems(size_t count) {
    itemsSetting.store(count ? count : kDefaultItems, std::memory_order_relaxed);
}

size_t items() {
    return itemsSetting.load(std::memory_order_relaxed);
}

} // namespace batches

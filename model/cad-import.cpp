#include "model/cad-import.h"

#include "model/byte-order-mark.h"
#include "model/iges-reader.h"
#include "model/step-reader.h"

namespace {

constexpr size_t kIgesColumns = 80, kIgesSectionColumn = 72;

bool isStep(std::string_view text) {
    return text.substr(0, 12) == "ISO-10303-21";
}

} // namespace

bool isCadText(std::string_view text) {
    text = withoutByteOrderMark(text);
    if (isStep(text)) return true;
    const std::string_view line = text.substr(0, text.find_first_of("\r\n"));
    return line.size() >= kIgesColumns && line[kIgesSectionColumn] == 'S';
}

ImportResult importCadSurfaces(std::string_view text, Model& model) {
    model.clear();
    model.locators.clear();
    text = withoutByteOrderMark(text);
    ImportResult r = isStep(text) ? importStep(text, model) : importIges(text, model);
    if (!r.ok) {
        model.clear();
        model.locators.clear();
    }
    return r;
}

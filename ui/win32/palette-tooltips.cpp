#include "ui/win32/palette-tooltips.h"

#include <algorithm>
#include <string>

#include "editor/document.h"
#include "ui/palette-buttons.h"
#include "ui/win32/button-tooltip.h"
#include "ui/win32/wide-text.h"

namespace {

// The text cut to the control's buffer, which it ends.
template <typename Char>
void copyInto(const std::basic_string<Char>& text, Char* buffer, int size) {
    if (!buffer || size <= 0) return;
    const size_t count = std::min(text.size(), static_cast<size_t>(size - 1));
    std::copy_n(text.begin(), count, buffer);
    buffer[count] = 0;
}

} // namespace

bool answerPaletteTip(NMHDR* header, const Document& document) {
    if (header->code != TBN_GETINFOTIPW && header->code != TBN_GETINFOTIPA) return false;
    // Both forms start with the header and the button's id.
    const int button = reinterpret_cast<NMTBGETINFOTIPW*>(header)->iItem;
    const std::optional<CommandId> id = palette::buttonCommand(button);
    if (!id) return false;
    const std::wstring text = buttonTooltip(*id, document);
    if (header->code == TBN_GETINFOTIPW) {
        auto* tip = reinterpret_cast<NMTBGETINFOTIPW*>(header);
        copyInto(text, tip->pszText, tip->cchTextMax);
    } else {
        auto* tip = reinterpret_cast<NMTBGETINFOTIPA*>(header);
        copyInto(ansiFromWide(text), tip->pszText, tip->cchTextMax);
    }
    return true;
}

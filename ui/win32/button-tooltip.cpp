#include "ui/win32/button-tooltip.h"

#include "editor/command-table.h"
#include "ui/win32/wide-text.h"

std::wstring buttonTooltip(CommandId id, const Document& document) {
    return wideFromUtf8(tooltipText(command(id), document));
}

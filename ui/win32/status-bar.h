// Text in one part of the main window's status bar (nothing before the bar exists).
#pragma once

#include <string>

#include "ui/status-parts.h"

void setStatusText(StatusPart part, const std::string& text);

// The settings file, ".\session.ini" beside where the program started.
#pragma once

#include "core/settings-file.h"

// The file as a full path, taken once at start-up: the file dialogs may visit other folders,
// the settings stay beside where the program started.
const SettingsFile& sessionSettings();
// Opens the file afresh (start-up, before any window reads it).
void openSessionSettings();

// A command host with nothing behind it: the shell's commands all run and say nothing, the
// clipboard is a string.
#pragma once

#include "editor/command-host.h"

struct FakeCommandHost : CommandHost {
    std::string clipboard;
    CommandOutcome run(CommandId) override { return {true, ""}; }
    bool putOnClipboard(const std::string& text) override {
        clipboard = text;
        return true;
    }
    std::optional<std::string> clipboardText() override { return clipboard; }
};

// What each key's press was, so that its release means what the press meant: a release
// keeps the modifiers held when its key went down (Shift let go a moment before B still
// splits across v), and a key whose press ran a command (Ctrl+V) runs nothing more when it
// comes up, whatever is held by then (V alone would set the pivot).
#pragma once

#include <array>
#include <optional>

#include "editor/command-keys.h"

class KeyPresses {
  public:
    // A key went down with held down, or came again held down (repeat: the first press's
    // modifiers stay); ranCommand says whether the press meant a command.
    void pressed(Key key, Modifiers held, bool ranCommand, bool repeat = false);
    // The modifiers the release means, or nothing when its press ran a command. A release
    // whose press was not seen (it went to another window) means heldNow.
    std::optional<Modifiers> released(Key key, Modifiers heldNow);

  private:
    struct Press {
        bool down = false;
        Modifiers held = kNoModifier;
        bool ranCommand = false;
    };
    static constexpr size_t kKeyCodes = 256;
    std::array<Press, kKeyCodes> presses_{};
};

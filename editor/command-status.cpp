#include "editor/command-status.h"

#include <algorithm>
#include <cctype>

#include "editor/document.h"
#include "editor/editor-state.h"
#include "model/model.h"

namespace {

using C = CommandId;

// What a command the shell runs did, when the shell had nothing more to say (the files'
// commands say their own outcome).
const char* doneText(CommandId id) {
    switch (id) {
    case C::New:
        return "New document";
    case C::Open:
    case C::OpenRecent:
        return "Nothing opened";
    case C::Save:
    case C::SaveAs:
        return "Nothing saved";
    case C::Import:
        return "Nothing imported";
    case C::Export:
        return "Nothing exported";
    case C::Exit:
        return "Closing";
    case C::TakeBackPoint:
        return "Took back the last point";
    case C::CentreView:
        return "View centred on the origin";
    case C::CentreOnSelection:
        return "View centred on the selection";
    case C::FrameSelection:
        return "Framed";
    case C::NextView:
        return "Next view";
    case C::ChoosePicture:
        return "Nothing chosen";
    case C::RemovePicture:
        return "Picture removed";
    case C::PictureLeft:
    case C::PictureRight:
    case C::PictureUp:
    case C::PictureDown:
        return "Picture moved";
    case C::PictureLarger:
    case C::PictureSmaller:
        return "Picture resized";
    case C::PictureMoreOpaque:
    case C::PictureLessOpaque:
        return "Picture's opacity changed";
    case C::Stop:
        return "Stopped";
    case C::Home:
        return "Ship back at its start";
    case C::KeyboardShortcuts:
        return "Keyboard shortcuts shown";
    case C::About:
        return "About Tavrel shown";
    default:
        return nullptr;
    }
}

// A menu name without its dialog's dots.
std::string plainName(const Command& command) {
    std::string name = command.name;
    const std::string dots = "\xE2\x80\xA6"; // …
    if (name.size() >= dots.size() && name.ends_with(dots)) name.resize(name.size() - dots.size());
    return name;
}

// A switch's state after it ran: a tool or view chosen, a display on or off.
std::string switchText(const Command& command, bool on) {
    if (command.menu == Menu::Tools && command.id != C::Dissociate && command.id != C::Joint)
        return plainName(command) + (on ? " tool" : " tool off");
    if (command.id == C::Play) return on ? "Flying (Play again: back to editing)" : "Editing";
    if (command.id >= C::OrbitView && command.id <= C::QuadLayout) return plainName(command);
    return plainName(command) + (on ? " on" : " off");
}

std::string capitalised(std::string text) {
    if (!text.empty())
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text;
}

} // namespace

std::string countOf(size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string selectionSummary(const Model& model, const EditorState& editor) {
    if (editor.choosingPoints)
        return editor.chosenPoints.empty()
                   ? "No point chosen"
                   : countOf(editor.chosenPoints.size(), "point", "points") + " chosen";
    const auto selected =
        static_cast<size_t>(std::count_if(model.patches.begin(), model.patches.end(),
                                          [](const Model::Patch& p) { return p.selected; }));
    return selected == 0 ? "Nothing selected" : countOf(selected, "patch", "patches") + " selected";
}

std::string statusLine(const Command& command, const CommandOutcome& outcome,
                       const CommandContext& context) {
    if (!outcome.text.empty()) return capitalised(outcome.text);
    if (command.id == C::SelectAll || command.id == C::SelectNone)
        return selectionSummary(context.document.model(), context.editor);
    if (command.id == C::NextView) // the view it came to
        for (auto view = C::OrbitView; view <= C::QuadLayout;
             view = static_cast<CommandId>(static_cast<int>(view) + 1))
            if (checkedState(::command(view), context).value_or(false)) return ::command(view).name;
    if (const char* done = doneText(command.id)) return done;
    if (const std::optional<bool> on = checkedState(command, context))
        return switchText(command, *on);
    return plainName(command);
}

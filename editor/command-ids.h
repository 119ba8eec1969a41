// The editor's commands, named once, and the menus that hold them.
#pragma once

#include <cstdint>

enum class CommandId : uint8_t {
    // File
    New,
    Open,
    OpenRecent, // the recent files' submenu: its entries are the shell's
    Save,
    SaveAs,
    Import,
    Export,
    Exit,
    // Edit
    Undo,
    Redo,
    TakeBackPoint,
    Copy,
    Paste,
    Duplicate,
    DuplicateInPlace,
    Delete,
    SelectAll,
    SelectNone,
    ChoosePoints,
    // View
    Orthographic,
    OrbitView,
    FrontView,
    SideView,
    TopView,
    QuadLayout,
    NextView,
    Shaded,
    Wireframe,
    JoinsDisplay,
    ZebraStripes,
    TurnStripes,
    StripeWidth,
    CurvatureDisplay,
    CurvatureKind,
    Grid,
    Planet,
    Sphere,
    WireSphere,
    FrameSelection,
    CentreView,
    CentreOnSelection,
    ChoosePicture,
    RemovePicture,
    PictureLeft,
    PictureRight,
    PictureUp,
    PictureDown,
    PictureLarger,
    PictureSmaller,
    PictureMoreOpaque,
    PictureLessOpaque,
    ShowPalette,
    ShowShapeWindow,
    // Tools
    SelectTool,
    AddTool,
    RotateTool,
    TranslateTool,
    ScaleTool,
    LocatorTool,
    Dissociate,
    Joint,
    SetPivot,
    // Surface
    Extrude,
    SplitAcrossU,
    SplitAcrossV,
    SplitInFour,
    MirrorAcrossX,
    MirrorAcrossY,
    MirrorAcrossZ,
    MakeSymmetryReal,
    SmoothJoins,
    MatchCurvature,
    KeepJoinsSmooth,
    Group,
    Ungroup,
    Symmetry,
    // Flight
    Play,
    Stop,
    Home,
    // Help
    KeyboardShortcuts,
    About,
};
inline constexpr int kCommandCount = static_cast<int>(CommandId::About) + 1;

enum class Menu : uint8_t { File, Edit, View, Tools, Surface, Flight, Help };
inline constexpr int kMenuCount = static_cast<int>(Menu::Help) + 1;

enum class Submenu : uint8_t { None, OpenRecent, ReferencePicture };

const char* menuTitle(Menu menu);
const char* submenuTitle(Submenu submenu);

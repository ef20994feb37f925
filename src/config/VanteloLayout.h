#pragma once

#include <QRect>
#include <QString>

#include <array>
#include <stdexcept>
#include <string_view>

// The design of the configuration window: where every control sits (pixels of the window's client
// area, or of fraDirectory for the four browsing lists), its caption, its tooltip, and for a control
// without a caption the name a screen reader says for it. The window is
// built from this table and the layout test checks the built window against the same table, so a
// control is placed and described in exactly one place.
namespace vantelo::layout {

inline constexpr int ClientWidth = 556;
inline constexpr int ClientHeight = 354;
inline constexpr std::string_view WindowCaption = "Personal Vantelo Creator";

enum class Container { Window, Frame };

struct ControlSpec
{
    std::string_view name;
    int index; // position in a control array; -1 for a single control
    Container container;
    QRect rect; // left, top, width, height
    std::string_view caption;
    std::string_view tooltip;
    std::string_view spokenName{}; // for a control whose caption, or text, cannot name it
};

// clang-format off
inline constexpr std::array Controls{
    ControlSpec{"fraDirectory", -1, Container::Window, {4, 4, 157, 273},   "", "", "Picture browser"},
    ControlSpec{"DriveList",    -1, Container::Frame,  {8, 16, 141, 21},   "", "", "Drive"},
    ControlSpec{"DirList",      -1, Container::Frame,  {8, 40, 141, 81},   "", "", "Folders"},
    ControlSpec{"cboFiletype",  -1, Container::Frame,  {8, 128, 141, 21},  "", "", "File type"},
    ControlSpec{"FileList",     -1, Container::Frame,  {8, 156, 141, 110}, "", "", "Picture files"},
    ControlSpec{"imgPreview",   -1, Container::Window, {204, 36, 125, 145}, "", "", "Preview"},
    ControlSpec{"lblPicName",   -1, Container::Window, {176, 184, 181, 17}, "", ""},
    ControlSpec{"imgTemp",      -1, Container::Window, {172, 212, 21, 21},  "", ""},
    ControlSpec{"cmdDemoSM",    -1, Container::Window, {172, 8, 57, 25},   "Demo SM", "Starts the Small Slide Show Demonstration"},
    ControlSpec{"cmdDemoLG",    -1, Container::Window, {240, 8, 57, 25},   "Demo LG", "Starts the Full Screen Slide Show Demonstration"},
    ControlSpec{"cmdColor",     -1, Container::Window, {312, 8, 49, 25},   "Color", "Sets the Background Color"},
    ControlSpec{"cmdPicture",    0, Container::Window, {244, 208, 49, 17}, "--->", "Add Single Item"},
    ControlSpec{"cmdPicture",    1, Container::Window, {244, 232, 49, 17}, "<---", "Remove Single Item"},
    ControlSpec{"cmdPicture",    2, Container::Window, {244, 264, 49, 17}, "===>", "Add All Selected Items"},
    ControlSpec{"cmdPicture",    3, Container::Window, {244, 288, 49, 17}, "<===", "Remove All Selected Items"},
    ControlSpec{"lvwMain",      -1, Container::Window, {372, 8, 173, 261}, "", "", "Slide list"},
    ControlSpec{"lblFileName",  -1, Container::Window, {376, 272, 165, 13}, "", ""},
    ControlSpec{"txtTimer",     -1, Container::Window, {8, 288, 25, 25},   "", "", "Seconds between slides"},
    ControlSpec{"cmdTimer",     -1, Container::Window, {36, 288, 57, 25},  "Set Timer", "Sets the Specific Time Between Slides"},
    ControlSpec{"optShowStyle",  0, Container::Window, {100, 284, 61, 13}, "Ordered", "View Pictures in Normal Order"},
    ControlSpec{"optShowStyle",  1, Container::Window, {100, 304, 61, 13}, "Random", "View Pictures in Random Order"},
    ControlSpec{"cmdSave",      -1, Container::Window, {364, 292, 57, 25}, "Save List", "Saves the List to a File"},
    ControlSpec{"cmdLoad",      -1, Container::Window, {428, 292, 57, 25}, "Load List", "Loads a List From a Saved File"},
    ControlSpec{"cmdExit",      -1, Container::Window, {496, 292, 53, 25}, "E&xit", ""},
    ControlSpec{"stbVantelo",   -1, Container::Window, {0, 325, 556, 29},  "", "", "Status bar"},
};
// clang-format on

// The entry for a control; asking for a name the table lacks is a programming error.
constexpr const ControlSpec& control(std::string_view name, int index = -1)
{
    for (const ControlSpec& design : Controls) {
        if (design.name == name && design.index == index)
            return design;
    }
    throw std::logic_error("no such control in the layout table");
}

// A design text as the widgets take it.
inline QString designText(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

enum class PanelKind { Text, Date, Time };

struct PanelSpec
{
    PanelKind kind;
    int width;
    std::string_view tooltip;
};

// The status bar's panels, left to right; handlers number them from 1.
inline constexpr std::array StatusPanels{
    PanelSpec{PanelKind::Text, 31, "About Personal Vantelo Creator"},
    PanelSpec{PanelKind::Text, 277, "Image Path"},
    PanelSpec{PanelKind::Text, 73, "Image Size (Pixels)"},
    PanelSpec{PanelKind::Text, 47, "Image Color Depth"},
    PanelSpec{PanelKind::Date, 73, "Current Date"},
    PanelSpec{PanelKind::Time, 53, "Current Time"},
};

} // namespace vantelo::layout

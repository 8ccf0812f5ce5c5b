#pragma once

#include "dialog_values.h"

#include "settings/scales.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <tuple>

// The main dialog as data, shared by every face: texts are UTF-8, in Japanese; each
// face looks them up in the text catalogue for the interface language.
//
// The main dialog as data: one row per control, in template order. Template order is
// the tab order and fixes the extent of the radio groups, so rows must not be sorted.

enum class ControlKind {
    GroupBox,
    RowLabel,  // static text that names a row
    UnitLabel, // static text after a value edit
    Label,     // any other static text
    Picture,
    Edit, // always read-only: the user changes values only through the other controls
    Combo,
    Radio,
    CheckBox,
    CheckButton, // a check box drawn as a push button
    PushButton,
    Slider,
};

namespace style {
inline constexpr unsigned none = 0;
inline constexpr unsigned group = 1U << 0; // starts a radio group
inline constexpr unsigned tabStop = 1U << 1;
inline constexpr unsigned hidden = 1U << 2;
inline constexpr unsigned right = 1U << 3;
inline constexpr unsigned noBorder = 1U << 4;
} // namespace style

// Rectangle in dialog units from the top left of the client area.
struct DialogRect {
    int x;
    int y;
    int width;
    int height;
};

enum class BindKind {
    None,
    UnitId,     // "%u", 0..65535 on Save
    Integer,    // "%d"
    GearRatio,  // "%.2f", shown only: the slider owns the value
    Text,       // window strings
    Combo,      // selected item index, -1 for none
    RadioGroup, // position of the checked button, -1 for none; bound at the group's leader
    CheckState,
};

using IntegerRef = int& (*)(DialogValues&);
using TextRef = std::string& (*)(DialogValues&);

struct Binding {
    BindKind kind = BindKind::None;
    IntegerRef integer = nullptr;
    TextRef text = nullptr;
};

// What a user action on the control runs.
enum class Handler {
    None,
    ModeChanged,
    ControlResponse,
    ChannelChanged,
    SliderScroll,
    LimitInput,
    LimitSet,
    ReadFromUnit,
    WriteToUnit,
};

struct ControlRow {
    int id; // staticId for controls nothing refers to
    ControlKind kind;
    const char* text;
    DialogRect rect;
    unsigned styles;
    Binding binding;
    Handler handler;
    // Labels and group boxes: the controls they name for assistive technology.
    std::array<int, 2> names;
    // For the few controls without a label of their own.
    const char* accessibleName;
};

inline constexpr int staticId = -1;

// Ids the program refers to by name.
namespace ctl {
inline constexpr int unitId = 1001;
inline constexpr int firstChannel = 3000;
inline constexpr int inputButton = 1051;
inline constexpr int setButton = 1052;
inline constexpr int readButton = 1059;
inline constexpr int writeButton = 1060;
inline constexpr int servoSlider = 1058;
inline constexpr int guidance = 1061;
inline constexpr int logo = 1068;
} // namespace ctl

std::span<const ControlRow> controlTable();
// The row of a control with an id; throws std::logic_error for an id the table lacks.
const ControlRow& controlRow(int id);

// Where a radio button sits: the id of its group's first button, and its position in
// the group. A group runs from a control with the group style to the next one.
struct RadioPlace {
    int groupId;
    int position;
};
// Nothing for a control that is no radio button.
std::optional<RadioPlace> radioPlace(int id);

// A slider control: its id and the scale of the field it shows.
struct SliderSetup : SliderScale {
    int id;
};

// Set-up order; the settings sliders are also positioned in this order.
extern const std::array<SliderSetup, std::tuple_size_v<decltype(sliderScales)>> sliderTable;

// The order in which Show and Save visit the bound controls; radio groups by leader.
std::span<const int> exchangeOrder();

// The items of every channel combo box; the bound value is the item's index.
std::span<const char* const> channelItems();

// The dialog template's size in dialog units.
inline constexpr DialogRect dialogTemplateSize{0, 0, 599, 444};

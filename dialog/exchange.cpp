// The dialog exchange: values to controls (Show) and back (Save), over the bound
// controls in the exchange order.

#include "dialog/dialog_logic.h"

#include "dialog/control_table.h"

#include "resources/text_catalogue.h"
#include "settings/scales.h"

#include <charconv>
#include <cstdint>
#include <string_view>

namespace {

// A whole number in an edit's text: blanks around it and a plus sign allowed, nothing
// else. False for anything more, and for a number its type cannot hold.
template <class Number> bool parseNumber(std::string_view text, Number& value) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') {
        text.remove_prefix(1);
    }
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && !text.empty();
}

} // namespace

void DialogLogic::Show() {
    for (int id : exchangeOrder()) {
        const Binding& binding = controlRow(id).binding;
        switch (binding.kind) {
        case BindKind::None:
            break;
        case BindKind::UnitId:
            view.setText(id, std::to_string(dialogValues.panel.unitId));
            break;
        case BindKind::Integer:
            view.setText(id, std::to_string(binding.integer(dialogValues)));
            break;
        case BindKind::GearRatio:
            view.setText(id, formatGearRatio(dialogValues.panel.gearRatio));
            break;
        case BindKind::Text:
            view.setText(id, binding.text(dialogValues));
            break;
        case BindKind::Combo:
            view.setComboIndex(id, binding.integer(dialogValues));
            break;
        case BindKind::RadioGroup:
            view.setRadioChoice(id, binding.integer(dialogValues));
            break;
        case BindKind::CheckState:
            view.setChecked(id, binding.integer(dialogValues) != 0);
            break;
        }
    }
}

bool DialogLogic::Save() {
    // The edits are read-only and filled by the program, so a text that does not parse
    // means something is badly wrong; the user is told, as for any form.
    const auto refuse = [this](int id, const char* why) {
        view.message(localText(why), DialogView::Icon::Warning, DialogView::Buttons::Ok);
        view.focus(id);
        return false;
    };

    for (int id : exchangeOrder()) {
        const Binding& binding = controlRow(id).binding;
        switch (binding.kind) {
        case BindKind::None:
        case BindKind::GearRatio: // the gear ratio follows its slider, never its text
            break;
        case BindKind::UnitId: {
            std::uint64_t value = 0;
            if (!parseNumber(view.text(id), value)) {
                return refuse(id, "Enter a positive integer.");
            }
            if (value > 65535) {
                return refuse(id, "Enter an integer between 0 and 65535.");
            }
            dialogValues.panel.unitId = static_cast<std::uint32_t>(value);
            break;
        }
        case BindKind::Integer: {
            int value = 0;
            if (!parseNumber(view.text(id), value)) {
                return refuse(id, "Enter an integer.");
            }
            binding.integer(dialogValues) = value;
            break;
        }
        case BindKind::Text:
            binding.text(dialogValues) = view.text(id);
            break;
        case BindKind::Combo:
            binding.integer(dialogValues) = view.comboIndex(id);
            break;
        case BindKind::RadioGroup:
            binding.integer(dialogValues) = view.radioChoice(id);
            break;
        case BindKind::CheckState:
            binding.integer(dialogValues) = view.checked(id) ? 1 : 0;
            break;
        }
    }
    return true;
}

#include "dialog/control_table.h"

#include "varnel_config.h"

#include <stdexcept>

namespace {

using K = ControlKind;
using H = Handler;
using namespace style;

template <auto Member> int& field(DialogValues& values) {
    return values.panel.*Member;
}

template <auto Member, std::size_t Index> int& element(DialogValues& values) {
    return (values.panel.*Member)[Index];
}

template <auto Member> std::string& windowText(DialogValues& values) {
    return values.*Member;
}

int& limitPointMode(DialogValues& values) {
    return values.limitPointMode;
}

constexpr Binding integer(IntegerRef ref) {
    return {BindKind::Integer, ref, nullptr};
}

// Short constructors keep each row of the table on one line.

constexpr ControlRow groupBox(const char* title, DialogRect rect, std::array<int, 2> names = {}) {
    return {staticId, K::GroupBox, title, rect, none, {}, H::None, names, nullptr};
}

constexpr ControlRow rowLabel(const char* text, DialogRect rect, std::array<int, 2> names,
                              unsigned styles = group | right) {
    return {staticId, K::RowLabel, text, rect, styles, {}, H::None, names, nullptr};
}

constexpr ControlRow unitLabel(const char* text, DialogRect rect) {
    return {staticId, K::UnitLabel, text, rect, none, {}, H::None, {}, nullptr};
}

constexpr ControlRow label(const char* text, DialogRect rect, std::array<int, 2> names = {},
                           unsigned styles = none) {
    return {staticId, K::Label, text, rect, styles, {}, H::None, names, nullptr};
}

constexpr ControlRow combo(int id, DialogRect rect, IntegerRef ref, Handler handler) {
    return {id,      K::Combo, nullptr, rect, tabStop, {BindKind::Combo, ref, nullptr},
            handler, {},       nullptr};
}

constexpr ControlRow radio(int id, const char* text, DialogRect rect, Handler handler,
                           IntegerRef leaderOf = nullptr) {
    return {id,
            K::Radio,
            text,
            rect,
            leaderOf ? group : none,
            leaderOf ? Binding{BindKind::RadioGroup, leaderOf, nullptr} : Binding{},
            handler,
            {},
            nullptr};
}

constexpr ControlRow slider(int id, DialogRect rect) {
    return {id, K::Slider, nullptr, rect, tabStop, {}, H::SliderScroll, {}, nullptr};
}

constexpr ControlRow edit(int id, DialogRect rect, Binding binding, unsigned styles = right,
                          const char* accessibleName = nullptr) {
    return {id, K::Edit, nullptr, rect, styles, binding, H::None, {}, accessibleName};
}

constexpr ControlRow button(int id, const char* text, DialogRect rect, Handler handler) {
    return {id, K::PushButton, text, rect, tabStop, {}, handler, {}, nullptr};
}

constexpr DialogRect valueEdit(int x, int y) {
    return {x, y, 24, 14};
}
constexpr DialogRect sliderAt(int x, int y) {
    return {x, y, 100, 24};
}

// Template order. Row labels name their edit and slider; the group boxes and labels
// that name nothing carry no names.
constexpr std::array table{
    ControlRow{1002,
               K::CheckBox,
               "Not using ID",
               {12, 30, 53, 10},
               tabStop | hidden,
               {},
               H::None,
               {},
               nullptr},
    combo(3000, {62, 87, 29, 30}, element<&PanelValues::channelMap, 0>, H::ChannelChanged),
    combo(3001, {62, 107, 29, 30}, element<&PanelValues::channelMap, 1>, H::ChannelChanged),
    combo(3002, {62, 127, 29, 30}, element<&PanelValues::channelMap, 2>, H::ChannelChanged),
    combo(3003, {62, 147, 29, 30}, element<&PanelValues::channelMap, 3>, H::ChannelChanged),
    combo(3004, {62, 167, 29, 30}, element<&PanelValues::channelMap, 4>, H::ChannelChanged),
    combo(3005, {62, 187, 29, 30}, element<&PanelValues::channelMap, 5>, H::ChannelChanged),
    combo(3006, {62, 207, 29, 30}, element<&PanelValues::channelMap, 6>, H::ChannelChanged),
    combo(3007, {62, 227, 29, 30}, element<&PanelValues::channelMap, 7>, H::ChannelChanged),
    combo(1003, {62, 248, 29, 30}, field<&PanelValues::killSwitchChannel>, H::ChannelChanged),
    combo(1004, {62, 269, 29, 12}, field<&PanelValues::rpmChannel>, H::ChannelChanged),
    combo(1064, {62, 290, 29, 12}, field<&PanelValues::governorSwitchChannel>, H::ChannelChanged),
    radio(1007, "デジタルサーボ", {270, 42, 55, 11}, H::ModeChanged,
          field<&PanelValues::servoType>),
    radio(1009, "アナログサーボ", {270, 54, 58, 11}, H::ModeChanged),
    radio(1010, "メインローター", {454, 38, 53, 10}, H::ModeChanged,
          field<&PanelValues::rpmDisplayMode>),
    radio(1011, "エンジン", {454, 51, 53, 10}, H::ModeChanged),
    radio(1012, "無効", {182, 44, 53, 11}, H::ModeChanged, field<&PanelValues::governorSwitch>),
    radio(1013, "有効", {182, 56, 29, 11}, H::ModeChanged),
    radio(1014, "Moderate", {118, 91, 48, 10}, H::ControlResponse,
          field<&PanelValues::controlResponse>),
    radio(1015, "Middle", {174, 91, 43, 10}, H::ControlResponse),
    radio(1016, "Quick", {222, 91, 43, 10}, H::ControlResponse),
    radio(1017, "Silent", {272, 91, 40, 10}, H::ControlResponse),
    slider(1046, sliderAt(225, 111)),
    slider(1048, sliderAt(225, 138)),
    slider(1050, sliderAt(225, 165)),
    slider(1028, sliderAt(225, 192)),
    slider(1031, sliderAt(225, 273)),
    slider(1034, sliderAt(225, 300)),
    slider(1063, sliderAt(225, 327)),
    slider(1036, sliderAt(225, 246)),
    slider(1038, sliderAt(479, 129)),
    slider(1040, sliderAt(479, 151)),
    slider(1044, sliderAt(479, 173)),
    slider(1066, sliderAt(479, 196)),
    slider(1058, sliderAt(427, 289)),
    groupBox("ID", {6, 0, 66, 41}, {1001}),
    groupBox("チャンネル設定", {14, 70, 83, 294}),
    groupBox("サーボ選択", {264, 29, 66, 43}),
    groupBox("回転数表示モード", {449, 27, 70, 42}),
    groupBox("ガバナーON/OFFスイッチ", {174, 31, 86, 42}),
    groupBox("ガバナーベーシック設定", {103, 11, 231, 358}),
    groupBox("制御レスポンス", {112, 79, 212, 28}),
    groupBox("ガバナーエクスパート設定", {342, 11, 244, 213}),
    groupBox("サーボリミットポイント設定", {343, 235, 240, 108}, {1061}),
    edit(1001, {18, 12, 42, 14}, {BindKind::UnitId}, right | tabStop),
    edit(1018, valueEdit(181, 117), integer(element<&PanelValues::targetRpm, 0>)),
    edit(1021, valueEdit(181, 144), integer(element<&PanelValues::targetRpm, 1>)),
    edit(1024, valueEdit(181, 171), integer(element<&PanelValues::targetRpm, 2>)),
    edit(1027, valueEdit(181, 198), {BindKind::GearRatio}),
    edit(1030, valueEdit(181, 279), integer(field<&PanelValues::governorGain>)),
    edit(1033, valueEdit(181, 306), integer(field<&PanelValues::lowLimitHover>)),
    edit(1062, valueEdit(181, 333), integer(field<&PanelValues::lowLimitIdleUp>)),
    edit(1035, valueEdit(181, 252), integer(field<&PanelValues::stickSwitch>)),
    edit(1037, valueEdit(436, 135), integer(field<&PanelValues::rpmUpDelay>)),
    edit(1039, valueEdit(436, 157), integer(field<&PanelValues::rpmDownDelay>)),
    edit(1065, valueEdit(436, 179), integer(field<&PanelValues::startDelay>)),
    edit(1067, valueEdit(436, 202), integer(field<&PanelValues::governorOnRpm>)),
    edit(1053, {458, 251, 35, 14},
         {BindKind::Text, nullptr, windowText<&DialogValues::limitLabel1>}, right | noBorder,
         "リミットポイント1の向き"),
    edit(1055, {458, 273, 35, 14},
         {BindKind::Text, nullptr, windowText<&DialogValues::limitLabel2>}, right | noBorder,
         "リミットポイント2の向き"),
    edit(1054, valueEdit(499, 248), integer(field<&PanelValues::limitPoint1>), right,
         "リミットポイント1"),
    edit(1056, valueEdit(499, 272), integer(field<&PanelValues::limitPoint2>), right,
         "リミットポイント2"),
    edit(1057, valueEdit(397, 296), integer(field<&PanelValues::servoPosition>)),
    edit(1061, {350, 320, 179, 14}, {BindKind::Text, nullptr, windowText<&DialogValues::guidance>},
         tabStop),
    edit(1043, valueEdit(181, 225), integer(field<&PanelValues::poleNumber>)),
    ControlRow{ctl::inputButton,
               K::CheckButton,
               "入力",
               {349, 253, 48, 24},
               tabStop,
               {BindKind::CheckState, limitPointMode, nullptr},
               H::LimitInput,
               {},
               nullptr},
    button(ctl::setButton, "設定", {403, 253, 48, 24}, H::LimitSet),
    button(ctl::readButton, "読み込み", {355, 349, 78, 24}, H::ReadFromUnit),
    button(ctl::writeButton, "書き込み", {445, 349, 78, 24}, H::WriteToUnit),
    rowLabel("回転数設定1", {115, 119, 55, 9}, {1018, 1046}),
    rowLabel("回転数設定2", {120, 146, 51, 9}, {1021, 1048}),
    rowLabel("回転数設定3", {114, 174, 58, 9}, {1024, 1050}),
    rowLabel("ギヤ比設定", {117, 200, 54, 8}, {1027, 1028}),
    rowLabel("ガバナーゲイン", {121, 281, 56, 9}, {1030, 1031}),
    rowLabel("ローリミットホバリング", {109, 309, 70, 8}, {1033, 1034}),
    rowLabel("ローリミットアイドルアップ", {106, 335, 74, 8}, {1062, 1063}, group),
    rowLabel("スティックスイッチ", {115, 255, 62, 9}, {1035, 1036}),
    rowLabel("回転数アップディレー", {348, 137, 81, 8}, {1037, 1038}),
    rowLabel("回転数ダウンディレー", {361, 159, 69, 8}, {1039, 1040}),
    rowLabel("ポールナンバー", {119, 228, 56, 8}, {1043, 1069}),
    rowLabel("サーボ位置", {350, 298, 41, 8}, {1057, 1058}),
    radio(1006, "有効", {117, 55, 30, 11}, H::ModeChanged, field<&PanelValues::governorEnabled>),
    radio(1005, "無効", {117, 42, 30, 11}, H::ModeChanged),
    groupBox("ガバナー動作", {109, 30, 59, 42}),
    ControlRow{
        ctl::logo, K::Picture, nullptr, {357, 382, 175, 32}, none, {}, H::None, {}, "Varnel"},
    unitLabel("rpm", {209, 119, 14, 14}),
    unitLabel("rpm", {209, 145, 14, 14}),
    unitLabel("rpm", {209, 172, 14, 14}),
    unitLabel("%", {209, 281, 10, 14}),
    unitLabel("%", {209, 308, 10, 14}),
    unitLabel("%", {209, 335, 10, 14}),
    unitLabel("%", {209, 255, 10, 14}),
    unitLabel("t", {209, 200, 10, 14}),
    unitLabel("Frm", {463, 137, 16, 9}),
    unitLabel("Frm", {463, 159, 14, 9}),
    rowLabel("スタートディレー", {370, 181, 61, 8}, {1065, 1044}),
    unitLabel("Frm", {464, 181, 14, 9}),
    rowLabel("ガバナーオン回転数設定", {349, 204, 81, 8}, {1067, 1066}),
    unitLabel("%", {465, 204, 10, 9}),
    slider(1069, sliderAt(225, 219)),
    unitLabel("p", {209, 227, 10, 14}),
    label("Varnel  Ver." VARNEL_VERSION, {355, 421, 89, 10}),
    label("CH1", {36, 89, 22, 8}, {3000}),
    label("CH2", {36, 109, 22, 8}, {3001}),
    label("CH3", {36, 129, 22, 8}, {3002}),
    label("CH4", {36, 149, 22, 8}, {3003}),
    label("CH5", {36, 169, 19, 9}, {3004}),
    label("CH6", {36, 189, 17, 9}, {3005}),
    label("CH7", {36, 209, 18, 9}, {3006}),
    label("CH8", {36, 229, 18, 10}, {3007}),
    label("キルスイッチ", {18, 250, 37, 8}, {1003}),
    label("回転数", {24, 271, 29, 12}, {1004}, right),
    label("ガバナON/OFF", {15, 292, 46, 12}, {1064}),
    groupBox("S.BUSベーシック設定", {10, 54, 90, 316}),
    groupBox("スロットルデータモード", {348, 74, 170, 27}),
    radio(3008, "Optimize", {354, 85, 48, 10}, H::ModeChanged,
          field<&PanelValues::throttleDataMode>),
    radio(3009, "Fixed", {408, 85, 43, 10}, H::ModeChanged),
    radio(3010, "Tx.Curve", {454, 85, 43, 10}, H::ModeChanged),
    slider(1072, sliderAt(479, 107)),
    edit(1073, valueEdit(436, 113), integer(field<&PanelValues::feedForwardCyclic>)),
    rowLabel("フィードフォワードサイクリック", {344, 115, 87, 8}, {1073, 1072}),
    unitLabel("%", {465, 115, 10, 9}),
    radio(1008, "レブリミットモード", {354, 40, 63, 11}, H::ModeChanged,
          field<&PanelValues::workingMode>),
    radio(1019, "ガバナーモード", {354, 52, 61, 11}, H::ModeChanged),
    groupBox("ガバナーワーキングモード", {348, 27, 92, 43}),
    radio(3012, "ACT", {33, 392, 49, 11}, H::ModeChanged, field<&PanelValues::telemetry>),
    radio(3011, "INH", {33, 404, 49, 11}, H::ModeChanged),
    groupBox("テレメトリー", {25, 381, 70, 42}),
    radio(3014, "S.BUS2", {125, 391, 49, 11}, H::ModeChanged, field<&PanelValues::busMode>),
    radio(3013, "RS485", {125, 404, 49, 11}, H::ModeChanged),
    groupBox("通信", {117, 380, 70, 42}),
    radio(3016, "ACT", {215, 391, 47, 11}, H::ModeChanged, field<&PanelValues::canComm>),
    radio(3015, "INH", {215, 405, 49, 11}, H::ModeChanged),
    groupBox("CAN通信", {208, 380, 70, 42}),
};

constexpr std::array exchange{
    1001, 3000, 3001, 3002, 3003, 3004, 3005, 3006, 3007, 1003, 1004, 1064, 1006, 1012, 1007,
    1014, 1018, 1021, 1024, 1027, 1043, 1035, 1030, 1033, 1062, 1008, 1010, 3008, 1073, 1037,
    1039, 1065, 1067, 3012, 3014, 3016, 1054, 1056, 1053, 1055, 1057, 1061, 1051,
};

constexpr std::array<const char*, 18> channels{"1",  "2",  "3",  "4",  "5",   "6",
                                               "7",  "8",  "9",  "10", "11",  "12",
                                               "13", "14", "15", "16", "DG1", "DG2"};

} // namespace

const std::array<SliderSetup, std::tuple_size_v<decltype(sliderScales)>> sliderTable{{
    {sliderScale(SliderField::TargetRpm0), 1046},
    {sliderScale(SliderField::TargetRpm1), 1048},
    {sliderScale(SliderField::TargetRpm2), 1050},
    {sliderScale(SliderField::GearRatio), 1028},
    {sliderScale(SliderField::PoleNumber), 1069},
    {sliderScale(SliderField::StickSwitch), 1036},
    {sliderScale(SliderField::GovernorGain), 1031},
    {sliderScale(SliderField::LowLimitHover), 1034},
    {sliderScale(SliderField::LowLimitIdleUp), 1063},
    {sliderScale(SliderField::FeedForwardCyclic), 1072},
    {sliderScale(SliderField::RpmUpDelay), 1038},
    {sliderScale(SliderField::RpmDownDelay), 1040},
    {sliderScale(SliderField::StartDelay), 1044},
    {sliderScale(SliderField::GovernorOnRpm), 1066},
    {sliderScale(SliderField::Servo), ctl::servoSlider},
}};

std::span<const ControlRow> controlTable() {
    return table;
}
std::span<const int> exchangeOrder() {
    return exchange;
}
std::span<const char* const> channelItems() {
    return channels;
}

const ControlRow& controlRow(int id) {
    for (const ControlRow& row : table) {
        if (row.id == id) {
            return row;
        }
    }
    throw std::logic_error("control missing from the table");
}

std::optional<RadioPlace> radioPlace(int id) {
    RadioPlace place{staticId, 0};
    bool groupStarted = false;
    for (const ControlRow& row : table) {
        if (row.styles & style::group) {
            groupStarted = true;
        }
        if (row.kind != ControlKind::Radio) {
            continue;
        }
        if (groupStarted || place.groupId == staticId) {
            place = {row.id, 0};
            groupStarted = false;
        } else {
            ++place.position;
        }
        if (row.id == id) {
            return place;
        }
    }
    return std::nullopt;
}

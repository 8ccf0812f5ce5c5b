#include "resources/field_names.h"

#include <array>

namespace {

struct Name {
    const char* key;
    const char* japanese;
    const char* english;
};

constexpr std::array fieldNames{
    Name{"unit.id", "ID", "ID"},
    Name{"channels.ch1", "CH1", "CH1"},
    Name{"channels.ch2", "CH2", "CH2"},
    Name{"channels.ch3", "CH3", "CH3"},
    Name{"channels.ch4", "CH4", "CH4"},
    Name{"channels.ch5", "CH5", "CH5"},
    Name{"channels.ch6", "CH6", "CH6"},
    Name{"channels.ch7", "CH7", "CH7"},
    Name{"channels.ch8", "CH8", "CH8"},
    Name{"channels.kill_switch", "キルスイッチ", "Kill switch"},
    // The dialog's label is only "回転数" beside the channel combo; here the row stands
    // alone, so it says which channel.
    Name{"channels.rpm", "回転数チャンネル", "RPM channel"},
    Name{"channels.governor_switch", "ガバナON/OFF", "Gov. ON/OFF"},
    Name{"servo.limit_point_2", "リミットポイント2", "Limit point 2"},
    Name{"servo.limit_point_1", "リミットポイント1", "Limit point 1"},
    Name{"governor.target_rpm_1", "回転数設定1", "Target RPM 1"},
    Name{"governor.target_rpm_2", "回転数設定2", "Target RPM 2"},
    Name{"governor.target_rpm_3", "回転数設定3", "Target RPM 3"},
    Name{"governor.gear_ratio", "ギヤ比設定", "Gear ratio"},
    Name{"governor.pole_number", "ポールナンバー", "Pole number"},
    Name{"governor.feed_forward_cyclic", "フィードフォワードサイクリック", "Feed-forward cyclic"},
    Name{"governor.gain", "ガバナーゲイン", "Governor gain"},
    Name{"governor.on_rpm", "ガバナーオン回転数設定", "Governor-on RPM"},
    Name{"throttle.low_limit_idle_up", "ローリミットアイドルアップ", "Low limit idle-up"},
    Name{"governor.rpm_up_delay", "回転数アップディレー", "RPM up delay"},
    Name{"governor.rpm_down_delay", "回転数ダウンディレー", "RPM down delay"},
    Name{"governor.start_delay", "スタートディレー", "Start delay"},
    Name{"throttle.low_limit_hover", "ローリミットホバリング", "Low limit hover"},
    Name{"governor.enabled", "ガバナー動作", "Governor"},
    Name{"governor.mode", "ガバナーワーキングモード", "Working mode"},
    Name{"governor.on_off_switch", "ガバナーON/OFFスイッチ", "Gov. ON/OFF switch"},
    Name{"governor.rpm_display", "回転数表示モード", "RPM display"},
    Name{"throttle.data_mode", "スロットルデータモード", "Throttle data mode"},
    Name{"servo.type", "サーボ選択", "Servo type"},
    Name{"comm.telemetry", "テレメトリー", "Telemetry"},
    Name{"comm.bus", "通信", "Bus"},
    Name{"comm.can", "CAN通信", "CAN bus"},
    Name{"governor.control_response", "制御レスポンス", "Control response"},
    Name{"throttle.stick_switch", "スティックスイッチ", "Stick switch"},
};

struct ValueName {
    const char* key;
    std::uint32_t code;
    const char* japanese;
    const char* english;
};

// The radio buttons' labels; the first button of a two-button group stands for a set
// bit.
constexpr std::array valueNames{
    ValueName{"governor.enabled", 1, "有効", "On"},
    ValueName{"governor.enabled", 0, "無効", "Off"},
    ValueName{"governor.mode", 1, "レブリミットモード", "Rev limit"},
    ValueName{"governor.mode", 0, "ガバナーモード", "Governor"},
    ValueName{"governor.on_off_switch", 1, "無効", "Off"},
    ValueName{"governor.on_off_switch", 0, "有効", "On"},
    ValueName{"governor.rpm_display", 1, "メインローター", "Main rotor"},
    ValueName{"governor.rpm_display", 0, "エンジン", "Engine"},
    ValueName{"throttle.data_mode", 0, "Optimize", "Optimize"},
    ValueName{"throttle.data_mode", 1, "Fixed", "Fixed"},
    ValueName{"throttle.data_mode", 2, "Tx.Curve", "Tx.Curve"},
    ValueName{"servo.type", 1, "デジタルサーボ", "Digital"},
    ValueName{"servo.type", 0, "アナログサーボ", "Analog"},
    ValueName{"comm.telemetry", 1, "ACT", "ACT"},
    ValueName{"comm.telemetry", 0, "INH", "INH"},
    ValueName{"comm.bus", 1, "S.BUS2", "S.BUS2"},
    ValueName{"comm.bus", 0, "RS485", "RS485"},
    ValueName{"comm.can", 1, "ACT", "ACT"},
    ValueName{"comm.can", 0, "INH", "INH"},
    ValueName{"governor.control_response", 0, "Moderate", "Moderate"},
    ValueName{"governor.control_response", 1, "Middle", "Middle"},
    ValueName{"governor.control_response", 2, "Quick", "Quick"},
    ValueName{"governor.control_response", 3, "Silent", "Silent"},
};

template <class Row> const char* inLanguage(const Row& row, Language language) {
    return language == Language::English ? row.english : row.japanese;
}

} // namespace

const char* fieldName(std::string_view key, Language language) {
    for (const Name& name : fieldNames) {
        if (name.key == key) {
            return inLanguage(name, language);
        }
    }
    return nullptr;
}

const char* valueName(std::string_view key, std::uint32_t code, Language language) {
    for (const ValueName& name : valueNames) {
        if (name.key == key && name.code == code) {
            return inLanguage(name, language);
        }
    }
    return nullptr;
}

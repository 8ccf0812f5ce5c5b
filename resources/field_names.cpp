#include "resources/field_names.h"

#include <array>
#include <string_view>

namespace {

struct Entry {
    const char* japanese;
    const char* english;
};

constexpr std::array entries{
    Entry{"バックアップを開く(&B)...", "Open &Backup..."},
    Entry{"バックアップを開く", "Open Backup"},
    Entry{"バックアップ(&L):", "&Backups:"},
    Entry{"日時", "Date and time"},
    Entry{"違う項目", "Differences"},
    Entry{"現在の値との違い(&D):", "&Differences from the values shown now:"},
    Entry{"項目", "Setting"},
    Entry{"バックアップ", "Backup"},
    Entry{"現在の値", "Shown now"},
    Entry{"開く(&O)", "&Open"},
    Entry{"キャンセル", "Cancel"},
    Entry{"ID %1", "ID %1"},
    Entry{"読めません", "Unreadable"},
    Entry{"違いはありません", "No differences"},
    Entry{"バックアップはありません。バックアップの保存先: %1",
          "There are no backups. Backups are kept in %1"},
    Entry{"バックアップのフォルダーを読み込めません: %1", "The backup folder cannot be read: %1"},
    Entry{"ID", "ID"},
    Entry{"CH1", "CH1"},
    Entry{"CH2", "CH2"},
    Entry{"CH3", "CH3"},
    Entry{"CH4", "CH4"},
    Entry{"CH5", "CH5"},
    Entry{"CH6", "CH6"},
    Entry{"CH7", "CH7"},
    Entry{"CH8", "CH8"},
    Entry{"キルスイッチ", "Kill switch"},
    Entry{"回転数チャンネル", "RPM channel"},
    Entry{"ガバナON/OFF", "Gov. ON/OFF"},
    Entry{"リミットポイント2", "Limit point 2"},
    Entry{"リミットポイント1", "Limit point 1"},
    Entry{"回転数設定1", "Target RPM 1"},
    Entry{"回転数設定2", "Target RPM 2"},
    Entry{"回転数設定3", "Target RPM 3"},
    Entry{"ギヤ比設定", "Gear ratio"},
    Entry{"ポールナンバー", "Pole number"},
    Entry{"フィードフォワードサイクリック", "Feed-forward cyclic"},
    Entry{"ガバナーゲイン", "Governor gain"},
    Entry{"ガバナーオン回転数設定", "Governor-on RPM"},
    Entry{"ローリミットアイドルアップ", "Low limit idle-up"},
    Entry{"回転数アップディレー", "RPM up delay"},
    Entry{"回転数ダウンディレー", "RPM down delay"},
    Entry{"スタートディレー", "Start delay"},
    Entry{"ローリミットホバリング", "Low limit hover"},
    Entry{"ガバナー動作", "Governor"},
    Entry{"ガバナーワーキングモード", "Working mode"},
    Entry{"ガバナーON/OFFスイッチ", "Gov. ON/OFF switch"},
    Entry{"回転数表示モード", "RPM display"},
    Entry{"スロットルデータモード", "Throttle data mode"},
    Entry{"サーボ選択", "Servo type"},
    Entry{"テレメトリー", "Telemetry"},
    Entry{"通信", "Bus"},
    Entry{"CAN通信", "CAN bus"},
    Entry{"制御レスポンス", "Control response"},
    Entry{"スティックスイッチ", "Stick switch"},
    Entry{"有効", "On"},
    Entry{"無効", "Off"},
    Entry{"レブリミットモード", "Rev limit"},
    Entry{"ガバナーモード", "Governor"},
    Entry{"メインローター", "Main rotor"},
    Entry{"エンジン", "Engine"},
    Entry{"Optimize", "Optimize"},
    Entry{"Fixed", "Fixed"},
    Entry{"Tx.Curve", "Tx.Curve"},
    Entry{"デジタルサーボ", "Digital"},
    Entry{"アナログサーボ", "Analog"},
    Entry{"ACT", "ACT"},
    Entry{"INH", "INH"},
    Entry{"S.BUS2", "S.BUS2"},
    Entry{"RS485", "RS485"},
    Entry{"Moderate", "Moderate"},
    Entry{"Middle", "Middle"},
    Entry{"Quick", "Quick"},
    Entry{"Silent", "Silent"},
};

} // namespace

const char* inLanguage(const char* japanese, Language language) {
    if (language == Language::Japanese) {
        return japanese;
    }
    for (const Entry& entry : entries) {
        if (std::string_view(entry.japanese) == japanese) {
            return entry.english;
        }
    }
    return japanese;
}

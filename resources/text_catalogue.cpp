#include "resources/text_catalogue.h"

#include <array>

namespace {

struct Entry {
    const char* japanese;
    const char* english;
};

// Every text of the interface, keyed by its Japanese: the controls, the menus, the
// messages and the few texts of the faces themselves. Texts the same in both languages
// (unit names, "ACT") are here too, so that a missing entry always means an omission.
constexpr std::array catalogue{
    Entry{"ID", "ID"},
    Entry{"S.BUSベーシック設定", "S.BUS basic settings"},
    Entry{"チャンネル設定", "Channels"},
    Entry{"ガバナーベーシック設定", "Governor basic settings"},
    Entry{"ガバナー動作", "Governor"},
    Entry{"ガバナーON/OFFスイッチ", "Gov. ON/OFF switch"},
    Entry{"サーボ選択", "Servo type"},
    Entry{"制御レスポンス", "Control response"},
    Entry{"ガバナーエクスパート設定", "Governor expert settings"},
    Entry{"ガバナーワーキングモード", "Working mode"},
    Entry{"回転数表示モード", "RPM display"},
    Entry{"スロットルデータモード", "Throttle data mode"},
    Entry{"サーボリミットポイント設定", "Servo limit points"},
    Entry{"テレメトリー", "Telemetry"},
    Entry{"通信", "Bus"},
    Entry{"CAN通信", "CAN bus"},
    Entry{"有効", "On"},
    Entry{"無効", "Off"},
    Entry{"デジタルサーボ", "Digital"},
    Entry{"アナログサーボ", "Analog"},
    Entry{"メインローター", "Main rotor"},
    Entry{"エンジン", "Engine"},
    Entry{"レブリミットモード", "Rev limit"},
    Entry{"ガバナーモード", "Governor"},
    Entry{"Moderate", "Moderate"},
    Entry{"Middle", "Middle"},
    Entry{"Quick", "Quick"},
    Entry{"Silent", "Silent"},
    Entry{"Optimize", "Optimize"},
    Entry{"Fixed", "Fixed"},
    Entry{"Tx.Curve", "Tx.Curve"},
    Entry{"ACT", "ACT"},
    Entry{"INH", "INH"},
    Entry{"S.BUS2", "S.BUS2"},
    Entry{"RS485", "RS485"},
    Entry{"回転数設定1", "Target RPM 1"},
    Entry{"回転数設定2", "Target RPM 2"},
    Entry{"回転数設定3", "Target RPM 3"},
    Entry{"ギヤ比設定", "Gear ratio"},
    Entry{"ポールナンバー", "Pole number"},
    Entry{"フィードフォワードサイクリック", "Feed-forward cyclic"},
    Entry{"ガバナーゲイン", "Governor gain"},
    Entry{"ガバナーオン回転数設定", "Governor-on RPM"},
    Entry{"ローリミットアイドルアップ", "Low limit idle-up"},
    Entry{"ローリミットホバリング", "Low limit hover"},
    Entry{"回転数アップディレー", "RPM up delay"},
    Entry{"回転数ダウンディレー", "RPM down delay"},
    Entry{"スタートディレー", "Start delay"},
    Entry{"スティックスイッチ", "Stick switch"},
    Entry{"キルスイッチ", "Kill switch"},
    Entry{"回転数", "RPM"},
    Entry{"ガバナON/OFF", "Gov. ON/OFF"},
    Entry{"CH1", "CH1"},
    Entry{"CH2", "CH2"},
    Entry{"CH3", "CH3"},
    Entry{"CH4", "CH4"},
    Entry{"CH5", "CH5"},
    Entry{"CH6", "CH6"},
    Entry{"CH7", "CH7"},
    Entry{"CH8", "CH8"},
    Entry{"サーボ位置", "Servo position"},
    Entry{"リミットポイント1", "Limit point 1"},
    Entry{"リミットポイント2", "Limit point 2"},
    Entry{"リミットポイント1の向き", "Limit point 1 side"},
    Entry{"リミットポイント2の向き", "Limit point 2 side"},
    Entry{"入力", "Input"},
    Entry{"設定", "Set"},
    Entry{"読み込み", "Read"},
    Entry{"書き込み", "Write"},
    Entry{"Not using ID", "Not using ID"},
    Entry{"%", "%"},
    Entry{"Frm", "Frm"},
    Entry{"rpm", "rpm"},
    Entry{"t", "t"},
    Entry{"p", "p"},
    Entry{"Varnel", "Varnel"},
    // The backup list; the field table names the RPM channel in full.
    Entry{"回転数チャンネル", "RPM channel"},
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
    Entry{"バックアップの保存先がありません", "There is no folder for backups."},
    Entry{"ファイル(&F)", "&File"},
    Entry{"初期化(&I)...", "&Initialize..."},
    Entry{"開く(&O)...\tCtrl+O", "&Open...\tCtrl+O"},
    Entry{"保存(&S)\tCtrl+S", "&Save\tCtrl+S"},
    Entry{"名前をつけて保存(&A)...", "Save &As..."},
    Entry{"終了(&X)\tAlt+F4", "E&xit\tAlt+F4"},
    Entry{"接続(&C)", "&Connection"},
    Entry{"読み込み(&R)\tCtrl+R", "&Read\tCtrl+R"},
    Entry{"書き込み(&W)\tCtrl+W", "&Write\tCtrl+W"},
    Entry{"ヘルプ(&H)", "&Help"},
    Entry{"バージョン情報(&A)", "&About Varnel"},
    Entry{"Varnelのバージョン情報(&A)...", "&About Varnel..."},
    Entry{"このデータはKelvoには使えません", "This data cannot be used with the Kelvo."},
    Entry{"読み込みエラー", "Read error."},
    Entry{"書き込みエラー", "Write error."},
    Entry{"データを書き込みました", "The settings have been written."},
    Entry{"データを初期化します。宜しいですか?", "Reset the settings to the factory values?"},
    Entry{"ファイル ", "File "},
    Entry{" は既に存在します。上書きしますか?", " already exists. Overwrite it?"},
    Entry{"ファイル %1 は既に存在します。上書きしますか?",
          "The file %1 already exists. Overwrite it?"},
    Entry{"ディスクに十分な空き容量がありません", "There is not enough free space on the disk."},
    Entry{"不明なエラーです", "Unknown error."},
    Entry{"接続に成功しました", "Connection succeeded."},
    Entry{"QB-7のデバイスドライバがインストールされていません",
          "The QB-7 device driver is not installed."},
    Entry{"QB-7が接続されていません", "The QB-7 is not connected."},
    Entry{"QB-7が正常に動作していません", "The QB-7 is not working properly."},
    // What both programs print when the candidate adapters cannot be listed.
    Entry{"D2XXドライバのライブラリを読み込めません: ",
          "the D2XX driver library cannot be loaded: "},
    Entry{"QB-7が見つかりません: USBシリアルポートもD2XXライブラリのデバイスもありません",
          "no QB-7 adapter found: no USB serial port, and no device of the D2XX library"},
    Entry{"リミットポイント1をセットして下さい", "Set limit point 1."},
    Entry{"リミットポイント2をセットして下さい", "Set limit point 2."},
    Entry{"書き込みボタンを押してください", "Press the Write button."},
    Entry{"設定範囲外です", "Out of the setting range."},
    Entry{"同じ方向にリミットポイントを設定することは出来ません",
          "The two limit points cannot be on the same side."},
    Entry{"リミット設定を中止しました", "Limit point setting cancelled."},
    Entry{"データがKelvoに書き込まれていません。終了する前に書き込みますか?",
          "The settings have not been written to the Kelvo. Write them before exiting?"},
    Entry{"データの変更を破棄します。", "Your changes to the settings will be discarded."},
    Entry{"上", "High"},
    Entry{"下", "Low"},
    Entry{"Version information Varnel", "About Varnel"},
    Entry{"Kelvo governor settings", "Kelvo governor settings"},
    Entry{"OK", "OK"},
    Entry{"Kelvo Files (*.gvx)", "Kelvo Files (*.gvx)"},
    Entry{"Enter a positive integer.", "Enter a positive integer."},
    Entry{"Enter an integer.", "Enter an integer."},
    Entry{"Enter an integer between 0 and 65535.", "Enter an integer between 0 and 65535."},
    Entry{
        "%1 "
        "を開く権限がありません。ユーザーをdialoutグループに追加してから、ログインし直して下さい。V"
        "arnelと共にインストールされるudevルールは、ログイン中のユーザーにこの権限を与えます。",
        "You may not open %1. Add your user to the dialout group, then log in again. The udev rule "
        "installed with Varnel gives this permission to the logged-in user."},
    Entry{
        "%1 "
        "は他のプログラムが使用中です。そのプログラム("
        "モデムマネージャ、点字ディスプレイのデーモンなど)を終了してから、もう一度起動して下さい。",
        "%1 is in use by another program. Close that program (a modem manager, a braille display "
        "daemon or the like), then start Varnel again."},
};

Language chosen = Language::Japanese;

} // namespace

void setTextLanguage(Language language) {
    chosen = language;
}

Language textLanguage() {
    return chosen;
}

const char* englishText(std::string_view japanese) {
    for (const Entry& entry : catalogue) {
        if (japanese == entry.japanese) {
            return entry.english;
        }
    }
    return nullptr;
}

std::string localText(std::string_view japanese) {
    if (chosen == Language::English) {
        if (const char* english = englishText(japanese)) {
            return english;
        }
    }
    return std::string(japanese);
}

std::string localMessage(int id) {
    return localText(messageText(id));
}

std::string localMessage(int id, std::string_view subject) {
    std::string text = localMessage(id);
    if (const auto at = text.find("%1"); at != std::string::npos) {
        text.replace(at, 2, subject);
    }
    return text;
}

std::string localOverwriteQuestion(std::string_view fileName) {
    // One text with a place for the name, so that each language can put it where its
    // grammar wants it; in Japanese it reads exactly as the two messages joined.
    const std::string source =
        std::string(messageText(msg::overwritePrefix)) + "%1" + messageText(msg::overwriteSuffix);
    std::string text = localText(source);
    text.replace(text.find("%1"), 2, fileName);
    return text;
}

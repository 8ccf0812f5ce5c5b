#include "resources/string_table.h"

#include <array>

namespace {

struct Entry {
    int id;
    const char* text;
};

constexpr std::array stringTable{
    Entry{msg::aboutMenuItem, "Varnelのバージョン情報(&A)..."},
    Entry{msg::foreignModel, "このデータはKelvoには使えません"},
    Entry{msg::readError, "読み込みエラー"},
    Entry{msg::writeError, "書き込みエラー"},
    Entry{msg::written, "データを書き込みました"},
    Entry{msg::initializeQuestion, "データを初期化します。宜しいですか?"},
    Entry{msg::fileReadError, "読み込みエラー"},
    Entry{msg::overwritePrefix, "ファイル "},
    Entry{msg::overwriteSuffix, " は既に存在します。上書きしますか?"},
    Entry{msg::fileWriteError, "書き込みエラー"},
    Entry{msg::diskFull, "ディスクに十分な空き容量がありません"},
    Entry{msg::unknownError, "不明なエラーです"},
    Entry{msg::connected, "接続に成功しました"},
    Entry{msg::driverMissing, "QB-7のデバイスドライバがインストールされていません"},
    Entry{msg::adapterMissing, "QB-7が接続されていません"},
    Entry{msg::adapterFault, "QB-7が正常に動作していません"},
    Entry{msg::setLimitPoint1, "リミットポイント1をセットして下さい"},
    Entry{msg::setLimitPoint2, "リミットポイント2をセットして下さい"},
    Entry{msg::pressWrite, "書き込みボタンを押してください"},
    Entry{msg::outOfRange, "設定範囲外です"},
    Entry{msg::sameDirection, "同じ方向にリミットポイントを設定することは出来ません"},
    Entry{msg::limitCancelled, "リミット設定を中止しました"},
    Entry{msg::writeBeforeExit, "データがKelvoに書き込まれていません。終了する前に書き込みますか?"},
    Entry{msg::changesDiscarded, "データの変更を破棄します。"},
    Entry{msg::portNoPermission,
          "%1 を開く権限がありません。ユーザーをdialoutグループに追加してから、"
          "ログインし直して下さい。Varnelと共にインストールされるudevルールは、"
          "ログイン中のユーザーにこの権限を与えます。"},
    Entry{msg::portBusy, "%1 は他のプログラムが使用中です。そのプログラム(モデムマネージャ、"
                         "点字ディスプレイのデーモンなど)を終了してから、もう一度起動して下さい。"},
    Entry{msg::limitLabelUp, "上"},
    Entry{msg::limitLabelDown, "下"},
};

} // namespace

const char* messageText(int id) {
    for (const Entry& entry : stringTable) {
        if (entry.id == id) {
            return entry.text;
        }
    }
    return "";
}

std::string messageText(int id, std::string_view device) {
    std::string text = messageText(id);
    if (const auto at = text.find("%1"); at != std::string::npos) {
        text.replace(at, 2, device);
    }
    return text;
}

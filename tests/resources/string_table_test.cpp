// Every message against the literal text the user is meant to read. The dialog tests
// look their expected texts up in the program's own table, so this is the one place
// that catches a swapped, emptied or edited message.

#include "resources/string_table.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Message {
    int id;
    const char* text;
};

const Message messages[] = {
    {101, "Varnelのバージョン情報(&A)..."},
    {102, "このデータはKelvoには使えません"},
    {103, "読み込みエラー"},
    {104, "書き込みエラー"},
    {105, "データを書き込みました"},
    {106, "データを初期化します。宜しいですか?"},
    {108, "読み込みエラー"},
    {109, "ファイル "},
    {110, " は既に存在します。上書きしますか?"},
    {112, "書き込みエラー"},
    {113, "ディスクに十分な空き容量がありません"},
    {114, "不明なエラーです"},
    {117, "接続に成功しました"},
    {118, "QB-7のデバイスドライバがインストールされていません"},
    {119, "QB-7が接続されていません"},
    {120, "QB-7が正常に動作していません"},
    {121, "リミットポイント1をセットして下さい"},
    {122, "リミットポイント2をセットして下さい"},
    {123, "書き込みボタンを押してください"},
    {130, "設定範囲外です"},
    {131, "同じ方向にリミットポイントを設定することは出来ません"},
    {132, "リミット設定を中止しました"},
    {133, "データがKelvoに書き込まれていません。終了する前に書き込みますか?"},
    {134, "データの変更を破棄します。"},
    {2000, "上"},
    {2001, "下"},
};

TEST(StringTable, EveryMessageHasItsExactText) {
    for (const Message& message : messages) {
        EXPECT_EQ(std::string(messageText(message.id)), message.text) << "message " << message.id;
    }
}

// The names the code uses must point at the numbers above, not merely at some text.
TEST(StringTable, NamedMessagesCarryTheirNumbers) {
    const std::pair<int, int> named[] = {
        {msg::aboutMenuItem, 101},  {msg::foreignModel, 102},    {msg::readError, 103},
        {msg::writeError, 104},     {msg::written, 105},         {msg::initializeQuestion, 106},
        {msg::fileReadError, 108},  {msg::overwritePrefix, 109}, {msg::overwriteSuffix, 110},
        {msg::fileWriteError, 112}, {msg::diskFull, 113},        {msg::unknownError, 114},
        {msg::connected, 117},      {msg::driverMissing, 118},   {msg::adapterMissing, 119},
        {msg::adapterFault, 120},   {msg::setLimitPoint1, 121},  {msg::setLimitPoint2, 122},
        {msg::pressWrite, 123},     {msg::outOfRange, 130},      {msg::sameDirection, 131},
        {msg::limitCancelled, 132}, {msg::writeBeforeExit, 133}, {msg::changesDiscarded, 134},
        {msg::limitLabelUp, 2000},  {msg::limitLabelDown, 2001},
    };
    for (const auto& [name, number] : named) {
        EXPECT_EQ(name, number);
    }
}

TEST(StringTable, NumbersTheTableDoesNotHoldGiveNoText) {
    for (int id : {0, 100, 107, 111, 115, 116, 124, 129, 135, 1999, 2002, -1}) {
        EXPECT_STREQ(messageText(id), "") << id;
    }
}

} // namespace

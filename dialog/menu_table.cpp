#include "dialog/menu_table.h"

#include "dialog/backup_choice.h"

#include <array>

namespace {

constexpr std::array menus{
    MenuEntry{"ファイル(&F)", "初期化(&I)...", command::initialize, nullptr},
    MenuEntry{nullptr, nullptr, 0, nullptr},
    MenuEntry{nullptr, "開く(&O)...\tCtrl+O", command::open, "Ctrl+O"},
    MenuEntry{nullptr, backup_text::menuItem, command::openBackup, nullptr},
    MenuEntry{nullptr, nullptr, 0, nullptr},
    MenuEntry{nullptr, "保存(&S)\tCtrl+S", command::save, "Ctrl+S"},
    MenuEntry{nullptr, "名前をつけて保存(&A)...", command::saveAs, nullptr},
    MenuEntry{nullptr, nullptr, 0, nullptr},
    MenuEntry{nullptr, "終了(&X)\tAlt+F4", command::exit, nullptr},
    MenuEntry{"接続(&C)", "読み込み(&R)\tCtrl+R", command::read, "Ctrl+R"},
    MenuEntry{nullptr, "書き込み(&W)\tCtrl+W", command::write, "Ctrl+W"},
    MenuEntry{"ヘルプ(&H)", "バージョン情報(&A)", command::about, nullptr},
};

} // namespace

std::span<const MenuEntry> menuTable() {
    return menus;
}

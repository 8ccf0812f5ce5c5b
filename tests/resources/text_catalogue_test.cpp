// The catalogue every face reads: Japanese until English is chosen, a subject in the
// place its language puts it, and a text the catalogue lacks left as it is.

#include "resources/text_catalogue.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct CatalogueCase {
    Language language;
    std::string message117;
    std::string portBusy;
    std::string overwrite;
};

const CatalogueCase cases[] = {
    {Language::Japanese, "接続に成功しました", "/dev/ttyUSB0 は他のプログラムが使用中です。",
     "ファイル 機体.gvx は既に存在します。上書きしますか?"},
    {Language::English, "Connection succeeded.", "/dev/ttyUSB0 is in use by another program.",
     "The file 機体.gvx already exists. Overwrite it?"},
};

TEST(TextCatalogue, EachLanguageReadsItsOwnTexts) {
    for (const CatalogueCase& c : cases) {
        setTextLanguage(c.language);
        EXPECT_EQ(localMessage(msg::connected), c.message117);
        EXPECT_EQ(localMessage(msg::portBusy, "/dev/ttyUSB0").substr(0, c.portBusy.size()),
                  c.portBusy);
        EXPECT_EQ(localOverwriteQuestion("機体.gvx"), c.overwrite);
        EXPECT_EQ(localText("Varnel  Ver.9.9"), "Varnel  Ver.9.9");
    }
    setTextLanguage(Language::Japanese);
}

} // namespace

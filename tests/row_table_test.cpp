#include <gtest/gtest.h>

#include <string>

#include "rows/row_table.h"
#include "support/dictionary.h"

TEST(FindRow, FindsEveryRowByItsKana)
{
    for (int row = 0; row < ROW_COUNT; ++row) {
        std::string key = row_key(row);
        EXPECT_EQ(find_row(key.c_str()), row) << "row " << row;
        EXPECT_EQ(std::string(row_keys[row]), key) << "row " << row;
    }
}

TEST(FindRow, KnownEndsAndVoicedRows)
{
    EXPECT_EQ(find_row(sjis("ん").c_str()), 0);
    EXPECT_EQ(find_row(sjis("あ").c_str()), 69);
    EXPECT_EQ(find_row(sjis("が").c_str()), 63);
    EXPECT_EQ(find_row(sjis("か").c_str()), 64);
    EXPECT_EQ(find_row(sjis("ぱ").c_str()), 27);
    EXPECT_EQ(find_row(sjis("ば").c_str()), 28);
    EXPECT_EQ(find_row(sjis("は").c_str()), 29);
}

TEST(FindRow, RejectsWhatIsNotARowKey)
{
    const char* const non_keys[] = {"ぁ", "ぃ", "っ", "ゃ", "ゎ", "ゐ", "ゑ", "を", "ア", "ン", "亜", "ｱ"};
    for (const char* kana : non_keys)
        EXPECT_EQ(find_row(sjis(kana).c_str()), -1) << kana;
    // Bytes next to the table on either side, and plain ASCII.
    EXPECT_EQ(find_row("\x82\x9F"), -1);
    EXPECT_EQ(find_row("\x82\xF2"), -1);
    EXPECT_EQ(find_row("\x83\xF1"), -1);
    EXPECT_EQ(find_row("ab"), -1);
    EXPECT_EQ(find_row(";/"), -1);
}

TEST(FindRow, MatchesWholeStringsOnly)
{
    EXPECT_EQ(find_row(""), -1);
    EXPECT_EQ(find_row("\x82"), -1);
    std::string longer = sjis("あ") + "x";
    EXPECT_EQ(find_row(longer.c_str()), -1);
    std::string two_kana = sjis("ああ");
    EXPECT_EQ(find_row(two_kana.c_str()), -1);
}

#include "rows/row_table.h"

// The rows in the order the dictionary must follow: the hiragana from ん down
// to あ by their Shift-JIS codes, without ゐ, ゑ, を and the small kana.
extern const char row_keys[ROW_COUNT][ROW_KEY_SIZE] = {
    {"\x82\xF1"}, //  0 ん
    {"\x82\xED"}, //  1 わ
    {"\x82\xEB"}, //  2 ろ
    {"\x82\xEA"}, //  3 れ
    {"\x82\xE9"}, //  4 る
    {"\x82\xE8"}, //  5 り
    {"\x82\xE7"}, //  6 ら
    {"\x82\xE6"}, //  7 よ
    {"\x82\xE4"}, //  8 ゆ
    {"\x82\xE2"}, //  9 や
    {"\x82\xE0"}, // 10 も
    {"\x82\xDF"}, // 11 め
    {"\x82\xDE"}, // 12 む
    {"\x82\xDD"}, // 13 み
    {"\x82\xDC"}, // 14 ま
    {"\x82\xDB"}, // 15 ぽ
    {"\x82\xDA"}, // 16 ぼ
    {"\x82\xD9"}, // 17 ほ
    {"\x82\xD8"}, // 18 ぺ
    {"\x82\xD7"}, // 19 べ
    {"\x82\xD6"}, // 20 へ
    {"\x82\xD5"}, // 21 ぷ
    {"\x82\xD4"}, // 22 ぶ
    {"\x82\xD3"}, // 23 ふ
    {"\x82\xD2"}, // 24 ぴ
    {"\x82\xD1"}, // 25 び
    {"\x82\xD0"}, // 26 ひ
    {"\x82\xCF"}, // 27 ぱ
    {"\x82\xCE"}, // 28 ば
    {"\x82\xCD"}, // 29 は
    {"\x82\xCC"}, // 30 の
    {"\x82\xCB"}, // 31 ね
    {"\x82\xCA"}, // 32 ぬ
    {"\x82\xC9"}, // 33 に
    {"\x82\xC8"}, // 34 な
    {"\x82\xC7"}, // 35 ど
    {"\x82\xC6"}, // 36 と
    {"\x82\xC5"}, // 37 で
    {"\x82\xC4"}, // 38 て
    {"\x82\xC3"}, // 39 づ
    {"\x82\xC2"}, // 40 つ
    {"\x82\xC0"}, // 41 ぢ
    {"\x82\xBF"}, // 42 ち
    {"\x82\xBE"}, // 43 だ
    {"\x82\xBD"}, // 44 た
    {"\x82\xBC"}, // 45 ぞ
    {"\x82\xBB"}, // 46 そ
    {"\x82\xBA"}, // 47 ぜ
    {"\x82\xB9"}, // 48 せ
    {"\x82\xB8"}, // 49 ず
    {"\x82\xB7"}, // 50 す
    {"\x82\xB6"}, // 51 じ
    {"\x82\xB5"}, // 52 し
    {"\x82\xB4"}, // 53 ざ
    {"\x82\xB3"}, // 54 さ
    {"\x82\xB2"}, // 55 ご
    {"\x82\xB1"}, // 56 こ
    {"\x82\xB0"}, // 57 げ
    {"\x82\xAF"}, // 58 け
    {"\x82\xAE"}, // 59 ぐ
    {"\x82\xAD"}, // 60 く
    {"\x82\xAC"}, // 61 ぎ
    {"\x82\xAB"}, // 62 き
    {"\x82\xAA"}, // 63 が
    {"\x82\xA9"}, // 64 か
    {"\x82\xA8"}, // 65 お
    {"\x82\xA6"}, // 66 え
    {"\x82\xA4"}, // 67 う
    {"\x82\xA2"}, // 68 い
    {"\x82\xA0"}, // 69 あ
};

namespace {

// Every row key is a double-byte character with this first byte.
constexpr unsigned char ROW_KEY_LEAD = 0x82;

// Row index by the second byte of a key that begins with ROW_KEY_LEAD, or -1.
struct TrailTable {
    signed char row[256];
};

TrailTable make_trail_table()
{
    TrailTable table;
    for (signed char& row : table.row)
        row = -1;
    for (int i = 0; i < ROW_COUNT; ++i)
        if (static_cast<unsigned char>(row_keys[i][0]) == ROW_KEY_LEAD)
            table.row[static_cast<unsigned char>(row_keys[i][1])] = static_cast<signed char>(i);
    return table;
}

const TrailTable trail_table = make_trail_table();

}  // namespace

int find_row(const char* key)
{
    // Equal as zero-terminated strings to a two-byte key: the lead byte, a
    // known second byte, then the end of the string. One lookup instead of a
    // walk through the table, with the same answer.
    if (static_cast<unsigned char>(key[0]) != ROW_KEY_LEAD || key[1] == '\0' || key[2] != '\0')
        return -1;
    return trail_table.row[static_cast<unsigned char>(key[1])];
}

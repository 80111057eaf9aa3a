#include "support/dictionary.h"

#include <iconv.h>

#include <cstdio>
#include <stdexcept>

namespace message {

const std::string DIC_OPEN = sjis("*****辞書ファイル[kolvane.dic] が開けません。*****************\n");
const std::string DIC_READ = sjis("*****辞書ファイル[kolvane.dic] が読み込めません。*************\n");
const std::string IDX_OPEN = sjis("*****インデックスファイル[kolvane.idx] が開けません。***\n");
const std::string IDX_WRITE = sjis("*****インデックスファイル[kolvane.idx] に書き込めません。***\n");

}  // namespace message

namespace reason {

const std::string NO_LINE_END = sjis("*****エントリーの行末で改行されていません。*******\n");
const std::string OVERFLOW = sjis("*****ラインバッファがオーバーフローしました。*****\n");
const std::string TAB = sjis("*****エントリー内にTABが含まれています。**********\n");
const std::string START_MARK = sjis("*****エントリー行頭が「:」で始まっていません。****\n");
const std::string COLON = sjis("*****エントリーの途中に「:」が含まれています。****\n");
const std::string HEADER_END = sjis("*****エントリーのヘッダ末尾に「;」がありません。**\n");
const std::string TWO_SEMICOLONS = sjis("*****エントリー内に２個の「;」があります。********\n");
const std::string EMPTY_ITEM = sjis("*****エントリー内に空文字列「//」があります。*****\n");
const std::string CLOSING_SLASH = sjis("*****エントリー行末の「/」がありません。**********\n");

}  // namespace reason

namespace {

const char* const ROW_KANA[] = {
    "ん", "わ", "ろ", "れ", "る", "り", "ら", "よ", "ゆ", "や", "も", "め", "む", "み",
    "ま", "ぽ", "ぼ", "ほ", "ぺ", "べ", "へ", "ぷ", "ぶ", "ふ", "ぴ", "び", "ひ", "ぱ",
    "ば", "は", "の", "ね", "ぬ", "に", "な", "ど", "と", "で", "て", "づ", "つ", "ぢ",
    "ち", "だ", "た", "ぞ", "そ", "ぜ", "せ", "ず", "す", "じ", "し", "ざ", "さ", "ご",
    "こ", "げ", "け", "ぐ", "く", "ぎ", "き", "が", "か", "お", "え", "う", "い", "あ"};
static_assert(sizeof ROW_KANA / sizeof ROW_KANA[0] == 70, "one kana per row");

void put_le(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i));
}

}  // namespace

std::string sjis(const std::string& utf8)
{
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("iconv cannot convert UTF-8 to CP932");
    std::string out(utf8.size() * 2 + 16, '\0');
    char* in_ptr = const_cast<char*>(utf8.data());
    std::size_t in_left = utf8.size();
    char* out_ptr = out.data();
    std::size_t out_left = out.size();
    std::size_t done = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1) || in_left != 0)
        throw std::runtime_error("not convertible to CP932: " + utf8);
    out.resize(out.size() - out_left);
    return out;
}

std::string entry(const std::string& utf8)
{
    return sjis(utf8) + "\r\n";
}

std::string row_key(int row)
{
    return sjis(ROW_KANA[row]);
}

std::string line_of_size(int row, std::int64_t length)
{
    if (length < 7)
        throw std::invalid_argument("an entry line holds at least 7 bytes");
    if (length == 7)
        return ":" + row_key(row) + ";/\r\n";
    return ":" + row_key(row) + ";/" + std::string(static_cast<std::size_t>(length - 8), 'x') + "/\r\n";
}

std::string row_of_size(int row, std::int64_t size)
{
    // ":" key ";/" filler "/" CR LF: 8 bytes and the filler; 7 with no item.
    const std::int64_t longest = 1000;
    const std::int64_t shortest = 7;
    if (size != 0 && size < shortest)
        throw std::invalid_argument("a row of lines holds at least 7 bytes");
    std::string out;
    while (size > 0) {
        std::int64_t take = size <= longest ? size : longest;
        if (size - take != 0 && size - take < shortest)
            take = size - shortest;
        out += line_of_size(row, take);
        size -= take;
    }
    return out;
}

std::string format_report(std::int64_t n, const std::string& line, const std::string& reason)
{
    return sjis("*****エントリーの書式が不正です。*****************\n") + "[Line:" + std::to_string(n) +
           "]" + line + "\n" + reason;
}

std::string order_report(std::int64_t n, const std::string& line)
{
    return sjis("*****エントリーの並びが不正です。*****************\n") + "[Line:" + std::to_string(n) +
           "]" + line + "\n";
}

std::string size_report(int row, std::int64_t size)
{
    return sjis("*****[") + row_key(row) +
           sjis("]行のエントリー数が[" + std::to_string(size - 8191) + "バイト]オーバーフローしました*****\n");
}

std::string empty_rows(int first, int end)
{
    std::string out;
    for (int j = first; j < end; ++j)
        out += sjis(std::string("*****[") + ROW_KANA[j] + "]行のエントリーがありません。*****\n");
    return out;
}

std::string confirmation()
{
    return sjis("\nVENOSKAT: インデックスファイル [kolvane.idx] が正常に作成されました。\n");
}

std::string success_after(int last_row)
{
    return empty_rows(last_row + 1, 70) + confirmation();
}

std::string index_bytes(const std::vector<std::int64_t>& starts, const std::vector<std::int64_t>& sizes)
{
    std::string out;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        put_le(out, static_cast<std::uint32_t>(starts[i]), 4);
        put_le(out, static_cast<std::uint32_t>(sizes[i]), 2);
    }
    return out;
}

std::vector<std::int64_t> starts_of(const std::vector<std::int64_t>& sizes)
{
    std::vector<std::int64_t> starts;
    std::int64_t start = 0;
    for (std::int64_t size : sizes) {
        starts.push_back(start);
        start += size;
    }
    return starts;
}

std::string index_for_sizes(const std::vector<std::int64_t>& sizes)
{
    return index_bytes(starts_of(sizes), sizes);
}

std::string listing(const std::vector<std::int64_t>& starts, const std::vector<std::int64_t>& sizes)
{
    std::string out;
    char numbers[64];
    for (std::size_t i = 0; i < starts.size(); ++i) {
        std::snprintf(numbers, sizeof numbers, "\tSFBC:%4lld\tSZ:%2lld\n", static_cast<long long>(starts[i]),
                      static_cast<long long>(sizes[i]));
        out += "[" + row_key(static_cast<int>(i)) + "]" + numbers;
    }
    return out + "\n";
}

std::string message::illegal_option(const std::string& arg)
{
    return "Illegal Option: " + arg + "\nUSAGE: venoskal [-m]\n";
}

std::string reason::unknown_key(const std::string& key_bytes)
{
    return sjis("*****不正な文字[") + key_bytes + sjis("]で始まるエントリーがあります。***\n");
}

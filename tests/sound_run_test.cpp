// The bulk scan of sound lines, against a line-by-line statement of what it
// may take, on generated input; and its vector build against its plain one.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "common/scan_state.h"
#include "scan/sound_run.h"
#include "support/dictionary.h"
#include "support/tool_runner.h"

namespace {

// Line by line: the end of the lines from start that are framed by one CR LF
// at their end, at most LONGEST_LINE bytes, free of tabs and zero bytes, with
// ":" and the key first, one ";" right before the first "/", no other ":",
// no "//", and "/" before the CR.
std::size_t expected_run(const std::string& text, std::size_t start, std::size_t end, const std::string& key,
                         std::int64_t* lines)
{
    std::size_t pos = start;
    for (;;) {
        std::size_t lf = text.find('\n', pos);
        if (lf == std::string::npos || lf >= end || lf == pos || text[lf - 1] != '\r')
            return pos;
        std::string line = text.substr(pos, lf + 1 - pos);
        std::string body = line.substr(0, line.size() - 2);
        std::size_t semicolon = body.find(';');
        bool sound = line.size() <= static_cast<std::size_t>(LONGEST_LINE) &&
                     body.find_first_of(std::string("\t\r\n\0", 4)) == std::string::npos &&
                     body.size() >= 5 && body[0] == ':' && body.substr(1, 2) == key &&
                     body.find(':', 1) == std::string::npos && semicolon != std::string::npos &&
                     body.find(';', semicolon + 1) == std::string::npos && body.find('/') == semicolon + 1 &&
                     body.find("//") == std::string::npos && body.back() == '/';
        if (!sound)
            return pos;
        ++*lines;
        pos = lf + 1;
    }
}

struct Scan {
    std::size_t end;
    std::int64_t lines;
};

template <typename Find>
Scan scan_with(Find find, std::string text, std::size_t start, const std::string& key)
{
    std::size_t end = text.size();
    text.append(SOUND_RUN_SLACK, '\n');  // what lies past the end must not count
    Scan scan{0, 0};
    scan.end = find(reinterpret_cast<const unsigned char*>(text.data()), start, end,
                    static_cast<unsigned char>(key[0]), static_cast<unsigned char>(key[1]), &scan.lines);
    return scan;
}

void expect_same(const std::string& text, std::size_t start, const std::string& key)
{
    std::int64_t lines = 0;
    std::size_t end = expected_run(text, start, text.size(), key, &lines);
    Scan plain = scan_with(find_sound_run_plain, text, start, key);
    Scan fast = scan_with(find_sound_run, text, start, key);
    ASSERT_EQ(plain.end, end) << "start " << start << "\n" << hex_dump(text);
    ASSERT_EQ(plain.lines, lines) << hex_dump(text);
    ASSERT_EQ(fast.end, end) << "start " << start << "\n" << hex_dump(text);
    ASSERT_EQ(fast.lines, lines) << hex_dump(text);
}

}  // namespace

TEST(SoundRun, StopsAtTheFirstLineThatBreaksARule)
{
    const std::string key = row_key(0);
    const std::string good = entry(":ん;/x/");
    const std::string variants[] = {
        entry(":ん;/x/y/"), entry(":んx;/x/"), entry(":ん;/"), entry(":ん;/x//"), entry(":ん;/x"),
        entry(":ん;;/x/"), entry(":ん/;/x/"), entry(":ん;/x;/"), entry(":ん;/x:/"), entry("::ん;/x/"),
        entry(":わ;/x/"), entry(":ん\t;/x/"), entry(";ん;/x/"), entry(""), entry(":ん;/x\r/"),
        entry(":ん;/x\n/"), sjis(":ん;/x/\r"), std::string(":\x82", 2) + "\r\n", std::string(":\x82\0;/\r\n", 7),
        sjis(":ん;/x/") + std::string(1, '\0') + "\r\n", entry(":ん;"), entry(":ん"), entry(":"),
        entry(":ん;/a;b;/"), entry(":ん;/a;;/"), entry(":ん;/a;b;c;/"),
    };
    for (const std::string& bad : variants) {
        for (std::size_t before = 0; before < 12; ++before) {
            std::string text;
            for (std::size_t i = 0; i < before; ++i)
                text += good;
            text += bad + good;
            expect_same(text, 0, key);
        }
    }
}

TEST(SoundRun, LongLinesAndChunkEdges)
{
    const std::string key = row_key(5);
    for (std::int64_t length : {7, 8, 63, 64, 65, 127, 128, 129, 1021, 1022, 1023, 1024, 1025, 2000}) {
        const std::string line = line_of_size(5, length);
        for (std::size_t lead = 0; lead < 70; lead += 7) {
            std::string text = std::string(lead, 'z') + line + line;
            expect_same(text, lead, key);
        }
    }
}

TEST(SoundRun, GeneratedInput)
{
    // Lines made of the bytes that matter, mostly sound, cut anywhere.
    std::mt19937 random(20261210);
    const std::string key = row_key(33);
    const std::string pieces[] = {":", ";", "/", "\r", "\n", "\r\n", "\t", std::string(1, '\0'), "x", key,
                                  key.substr(0, 1), key.substr(1), "//", "\x82"};
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        std::size_t lines = random() % 12;
        for (std::size_t i = 0; i < lines; ++i) {
            std::string line = ":" + key + ";/" + std::string(random() % 90, 'y') + "/\r\n";
            for (std::size_t changes = random() % 4; changes > 0; --changes) {
                std::size_t at = random() % line.size();
                const std::string& piece = pieces[random() % (sizeof pieces / sizeof pieces[0])];
                if (random() % 2 == 0)
                    line.replace(at, 1, piece);
                else
                    line.insert(at, piece);
            }
            text += line;
        }
        text.resize(text.size() - (text.empty() ? 0 : random() % 3));
        expect_same(text, 0, key);
        if (::testing::Test::HasFatalFailure())
            return;
    }
}

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

// Line by line: the end of the lines from start, each ended at its first
// CR LF, that are at most LONGEST_LINE bytes, free of tabs, with ":" and the
// key first, one ";" right before the first "/", no other ":", no "//", no
// zero byte before the ";", and "/" before the CR LF. A lone CR or LF, and a
// zero byte among the items, are ordinary bytes.
std::size_t expected_run(const std::string& text, std::size_t start, std::size_t end, const std::string& key,
                         std::int64_t* lines)
{
    std::size_t pos = start;
    for (;;) {
        std::size_t cr = text.find("\r\n", pos);
        if (cr == std::string::npos || cr + 1 >= end)
            return pos;
        std::string line = text.substr(pos, cr + 2 - pos);
        std::string body = line.substr(0, line.size() - 2);
        std::size_t semicolon = body.find(';');
        bool sound = line.size() <= static_cast<std::size_t>(LONGEST_LINE) &&
                     body.find('\t') == std::string::npos && body.size() >= 5 && body[0] == ':' &&
                     body.substr(1, 2) == key && body.find(':', 1) == std::string::npos &&
                     semicolon != std::string::npos && body.find(';', semicolon + 1) == std::string::npos &&
                     body.find('/') == semicolon + 1 && body.find('\0') > semicolon &&
                     body.find("//") == std::string::npos && body.back() == '/';
        if (!sound)
            return pos;
        ++*lines;
        pos = cr + 2;
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

// Every build of the scan this binary has and this processor runs, and the
// byte-by-byte one, against the line-by-line statement.
void expect_same(const std::string& text, std::size_t start, const std::string& key)
{
    std::int64_t lines = 0;
    std::size_t end = expected_run(text, start, text.size(), key, &lines);
    Scan plain = scan_with(find_sound_run_plain, text, start, key);
    ASSERT_EQ(plain.end, end) << "plain, start " << start << "\n" << hex_dump(text);
    ASSERT_EQ(plain.lines, lines) << "plain\n" << hex_dump(text);
    for (int i = 0; i < SOUND_RUN_PATH_COUNT; ++i) {
        const SoundRunPath& path = SOUND_RUN_PATHS[i];
        if (!path.runs_here)
            continue;
        Scan scan = scan_with(path.find, text, start, key);
        ASSERT_EQ(scan.end, end) << path.name << ", start " << start << "\n" << hex_dump(text);
        ASSERT_EQ(scan.lines, lines) << path.name << "\n" << hex_dump(text);
    }
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
        // Sound: a lone CR or LF anywhere after the key, a zero byte among the items.
        entry(":ん\r;/\nx\r/\r/"), entry(":ん\n\r;/\r\r/"), entry(":ん;/\n/"),
        sjis(":ん;/x/") + std::string(1, '\0') + "/\r\n", sjis(":ん;/") + std::string(1, '\0') + "/\r\n",
        // Not sound: a zero byte in the header, "/" not right before the CR LF.
        sjis(":ん") + std::string(1, '\0') + ";/x/\r\n", entry(":ん;/x/\r"), entry(":ん;/x/\n"),
        sjis(":ん;/x/\r\r\n"), sjis(":ん;/x/\n\r\n"),
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

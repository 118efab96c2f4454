// The archive reader: lookup rules on well-formed archives, malformed archives that
// must end in a clear refusal, and the archive tool.
#include "cChild.h"
#include "cTempDir.h"
#include "resources/cResourceArchive.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<unsigned char>;

// Little-endian words, then raw text: enough to write any archive by hand.
Bytes Words(std::initializer_list<uint32_t> words, const std::string& tail = "")
{
    Bytes out;
    for (uint32_t w : words)
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<unsigned char>(w >> (8 * i)));
    out.insert(out.end(), tail.begin(), tail.end());
    return out;
}

class ArchiveTest : public ::testing::Test
{
protected:
    cTempDir dir;
    std::string path = dir / "a.bin";
    cResourceArchive::eResult result;
    std::string error;

    void Write(const Bytes& bytes)
    {
        FILE* f = fopen(path.c_str(), "wb");
        if (!bytes.empty())
            fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
    // The entry's bytes, with `result` and `error` set.
    std::string Find(const std::string& name)
    {
        unsigned char* data = nullptr;
        uint32_t size = 0;
        error.clear();
        result = cResourceArchive::Find(path, name, &data, &size, &error);
        std::string text(reinterpret_cast<char*>(data), data ? size : 0);
        free(data);
        return text;
    }
};

TEST_F(ArchiveTest, LookupFollowsTheTableAndMatchesWholeNamesOnly)
{
    ASSERT_TRUE(
        cResourceArchive::Write(path, {{"sivo.gif", {'G', 'I', 'F'}}, {"klik.wav", {}}}, &error));
    EXPECT_EQ(Find("sivo.gif"), "GIF");
    EXPECT_EQ(Find("klik.wav"), "");
    EXPECT_EQ(result, cResourceArchive::FOUND) << "an empty entry is still found";
    for (const char* near : {"SIVO.gif", "sivo", "sivo.gif2", ""}) {
        Find(near);
        EXPECT_EQ(result, cResourceArchive::NOT_FOUND) << near;
    }
    std::vector<cResourceArchive::cEntry> entries;
    ASSERT_EQ(cResourceArchive::List(path, &entries, &error), cResourceArchive::FOUND);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].name, "klik.wav");

    // Records out of table order, after a gap, one of them named in two slots: the first
    // of two equal names in table order wins.
    const Bytes a = Words({5, 1}, "xlater"), b = Words({5, 1}, "xfirst");
    Bytes file = Words({3, 33, 19, 33}); // a at 19 after a 3-byte gap, b at 33
    file.resize(19, 0xEE);
    file.insert(file.end(), a.begin(), a.end());
    file.insert(file.end(), b.begin(), b.end());
    Write(file);
    EXPECT_EQ(Find("x"), "first");

    for (uint32_t count : {0u, 0x80000000u, 0xFFFFFFFFu}) { // no entries at all
        Write(Words({count}));
        Find("sivo.gif");
        EXPECT_EQ(result, cResourceArchive::NOT_FOUND) << count;
    }
    path = dir / "nema.bin";
    Find("sivo.gif");
    EXPECT_EQ(result, cResourceArchive::OPEN_FAILED);
    EXPECT_EQ(error, "No such file or directory");
}

// Broken before or at the entry sought: none may crash, read past the file or ask for
// more memory than the file could hold (a 40-byte file asking for gigabytes).
TEST_F(ArchiveTest, MalformedArchivesAreRefusedWithAReason)
{
    Bytes hugeCount = Words({1000000000});
    hugeCount.resize(40);
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"empty file", {}},
        {"short count", {1, 0}},
        {"table beyond the file", hugeCount},
        {"offset past the end", Words({1, 4000})},
        {"offset above 2^31", Words({1, 0x90000000u})},
        {"huge name length", Words({1, 8, 4, 0xFFFFFFF0u}, "sivo.gif")},
        {"huge data size", Words({1, 8, 0x7FFFFFFFu, 8}, "sivo.gifabcd")},
        {"data cut short", Words({1, 8, 4, 8}, "sivo.gifab")},
        {"record header cut short", Words({1, 8, 0}, "\x03")},
    };
    for (const auto& [what, bytes] : cases) {
        Write(bytes);
        Find("sivo.gif");
        EXPECT_EQ(result, cResourceArchive::MALFORMED) << what;
        EXPECT_FALSE(error.empty()) << what;
        std::vector<cResourceArchive::cEntry> entries;
        EXPECT_NE(cResourceArchive::List(path, &entries, &error), cResourceArchive::FOUND) << what;
    }
    // An entry before the broken one is still read.
    Write(Words({2, 12, 0x7FFFFFF0u, 2, 8}, "sivo.gifok"));
    EXPECT_EQ(Find("sivo.gif"), "ok");
    Find("cvet.gif");
    EXPECT_EQ(result, cResourceArchive::MALFORMED);
}

TEST_F(ArchiveTest, ToolPacksListsAndExtracts)
{
    FILE* f = fopen((dir / "klik.wav").c_str(), "wb");
    fputs("click!", f);
    fclose(f);
    fclose(fopen((dir / "cvet.gif").c_str(), "wb"));
    auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin(), ZAGONETAR_PAK);
        cChild child(args, dir.Path());
        const int status = child.Wait(10000);
        return std::make_pair(status, child.Out() + child.Err());
    };
    EXPECT_EQ(run({"pack", "out.bin", dir / "klik.wav", "cvet.gif"}).first, 0);
    EXPECT_EQ(run({"list", "out.bin"}),
              std::make_pair(0, std::string("klik.wav\t6\ncvet.gif\t0\n")));
    EXPECT_EQ(run({"extract", "out.bin", "klik.wav", "copy.wav"}).first, 0);
    EXPECT_EQ(ReadFileText(dir / "copy.wav"), "click!");

    const std::vector<std::pair<std::vector<std::string>, std::string>> refusals = {
        {{"extract", "out.bin", "nema.wav"}, "nema.wav"},
        {{"pack", "x.bin", "does-not-exist.gif"}, "does-not-exist.gif"},
        {{"list", "klik.wav"}, "broken"},
    };
    for (const auto& [args, says] : refusals) {
        const auto [status, text] = run(args);
        EXPECT_EQ(status, 1) << args[0];
        EXPECT_NE(text.find(says), std::string::npos) << text;
    }
    EXPECT_EQ(run({"frobnicate"}).first, 2);
}

} // namespace

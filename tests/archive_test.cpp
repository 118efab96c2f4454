// The archive reader's lookup rules, malformed archives that must end in a clear refusal,
// and the archive tool as the asset build and a person run it.
#include "cTempDir.h"
#include "resources/cResourceArchive.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class ArchiveTest : public ::testing::Test
{
protected:
    void Write(const Bytes& bytes)
    {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
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
    // The tool, run in the folder with its files limited to 2 KiB as on a nearly full disk
    // (the signal ignored, so a write past the limit fails instead of killing it): its
    // status and everything it wrote.
    std::pair<int, std::string> Pak(const std::string& args)
    {
        const std::string command = "cd " + dir.Path() + " && (trap '' XFSZ; ulimit -f 4; exec " +
                                    ZAGONETAR_PAK + " " + args + ") 2>&1";
        FILE* out = popen(command.c_str(), "r");
        std::string text;
        char buffer[4096];
        for (size_t got; (got = fread(buffer, 1, sizeof buffer, out)) > 0;)
            text.append(buffer, got);
        const int status = pclose(out);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text};
    }

    cTempDir dir;
    std::string path = dir / "a.bin";
    cResourceArchive::eResult result;
    std::string error;
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
    EXPECT_FALSE(cResourceArchive::Write(path, {{"", {'x'}}}, &error)) << "a nameless entry";

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
    }
    // An entry before the broken one is still read.
    Write(Words({2, 12, 0x7FFFFFF0u, 2, 8}, "sivo.gifok"));
    EXPECT_EQ(Find("sivo.gif"), "ok");
    Find("cvet.gif");
    EXPECT_EQ(result, cResourceArchive::MALFORMED);
}

TEST_F(ArchiveTest, TheToolPacksListsAndExtractsAndARefusedPackLeavesTheOldArchive)
{
    std::ofstream(dir / "klik.wav") << "click!";
    std::ofstream(dir / "cvet.gif").close();
    std::ofstream(dir / "big.gif") << std::string(10000, 'x');
    mkdir((dir / "somedir").c_str(), 0755);
    mkfifo((dir / "fifo").c_str(), 0644);
    std::ofstream(dir / "huge.gif").close();
    ASSERT_EQ(truncate((dir / "huge.gif").c_str(), 3LL << 30), 0); // sparse: takes no room
    ASSERT_EQ(Pak("pack out.bin " + dir / "klik.wav" + " cvet.gif").first, 0);
    EXPECT_EQ(Pak("list out.bin"), std::make_pair(0, std::string("klik.wav\t6\ncvet.gif\t0\n")));
    EXPECT_EQ(Pak("extract out.bin klik.wav copy.wav").first, 0);
    EXPECT_EQ(ReadAll(dir / "copy.wav"), "click!");
    const std::string old = ReadAll(dir / "out.bin");

    const std::vector<std::tuple<std::string, int, std::string>> cases = {
        {"pack out.bin klik.wav big.gif", 1, "zagonetar-pak: out.bin: File too large\n"},
        {"pack out.bin somedir", 1, "zagonetar-pak: somedir: not a regular file\n"},
        {"pack out.bin fifo", 1, "zagonetar-pak: fifo: not a regular file\n"},
        {"pack out.bin /dev/zero", 1, "zagonetar-pak: /dev/zero: not a regular file\n"},
        {"pack out.bin klik.wav huge.gif", 1, "huge.gif: too large for an archive"},
        {"pack out.bin klik.wav somedir/../klik.wav", 1,
         "zagonetar-pak: two files named 'klik.wav': klik.wav and somedir/../klik.wav\n"},
        {"pack out.bin", 2, "usage: zagonetar-pak pack OUT FILE..."},
        {"extract out.bin nema.wav", 1, "nema.wav"},
        {"list klik.wav", 1, "broken"},
        {"frobnicate", 2, "usage"},
    };
    for (const auto& [args, wantStatus, says] : cases) {
        const auto [status, text] = Pak(args);
        EXPECT_EQ(status, wantStatus) << args << ": " << text;
        EXPECT_NE(text.find(says), std::string::npos) << text;
        EXPECT_EQ(ReadAll(dir / "out.bin"), old) << args;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            EXPECT_NE(entry.path().filename().string().rfind("out.bin.", 0), 0u) << args;
    }

    // A name can't forge lines or move the terminal's cursor in a listing.
    ASSERT_TRUE(cResourceArchive::Write(
        path,
        {{"pejzaz-s.gif", {'x'}}, {"a\tb\nc", {}}, {"\x1b[2J\x7f\\", {}}, {"\xc5\xa1uma", {}}},
        &error));
    EXPECT_EQ(Pak("list a.bin"),
              std::make_pair(0, std::string("pejzaz-s.gif\t1\na\\tb\\nc\t0\n"
                                            "\\x1b[2J\\x7f\\\\\t0\n\xc5\xa1uma\t0\n")));
}

} // namespace

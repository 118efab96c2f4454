// The archive tool as the asset build and a person run it: refusals that leave the old
// archive as it was, and listings a hostile name can't garble.
#include "cChild.h"
#include "resources/cResourceArchive.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace {

// Files are limited to 2 KiB, as on a nearly full disk; the signal is ignored so a write
// past the limit fails with EFBIG instead of killing the tool.
std::pair<int, std::string> Pak(const cTempDir& dir, std::vector<std::string> args)
{
    args.insert(args.begin(),
                {"/bin/sh", "-c", "trap '' XFSZ; ulimit -f 4; exec \"$0\" \"$@\"", ZAGONETAR_PAK});
    cChild child(args, dir.Path());
    const int status = child.Wait(10000);
    return {status, child.Err() + child.Out()};
}

TEST(PakTest, RefusedPacksLeaveTheOldArchiveAsItWas)
{
    cTempDir dir;
    std::ofstream(dir / "klik.wav") << "click!";
    std::ofstream(dir / "big.gif") << std::string(10000, 'x');
    mkdir((dir / "somedir").c_str(), 0755);
    mkfifo((dir / "fifo").c_str(), 0644);
    std::ofstream(dir / "huge.gif").close();
    truncate((dir / "huge.gif").c_str(), 3LL << 30); // sparse: takes no room on disk
    ASSERT_EQ(Pak(dir, {"pack", "out.bin", "klik.wav"}).first, 0);
    const std::string old = ReadFileText(dir / "out.bin");

    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases = {
        {{"pack", "out.bin", "klik.wav", "big.gif"}, 1, "zagonetar-pak: out.bin: File too large\n"},
        {{"pack", "out.bin", "somedir"}, 1, "zagonetar-pak: somedir: not a regular file\n"},
        {{"pack", "out.bin", "fifo"}, 1, "zagonetar-pak: fifo: not a regular file\n"},
        {{"pack", "out.bin", "/dev/zero"}, 1, "zagonetar-pak: /dev/zero: not a regular file\n"},
        {{"pack", "out.bin", "klik.wav", "huge.gif"}, 1, "huge.gif: too large for an archive"},
        {{"pack", "out.bin", "klik.wav", "somedir/../klik.wav"},
         1,
         "zagonetar-pak: two files named 'klik.wav': klik.wav and somedir/../klik.wav\n"},
        {{"pack", "out.bin"}, 2, "usage: zagonetar-pak pack OUT FILE..."},
    };
    for (const auto& [args, wantStatus, says] : cases) {
        const auto [status, text] = Pak(dir, args);
        EXPECT_EQ(status, wantStatus) << text;
        EXPECT_NE(text.find(says), std::string::npos) << text;
        EXPECT_EQ(ReadFileText(dir / "out.bin"), old) << says;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            EXPECT_NE(entry.path().filename().string().rfind("out.bin.", 0), 0u) << says;
    }
}

TEST(PakTest, ListShowsControlCharactersEscaped)
{
    cTempDir dir;
    std::string error;
    ASSERT_TRUE(cResourceArchive::Write(
        dir / "a.bin",
        {{"pejzaz-s.gif", {'x'}}, {"a\tb\nc", {}}, {"\x1b[2J\x7f\\", {}}, {"\xc5\xa1uma", {}}},
        &error));
    EXPECT_EQ(Pak(dir, {"list", "a.bin"}),
              std::make_pair(0, std::string("pejzaz-s.gif\t1\na\\tb\\nc\t0\n"
                                            "\\x1b[2J\\x7f\\\\\t0\n\xc5\xa1uma\t0\n")));
}

} // namespace

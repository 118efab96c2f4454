// The archive reader's lookup rules, malformed archives that must end in a clear refusal,
// and the archive tool as the asset build and a person run it.
#include "cHeadlessGame.h"
#include "resources/cResourceArchive.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Archive = cResourceArchive;

// Little-endian words, then raw text: enough to write any archive by hand.
std::string Words(std::initializer_list<uint32_t> words, const std::string& tail = "")
{
    std::string out;
    for (uint32_t w : words)
        out += {char(w), char(w >> 8), char(w >> 16), char(w >> 24)};
    return out + tail;
}

class ArchiveTest : public ::testing::Test
{
protected:
    void Write(const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    // The entry's bytes, or the refusal; for a broken archive, whether it says why.
    std::string Find(const std::string& name)
    {
        unsigned char* data = nullptr;
        uint32_t size = 0;
        error.clear();
        const int result = Archive::Find(path, name, &data, &size, &error);
        const std::string found(reinterpret_cast<char*>(data), data ? size : 0);
        free(data);
        const std::string byResult[] = {found, "can't open: " + error, "not found",
                                        error.empty() ? "broken, no reason" : "broken"};
        return byResult[result];
    }
    // A shell command run in the folder, $PAK the tool: its exit status, a space, all it wrote.
    std::string Sh(const std::string& command)
    {
        const std::string line = "cd " + dir.Path() + " && PAK=" ZAGONETAR_PAK " && (" + command;
        const int code = system((line + ") >log 2>&1").c_str());
        return std::to_string(WEXITSTATUS(code)) + " " + cHeadlessGame::ReadFile(dir / "log");
    }
    // The tool, its files limited to 2 KiB as on a nearly full disk.
    std::string Pak(const std::string& args) { return Sh("ulimit -f 4; exec $PAK " + args); }

    cTempDir dir;
    std::string path = dir / "a.bin";
    std::string error;
};

TEST_F(ArchiveTest, LookupFollowsTheTableAndMatchesWholeNamesOnly)
{
    ASSERT_TRUE(Archive::Write(path, {{"sivo.gif", {'G', 'I', 'F'}}, {"klik.wav", {}}}, &error));
    EXPECT_FALSE(Archive::Write(path, {{"", {'x'}}}, &error)) << "a nameless entry";
    EXPECT_EQ(Find("sivo.gif"), "GIF");
    EXPECT_EQ(Find("klik.wav"), "") << "an empty entry is still found";
    for (const char* near : {"SIVO.gif", "sivo", "sivo.gif2", ""})
        EXPECT_EQ(Find(near), "not found") << near;

    // Records named "x" out of table order after a gap, one in two slots: the table's first wins.
    Write(Words({3, 33, 19, 33}, "gap") + Words({5, 1}, "xlater") + Words({5, 1}, "xfirst"));
    EXPECT_EQ(Find("x"), "first");
    for (uint32_t count : {0u, 0x80000000u, 0xFFFFFFFFu}) { // no entries at all
        Write(Words({count}));
        EXPECT_EQ(Find("x"), "not found") << count;
    }
    ASSERT_TRUE(Archive::Write(path, {{std::string(255, 'n'), {'x'}}}, &error));
    EXPECT_EQ(Find(std::string(255, 'n')), "x") << "a name as long as a file's may be";
    // As many entries as an archive may hold.
    ASSERT_TRUE(Archive::Write(path, std::vector<Archive::cFile>(16384, {"x", {}}), &error));
    EXPECT_EQ(Find("x"), "");
    path = dir / "nema.bin";
    EXPECT_EQ(Find("x"), "can't open: No such file or directory");
}

// Broken before or at the entry sought: an empty file, a short count, a table beyond the file, an
// offset past the end or above 2^31, a huge name or data size, data or a record header cut short.
// None may crash, read past the file or ask for more than it holds (40 bytes asking for gigabytes).
TEST_F(ArchiveTest, MalformedArchivesAreRefusedWithAReason)
{
    for (const std::string& bytes :
         {std::string(), std::string("\1", 2), Words({1000000000}) + std::string(36, '\0'),
          Words({1, 4000}), Words({1, 0x90000000u}), Words({1, 8, 4, 0xFFFFFFF0u}, "sivo.gif"),
          Words({1, 8, 0x7FFFFFFFu, 8}, "sivo.gifabcd"), Words({1, 8, 4, 8}, "sivo.gifab"),
          Words({1, 8, 0}, "\x03"), Words({1, 4, 0, 0}, "x"),
          Words({1, 8, 0, 256}, std::string(256, 'x')),
          Words({16385}) + std::string(4 * 16385 + 8, '\0')}) {
        Write(bytes);
        EXPECT_EQ(Find("sivo.gif"), "broken") << testing::PrintToString(bytes);
    }
    // Sparse: an entry of 64 MiB and a byte, and 2 GiB of table under a huge count. Both
    // are refused at once, without reading or allocating what they claim.
    for (const auto& [head, size] :
         {std::pair<std::string, off_t>{Words({1, 8, 0x4000001, 8}, "sivo.gif"), 80 << 20},
          {Words({0x1FFFFFFF, 0x80000008}), 0x80000010}}) {
        Write(head);
        ASSERT_EQ(truncate(path.c_str(), size), 0);
        EXPECT_EQ(Find("sivo.gif"), "broken") << size;
    }
    // An entry before the broken one is still read.
    Write(Words({2, 12, 0x7FFFFFF0u, 2, 8}, "sivo.gifok"));
    EXPECT_EQ(Find("sivo.gif"), "ok");
    EXPECT_EQ(Find("cvet.gif"), "broken");
}

// A refusal says why in one line and leaves every file as it was, with no temporary file behind;
// what the tool writes replaces a file whole, and others can read it.
TEST_F(ArchiveTest, TheToolPacksListsAndExtractsAndNeverDestroysAFile)
{
    // The refusals' files, packed (one by its full path) and unpacked; huge.gif's 3 GiB are sparse.
    ASSERT_EQ(
        Sh("printf click! >klik.wav && : >cvet.gif && head -c 5000 /dev/urandom >big.gif && "
           "truncate -s 3G huge.gif && mkdir somedir && mkfifo fifo && printf old >old.txt && "
           "ln -s old.txt link && ln old.txt other.txt && $PAK pack out.bin $PWD/klik.wav "
           "cvet.gif && $PAK pack big.bin big.gif && ln out.bin hard.bin && "
           "$PAK extract out.bin klik.wav copy.wav && cat copy.wav"),
        "0 click!");
    EXPECT_EQ(Pak("list out.bin"), "0 klik.wav\t6\ncvet.gif\t0\n");
    const std::string archive = cHeadlessGame::ReadFile(dir / "out.bin"), listing = Sh("ls");
    const std::pair<std::string, std::string> refusals[] = {
        {"pack out.bin klik.wav big.gif", "out.bin: File too large"},
        {"pack out.bin somedir", "somedir: not a regular file"},
        {"pack out.bin fifo", "fifo: not a regular file"},
        {"pack out.bin /dev/zero", "/dev/zero: not a regular file"},
        {"pack out.bin klik.wav huge.gif", "huge.gif: too large for an archive, which holds "
                                           "entries of at most 64 MiB and 2 GiB in all"},
        {"pack out.bin klik.wav somedir/../klik.wav",
         "two files named 'klik.wav': klik.wav and somedir/../klik.wav"},
        {"pack link klik.wav", "link: not a regular file"},
        {"pack fifo klik.wav", "fifo: not a regular file"},
        {"list klik.wav", "klik.wav is broken: the entry table runs past the end of the archive"},
        {"extract out.bin nema.wav", "out.bin has no such entry named nema.wav"},
        {"extract out.bin klik.wav out.bin", "out.bin: is the archive being read"},
        {"extract out.bin klik.wav hard.bin", "hard.bin: is the archive being read"},
        {"extract out.bin klik.wav link", "link: not a regular file"},
        {"extract out.bin klik.wav fifo", "fifo: not a regular file"},
        {"extract out.bin klik.wav .", ".: not a regular file"},
        {"extract big.bin big.gif old.txt", "old.txt: File too large"}};
    for (const auto& [args, says] : refusals) {
        EXPECT_EQ(Pak(args), "1 zagonetar-pak: " + says + "\n") << args;
        EXPECT_EQ(cHeadlessGame::ReadFile(dir / "out.bin"), archive) << args;
        EXPECT_EQ(Sh("cat old.txt && test -p fifo && ls"), "0 old" + listing.substr(2)) << args;
    }
    for (const char* args : {"pack out.bin", "frobnicate"})
        EXPECT_EQ(Pak(args).rfind("2 usage: zagonetar-pak pack OUT FILE...", 0), 0u) << args;

    // A name can't forge lines or move the terminal's cursor in a listing.
    ASSERT_TRUE(Archive::Write(
        path, {{"a\tb\nc", {'x'}}, {"\x1b[2J\x7f\\", {}}, {"\xc5\xa1uma", {}}}, &error));
    EXPECT_EQ(Pak("list a.bin"), "0 a\\tb\\nc\t1\n\\x1b[2J\\x7f\\\\\t0\n\xc5\xa1uma\t0\n");
    // Nor steer it with C1 controls, turn the text around, or hide bytes that are not UTF-8.
    ASSERT_TRUE(Archive::Write(
        path, {{"\xc2\x9b[2J", {}}, {"\xe2\x80\xaegnp.exe", {}}, {"a\x9b\xe2\x80", {}}}, &error));
    EXPECT_EQ(Pak("list a.bin"), "0 \\u009b[2J\t0\n\\u202egnp.exe\t0\na\\x9b\\xe2\\x80\t0\n");
    EXPECT_EQ(Pak("list a.bin >/dev/full"),
              "1 zagonetar-pak: standard output: No space left on device\n");
    // Written whole through a new name: the other name of a hard link keeps the old bytes.
    EXPECT_EQ(Sh("$PAK extract out.bin klik.wav old.txt && cat old.txt other.txt"), "0 click!old");
    // A replaced archive keeps its mode and owner; a new file's mode follows the umask.
    EXPECT_EQ(Sh("chmod 600 out.bin && umask 002 && $PAK pack out.bin klik.wav && $PAK pack "
                 "new.bin klik.wav && $PAK extract new.bin klik.wav new.wav && stat -c %a out.bin "
                 "new.bin new.wav"),
              "0 600\n664\n664\n");
    if (geteuid() == 0) { // only root may give a file away
        EXPECT_EQ(
            Sh("chown 65534:65534 out.bin && $PAK pack out.bin klik.wav && stat -c %u:%g out.bin"),
            "0 65534:65534\n");
    }
}

} // namespace

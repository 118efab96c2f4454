// The archive reader: lookup rules on well-formed archives, and malformed archives
// that must end in a clear error instead of a crash or a huge allocation.
#include "cChild.h"
#include "cTestAssets.h"
#include "resources/cResourceArchive.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<unsigned char>;

void PutU32(Bytes& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

Bytes Record(const std::string& name, const std::string& data)
{
    Bytes r;
    PutU32(r, static_cast<uint32_t>(data.size()));
    PutU32(r, static_cast<uint32_t>(name.size()));
    r.insert(r.end(), name.begin(), name.end());
    r.insert(r.end(), data.begin(), data.end());
    return r;
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    if (!bytes.empty())
        fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

struct cLookup
{
    cResourceArchive::eResult result;
    std::string data;
    std::string error;
};

cLookup Find(const std::string& path, const std::string& name)
{
    unsigned char* data = nullptr;
    uint32_t size = 0;
    cLookup lookup;
    lookup.result = cResourceArchive::Find(path, name, &data, &size, &lookup.error);
    if (data)
        lookup.data.assign(reinterpret_cast<char*>(data), size);
    free(data);
    return lookup;
}

class ArchiveTest : public ::testing::Test
{
protected:
    cTempDir dir;
    std::string path = dir / "a.bin";
};

TEST_F(ArchiveTest, WrittenArchiveReadsBackEveryEntryAndListsThemInOrder)
{
    cTestAssets::WriteArchive(path, {{"sivo.gif", {'G', 'I', 'F'}}, {"klik.wav", {}},
                                     {"aladin.mid", {'M', 'T', 'h', 'd'}}});
    EXPECT_EQ(Find(path, "sivo.gif").data, "GIF");
    cLookup empty = Find(path, "klik.wav");
    EXPECT_EQ(empty.result, cResourceArchive::FOUND);
    EXPECT_EQ(empty.data, "");
    EXPECT_EQ(Find(path, "aladin.mid").data, "MThd");

    std::vector<cResourceArchive::cEntry> entries;
    std::string error;
    ASSERT_EQ(cResourceArchive::List(path, &entries, &error), cResourceArchive::FOUND);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "sivo.gif");
    EXPECT_EQ(entries[1].size, 0u);
    EXPECT_EQ(entries[2].name, "aladin.mid");
}

TEST_F(ArchiveTest, NamesMatchOnlyWhenExactlyEqual)
{
    cTestAssets::WriteArchive(path, {{"klik.wav", {'k'}}});
    EXPECT_EQ(Find(path, "KLIK.wav").result, cResourceArchive::NOT_FOUND);
    EXPECT_EQ(Find(path, "klik").result, cResourceArchive::NOT_FOUND);
    EXPECT_EQ(Find(path, "klik.wav2").result, cResourceArchive::NOT_FOUND);
    EXPECT_EQ(Find(path, "").result, cResourceArchive::NOT_FOUND);
    EXPECT_EQ(Find(path, "klik.wav").result, cResourceArchive::FOUND);
}

TEST_F(ArchiveTest, FirstOfTwoEqualNamesInTableOrderWins)
{
    // Records stored out of table order, with a gap, and a table slot shared twice.
    Bytes a = Record("klik.wav", "second-in-file");
    Bytes b = Record("klik.wav", "first-in-table");
    Bytes file;
    const uint32_t table = 4 + 4 * 3;
    const uint32_t offA = table + 7;                      // gap of 7 bytes
    const uint32_t offB = offA + static_cast<uint32_t>(a.size());
    PutU32(file, 3);
    PutU32(file, offB);
    PutU32(file, offA);
    PutU32(file, offB);
    file.resize(offA, 0xEE);
    file.insert(file.end(), a.begin(), a.end());
    file.insert(file.end(), b.begin(), b.end());
    WriteBytes(path, file);
    EXPECT_EQ(Find(path, "klik.wav").data, "first-in-table");
}

TEST_F(ArchiveTest, ZeroOrNegativeCountIsAnEmptyArchive)
{
    for (uint32_t count : {0u, 0x80000000u, 0xFFFFFFFFu}) {
        Bytes file;
        PutU32(file, count);
        WriteBytes(path, file);
        EXPECT_EQ(Find(path, "sivo.gif").result, cResourceArchive::NOT_FOUND) << count;
        std::vector<cResourceArchive::cEntry> entries;
        std::string error;
        EXPECT_EQ(cResourceArchive::List(path, &entries, &error), cResourceArchive::FOUND);
        EXPECT_TRUE(entries.empty());
    }
}

TEST_F(ArchiveTest, MissingFileReportsTheSystemError)
{
    cLookup lookup = Find(dir / "nema.bin", "sivo.gif");
    EXPECT_EQ(lookup.result, cResourceArchive::OPEN_FAILED);
    EXPECT_EQ(lookup.error, "No such file or directory");
}

// Each of these is broken before or at the entry sought; none may crash, read past the
// file or ask for more memory than the file could hold.
TEST_F(ArchiveTest, MalformedArchivesAreRefused)
{
    struct cCase
    {
        const char* what;
        Bytes bytes;
    };
    std::vector<cCase> cases;
    cases.push_back({"empty file", {}});
    cases.push_back({"short count", {1, 0}});
    {
        Bytes b;
        PutU32(b, 1000000000); // a table of 4 GB in a 40-byte file
        b.resize(40, 0);
        cases.push_back({"count beyond the file", b});
    }
    {
        Bytes b;
        PutU32(b, 1);
        PutU32(b, 4000); // record past the end
        cases.push_back({"offset past the end", b});
    }
    {
        Bytes b;
        PutU32(b, 1);
        PutU32(b, 0x90000000u); // not a valid signed file position
        cases.push_back({"offset above 2^31", b});
    }
    {
        Bytes b;
        PutU32(b, 1);
        PutU32(b, 8);
        PutU32(b, 4);          // size
        PutU32(b, 0xFFFFFFF0u); // name length
        b.resize(40, 'x');
        cases.push_back({"huge name length", b});
    }
    {
        Bytes b;
        PutU32(b, 1);
        PutU32(b, 8);
        Bytes r = Record("sivo.gif", "abcd");
        r[0] = 0xFF; r[1] = 0xFF; r[2] = 0xFF; r[3] = 0x7F; // data size 2 GB
        b.insert(b.end(), r.begin(), r.end());
        cases.push_back({"huge data size", b});
    }
    {
        Bytes b;
        PutU32(b, 1);
        PutU32(b, 8);
        Bytes r = Record("sivo.gif", "abcd");
        r.resize(r.size() - 2); // data cut short
        b.insert(b.end(), r.begin(), r.end());
        cases.push_back({"truncated data", b});
    }
    {
        Bytes b;
        PutU32(b, 1);
        PutU32(b, 8);
        PutU32(b, 0);
        b.push_back(3); // name length cut short
        cases.push_back({"truncated record header", b});
    }
    for (const cCase& c : cases) {
        WriteBytes(path, c.bytes);
        cLookup lookup = Find(path, "sivo.gif");
        EXPECT_EQ(lookup.result, cResourceArchive::MALFORMED) << c.what;
        EXPECT_FALSE(lookup.error.empty()) << c.what;
        std::vector<cResourceArchive::cEntry> entries;
        std::string error;
        EXPECT_NE(cResourceArchive::List(path, &entries, &error), cResourceArchive::FOUND) << c.what;
    }
}

TEST_F(ArchiveTest, EntryFoundBeforeABrokenOneIsStillRead)
{
    Bytes file;
    PutU32(file, 2);
    PutU32(file, 12);
    PutU32(file, 0x7FFFFFF0u);
    Bytes r = Record("sivo.gif", "ok");
    file.insert(file.end(), r.begin(), r.end());
    WriteBytes(path, file);
    EXPECT_EQ(Find(path, "sivo.gif").data, "ok");
    EXPECT_EQ(Find(path, "cvet.gif").result, cResourceArchive::MALFORMED);
}

TEST_F(ArchiveTest, ToolPacksListsAndExtracts)
{
    cTestAssets::WriteArchive(dir / "unused", {});
    FILE* f = fopen((dir / "klik.wav").c_str(), "wb");
    fputs("click!", f);
    fclose(f);
    f = fopen((dir / "cvet.gif").c_str(), "wb");
    fclose(f);

    cChild pack({ZAGONETAR_PAK, "pack", "out.bin", dir / "klik.wav", "cvet.gif"}, dir.Path());
    ASSERT_EQ(pack.Wait(10000), 0) << pack.Err();
    cChild list({ZAGONETAR_PAK, "list", "out.bin"}, dir.Path());
    ASSERT_EQ(list.Wait(10000), 0);
    EXPECT_EQ(list.Out(), "klik.wav\t6\ncvet.gif\t0\n");
    cChild extract({ZAGONETAR_PAK, "extract", "out.bin", "klik.wav", "copy.wav"}, dir.Path());
    ASSERT_EQ(extract.Wait(10000), 0);
    EXPECT_EQ(ReadFileText(dir / "copy.wav"), "click!");

    cChild missing({ZAGONETAR_PAK, "extract", "out.bin", "nema.wav"}, dir.Path());
    EXPECT_EQ(missing.Wait(10000), 1);
    EXPECT_NE(missing.Err().find("nema.wav"), std::string::npos);
    cChild noFile({ZAGONETAR_PAK, "pack", "x.bin", "does-not-exist.gif"}, dir.Path());
    EXPECT_EQ(noFile.Wait(10000), 1);
    EXPECT_NE(noFile.Err().find("does-not-exist.gif"), std::string::npos);
    cChild broken({ZAGONETAR_PAK, "list", "klik.wav"}, dir.Path());
    EXPECT_EQ(broken.Wait(10000), 1);
    EXPECT_NE(broken.Err().find("broken"), std::string::npos);
    cChild usage({ZAGONETAR_PAK, "frobnicate"}, dir.Path());
    EXPECT_EQ(usage.Wait(10000), 2);
}

} // namespace

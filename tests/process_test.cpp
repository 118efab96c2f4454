// The real game binary, started in a folder of archives the test builds: what it says
// and how it ends when something is missing or broken.
#include "cChild.h"
#include "cTestAssets.h"

#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using cTestAssets::FontFiles;
using cTestAssets::ImageFiles;
using cTestAssets::SoundFiles;

class GameProcess : public ::testing::Test
{
protected:
    cTempDir dir;

    void WriteAll() { cTestAssets::WriteGameArchives(dir.Path()); }
    int RunToEnd(cChild& child) { return child.Wait(20000); }
};

TEST_F(GameProcess, WithoutArchivesItReportsTheSystemErrorOnStandardError)
{
    cChild game({ZAGONETAR_BIN}, dir.Path());
    EXPECT_EQ(RunToEnd(game), 1);
    EXPECT_EQ(game.Err(), "Error opening resource file: No such file or directory\n");
    EXPECT_EQ(game.Out(), "");
}

TEST_F(GameProcess, AMissingEntryIsNamedOnStandardOutput)
{
    WriteAll();
    auto sounds = SoundFiles();
    cTestAssets::Without(sounds, "prijava.wav"); // never played, but still required
    cTestAssets::WriteArchive(dir / "sndres001.bin", sounds);
    cChild game({ZAGONETAR_BIN}, dir.Path());
    EXPECT_EQ(RunToEnd(game), 1);
    EXPECT_EQ(game.Out(), "Unable to find 'prijava.wav' in the resource file!\n");
}

TEST_F(GameProcess, AnUndecodablePictureIsWrittenToGreskaTxtOnOneLine)
{
    WriteAll();
    auto images = ImageFiles();
    cTestAssets::Replace(images, "cvet.gif", cTestAssets::Png());
    cTestAssets::WriteArchive(dir / "imgres001.bin", images);
    FILE* old = fopen((dir / "greska.txt").c_str(), "w");
    fputs("an earlier start\nleft\nthree lines\n", old);
    fclose(old);

    cChild game({ZAGONETAR_BIN}, dir.Path());
    EXPECT_EQ(RunToEnd(game), 1);
    const std::string report = ReadFileText(dir / "greska.txt");
    EXPECT_EQ(report.rfind("Unable to load bitmap: ", 0), 0u) << report;
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1);
    EXPECT_EQ(report.back(), '\n');
    EXPECT_EQ(game.Out(), "");
    EXPECT_EQ(game.Err(), "");

    // An empty entry can't be decoded either.
    cTestAssets::Replace(images, "cvet.gif", {});
    cTestAssets::WriteArchive(dir / "imgres001.bin", images);
    cChild again({ZAGONETAR_BIN}, dir.Path());
    EXPECT_EQ(RunToEnd(again), 1);
    EXPECT_EQ(ReadFileText(dir / "greska.txt").rfind("Unable to load bitmap: ", 0), 0u);
}

TEST_F(GameProcess, TheFontArchiveIsOpenedOnlyAfterTheOtherPictures)
{
    auto images = ImageFiles();
    cTestAssets::Without(images, "meni_ne.gif"); // the last picture loaded
    cTestAssets::WriteArchive(dir / "imgres001.bin", images);
    cTestAssets::WriteArchive(dir / "sndres001.bin", SoundFiles());
    cChild first({ZAGONETAR_BIN}, dir.Path());
    EXPECT_EQ(RunToEnd(first), 1);
    EXPECT_EQ(first.Out(), "Unable to find 'meni_ne.gif' in the resource file!\n");
    EXPECT_EQ(first.Err(), "");

    cTestAssets::WriteArchive(dir / "imgres001.bin", ImageFiles());
    cChild second({ZAGONETAR_BIN}, dir.Path());
    EXPECT_EQ(RunToEnd(second), 1);
    EXPECT_EQ(second.Err(), "Error opening resource file: No such file or directory\n");
}

TEST_F(GameProcess, ABrokenArchiveNamesTheArchiveAndTheEntrySought)
{
    WriteAll();
    FILE* f = fopen((dir / "sndres001.bin").c_str(), "wb");
    const unsigned char lies[] = {0xFF, 0xFF, 0xFF, 0x0F, 8, 0, 0, 0}; // a huge count
    fwrite(lies, 1, sizeof lies, f);
    fclose(f);
    cChild game({ZAGONETAR_BIN}, dir.Path());
    EXPECT_EQ(RunToEnd(game), 1);
    const std::string out = game.Out();
    EXPECT_NE(out.find(dir / "sndres001.bin"), std::string::npos) << out;
    EXPECT_NE(out.find("'prijava.wav'"), std::string::npos) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1);
}

TEST_F(GameProcess, RunsFromAWorkingDirectoryOfAnyLength)
{
    std::string deep = dir.Path();
    for (int i = 0; i < 12; ++i) {
        deep += "/" + std::string(40, static_cast<char>('a' + i));
        ASSERT_EQ(mkdir(deep.c_str(), 0755), 0);
    }
    ASSERT_GT(deep.size(), 400u);
    cTestAssets::WriteGameArchives(deep);
    cChild game({ZAGONETAR_BIN}, deep);
    ASSERT_TRUE(game.WaitForOutput("cDugme Init\n", 20000)) << game.Out() << game.Err();
    game.Signal(SIGTERM); // SDL turns it into the window's close event
    EXPECT_EQ(game.Wait(20000), 0);
    EXPECT_EQ(game.Out(), "cGameEngine Init\ncDugme Init\ncIntro Cleanup\ncGameEngine Cleanup\n");
}

TEST_F(GameProcess, AnUnreadableWorkingDirectoryIsAClearError)
{
    WriteAll();
    cTempDir parent;
    const std::string doomed = parent / "gone";
    ASSERT_EQ(mkdir(doomed.c_str(), 0755), 0);
    cChild game({ZAGONETAR_BIN}, doomed, {}, true);
    EXPECT_EQ(RunToEnd(game), 1);
    EXPECT_EQ(game.Err().rfind("Unable to read the working directory: ", 0), 0u) << game.Err();
}

TEST_F(GameProcess, WithoutADisplayItSaysSoInOneLine)
{
    WriteAll();
    cChild game({ZAGONETAR_BIN}, dir.Path(), {"DISPLAY=", "SDL_VIDEODRIVER="});
    EXPECT_EQ(RunToEnd(game), 1);
    const std::string err = game.Err();
    EXPECT_NE(err.find("no display"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(game.Out(), "");
}

} // namespace

// Start-up with missing, broken and undecodable assets: what the player is told, and
// where. The loaders only report; the entry point prints and ends with status 1.
#include "cHeadlessGame.h"
#include "engine/cLayout.h"
#include "resources/cAssetNames.h"
#include "resources/cResourceArchive.h"
#include "screens/cIzbor.h"
#include "screens/cSerijacija.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using L = cLayout;
using Files = std::vector<cResourceArchive::cFile>;

Files Entries(const std::string& path)
{
    std::vector<cResourceArchive::cEntry> entries;
    std::string error;
    cResourceArchive::List(path, &entries, &error);
    Files files;
    for (const cResourceArchive::cEntry& entry : entries) {
        unsigned char* data = nullptr;
        uint32_t size = 0;
        cResourceArchive::Find(path, entry.name, &data, &size, &error);
        files.push_back({entry.name, std::vector<unsigned char>(data, data + size)});
        free(data);
    }
    return files;
}

// A folder with the built archives, where a test changes what it needs, and the game
// started there.
class LoadingTest : public ::testing::Test
{
protected:
    LoadingTest()
    {
        cHeadlessGame::CopyArchives(dir.Path());
        previous = getcwd(nullptr, 0);
    }
    ~LoadingTest() override
    {
        if (chdir(previous) != 0)
            perror("chdir");
        free(previous);
    }
    // Replaces the entry's bytes with `data`, or removes the entry when `data` is null.
    void Rewrite(const char* archive, const std::string& name, const std::string* data)
    {
        Files files = Entries(dir / archive);
        for (size_t i = 0; i < files.size(); ++i)
            if (files[i].name == name) {
                if (data)
                    files[i].data.assign(data->begin(), data->end());
                else
                    files.erase(files.begin() + static_cast<long>(i));
                break;
            }
        std::string error;
        ASSERT_TRUE(cResourceArchive::Write(dir / archive, files, &error)) << error;
    }
    cLoadError Start()
    {
        if (chdir(dir.Path().c_str()) != 0)
            return {cLoadError::NONE, "no such folder"};
        cLoadError failure = engine.Init("Zagonetar", L::SCREEN_WIDTH, L::SCREEN_HEIGHT, 0);
        if (!failure.Failed()) {
            engine.sounds.farewellMs = 0;
            engine.Cleanup();
        }
        return failure;
    }

    cTempDir dir;
    char* previous;
    cGameEngine engine;
};

TEST_F(LoadingTest, EveryMissingEntryIsNamedOnStandardOutputInLoadOrder)
{
    std::vector<std::pair<const char*, std::string>> cases;
    for (const char* sound : cAssetNames::SOUNDS)
        cases.push_back({cAssetNames::SOUND_ARCHIVE, sound});
    cases.push_back({cAssetNames::SOUND_ARCHIVE, cAssetNames::MUSIC});
    for (const cAssetNames::cPicture& picture : cAssetNames::PICTURES)
        cases.push_back({cAssetNames::IMAGE_ARCHIVE, picture.name});
    for (const auto& [archive, name] : cases) {
        cHeadlessGame::CopyArchives(dir.Path());
        Rewrite(archive, name, nullptr);
        // A broken font archive is not even opened while a picture is missing.
        std::ofstream(dir / cAssetNames::FONT_ARCHIVE) << "broken";
        const cLoadError failure = Start();
        EXPECT_EQ(failure.channel, cLoadError::STANDARD_OUTPUT) << name;
        EXPECT_EQ(failure.message, "Unable to find '" + name + "' in the resource file!");
    }
    cHeadlessGame::CopyArchives(dir.Path());
    Rewrite(cAssetNames::FONT_ARCHIVE, cAssetNames::FONT, nullptr);
    EXPECT_EQ(Start().message, "Unable to find 'fnt.gif' in the resource file!");
}

TEST_F(LoadingTest, MissingAndBrokenArchivesAndTheWorkingDirectory)
{
    unlink((dir / cAssetNames::SOUND_ARCHIVE).c_str());
    cLoadError failure = Start();
    EXPECT_EQ(failure.channel, cLoadError::STANDARD_ERROR);
    EXPECT_EQ(failure.message, "Error opening resource file: No such file or directory");

    std::ofstream(dir / cAssetNames::SOUND_ARCHIVE) << "\x05\0\0\0\x08\0\0\0";
    failure = Start();
    EXPECT_EQ(failure.channel, cLoadError::STANDARD_OUTPUT);
    EXPECT_EQ(failure.message.rfind("Broken resource file '" + dir.Path() + "/" +
                                        cAssetNames::SOUND_ARCHIVE +
                                        "' while looking for 'prijava.wav': ",
                                    0),
              0u)
        << failure.message;

    // A folder removed under the game is a clear error.
    const std::string gone = dir / "gone";
    mkdir(gone.c_str(), 0755);
    ASSERT_EQ(chdir(gone.c_str()), 0);
    ASSERT_EQ(rmdir(gone.c_str()), 0);
    failure = engine.Init("Zagonetar", L::SCREEN_WIDTH, L::SCREEN_HEIGHT, 0);
    EXPECT_EQ(failure.channel, cLoadError::STANDARD_ERROR);
    EXPECT_EQ(failure.message, "Unable to read the working directory: No such file or directory");
}

TEST_F(LoadingTest, AnUndecodablePictureGoesToGreskaTxtAndABadSoundIsOnlySilent)
{
    // A sound that would crash SDL (no channels) and bytes that are no sound.
    const Files sounds = Entries(cHeadlessGame::ArchivePath(cAssetNames::SOUND_ARCHIVE));
    std::string noChannels(sounds[2].data.begin(), sounds[2].data.end());
    noChannels[22] = 0;
    const std::string notSound = "not a sound";
    Rewrite(cAssetNames::SOUND_ARCHIVE, sounds[2].name, &noChannels);
    Rewrite(cAssetNames::SOUND_ARCHIVE, sounds[3].name, &notSound);
    EXPECT_FALSE(Start().Failed());

    const char zeroSized[] = "GIF89a\0\0\0\0\0\0\0,\0\0\0\0\0\0\0\0\0\2\2D\1\0;";
    for (const auto& [picture, says] :
         {std::pair<std::string, std::string>{"\x89PNG\r\n\x1a\n", ""},
          {std::string(zeroSized, sizeof zeroSized - 1), "0x0"}}) {
        Rewrite(cAssetNames::IMAGE_ARCHIVE, "cvet.gif", &picture);
        const cLoadError failure = Start();
        EXPECT_EQ(failure.channel, cLoadError::GRESKA_TXT);
        EXPECT_EQ(failure.message.rfind("Unable to load bitmap: ", 0), 0u);
        EXPECT_NE(failure.message.find(says), std::string::npos) << failure.message;
        EXPECT_TRUE(failure.Report());
        std::ifstream in(dir / "greska.txt");
        std::string line;
        std::getline(in, line);
        EXPECT_EQ(line, failure.message);
        EXPECT_TRUE(in.peek() == EOF) << "one line";
    }
}

// What the mixer played once the puzzle was on, through SDL's disk audio driver: the
// loudest 16-bit sample.
int LoudestInThePuzzle(cGameEngine& engine, const std::string& audioFile)
{
    engine.ChangeState(cIzbor::Instance());
    engine.RunFrame(false); // the music is decoded here
    SDL_Delay(300);
    std::ifstream before(audioFile, std::ios::binary | std::ios::ate);
    const std::streamoff start = before.tellg();
    engine.ChangeState(cSerijacija::Instance());
    for (int i = 0; i < 20; ++i)
        engine.RunFrame(true);
    std::ifstream in(audioFile, std::ios::binary);
    in.seekg(start);
    int loudest = 0;
    int16_t sample;
    while (in.read(reinterpret_cast<char*>(&sample), sizeof sample))
        loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
    return loudest;
}

TEST_F(LoadingTest, TheMusicPlaysInThePuzzleInAnyFormatAndMusicThatCantBePlayedIsSilent)
{
    const Files sounds = Entries(cHeadlessGame::ArchivePath(cAssetNames::SOUND_ARCHIVE));
    const std::string wav(sounds[3].data.begin(), sounds[3].data.end()), garbage = "garbage";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIODELAY", "20", 1); // faster than real time
    for (const auto& [music, audible] :
         {std::pair<const std::string*, bool>{nullptr, true}, {&wav, true}, {&garbage, false}}) {
        cHeadlessGame::CopyArchives(dir.Path());
        if (music)
            Rewrite(cAssetNames::SOUND_ARCHIVE, cAssetNames::MUSIC, music);
        const std::string audioFile = dir / ("audio-" + std::to_string(audible) + ".raw");
        setenv("SDL_DISKAUDIOFILE", audioFile.c_str(), 1);
        ASSERT_EQ(chdir(dir.Path().c_str()), 0);
        ASSERT_FALSE(engine.Init("Zagonetar", L::SCREEN_WIDTH, L::SCREEN_HEIGHT, 0).Failed());
        engine.sounds.farewellMs = 0;
        const int loudest = LoudestInThePuzzle(engine, audioFile);
        EXPECT_EQ(loudest > 500, audible)
            << (music ? "replaced music" : "the tune") << ": " << loudest;
        EXPECT_EQ(engine.states.back(), cSerijacija::Instance());
        engine.Cleanup();
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

TEST_F(LoadingTest, GreskaTxtIsNeverFollowedThroughALinkNorWaitedOn)
{
    const cLoadError failure(cLoadError::GRESKA_TXT, "Unable to load bitmap: test");
    ASSERT_EQ(chdir(dir.Path().c_str()), 0);
    std::ofstream(dir / "target") << "keep me";
    ASSERT_EQ(symlink("target", "greska.txt"), 0);
    EXPECT_FALSE(failure.Report());
    std::ifstream target(dir / "target");
    std::string kept;
    std::getline(target, kept);
    EXPECT_EQ(kept, "keep me");

    unlink("greska.txt");
    ASSERT_EQ(mkfifo("greska.txt", 0644), 0);
    EXPECT_FALSE(failure.Report()) << "returns at once, with nobody reading";
    const int reader = open("greska.txt", O_RDONLY | O_NONBLOCK);
    EXPECT_FALSE(failure.Report()) << "nothing goes into a pipe, even one being read";
    char got;
    EXPECT_LE(read(reader, &got, 1), 0);
    close(reader);
    EXPECT_EQ(access("greska.txt", F_OK), 0) << "and the pipe is left where it was";
    unlink("greska.txt");

    // A full disk leaves no half-written file behind.
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit, full = {10, 10};
    getrlimit(RLIMIT_FSIZE, &limit);
    setrlimit(RLIMIT_FSIZE, &full);
    EXPECT_FALSE(failure.Report());
    setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_NE(access("greska.txt", F_OK), 0);

    ASSERT_EQ(mkdir("greska.txt", 0755), 0);
    EXPECT_FALSE(failure.Report());
}

SDL_Surface* NoVideoMode(int, int, int, Uint32)
{
    return nullptr;
}

TEST_F(LoadingTest, WithoutADisplayOrAWindowItSaysSoInsteadOfDrawingInTheTerminal)
{
    engine.setVideoMode = NoVideoMode;
    const cLoadError noWindow = Start();
    EXPECT_EQ(noWindow.channel, cLoadError::STANDARD_ERROR);
    EXPECT_EQ(noWindow.message.rfind("Zagonetar: the 640x480 window could not be opened: ", 0), 0u);

    const char* driver = getenv("SDL_VIDEODRIVER");
    const std::string saved = driver ? driver : "";
    unsetenv("SDL_VIDEODRIVER");
    unsetenv("DISPLAY");
    const cLoadError failure = Start();
    setenv("SDL_VIDEODRIVER", saved.c_str(), 1);
    EXPECT_EQ(failure.channel, cLoadError::STANDARD_ERROR);
    EXPECT_EQ(failure.message.rfind("Zagonetar: no display could be opened (", 0), 0u)
        << failure.message;
}

} // namespace

// Start-up with missing, broken and undecodable assets: what the player is told, and
// where. The loaders only report; the entry point prints and ends with status 1.
#include "cHeadlessGame.h"
#include "resources/cResourceArchive.h"
#include "screens/cIzbor.h"
#include "screens/cSerijacija.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using H = cHeadlessGame;
using namespace std::string_literals;

const char* const PICTURES = "imgres001.bin";
const char* const SOUNDS = "sndres001.bin";
const char* const FONT = "fntres001.bin";

// The game started in a folder of its own holding copies of the built archives.
class LoadingTest : public ::testing::Test
{
protected:
    LoadingTest()
    {
        H::CopyArchives(dir.Path());
        EXPECT_EQ(chdir(dir.Path().c_str()), 0);
    }
    ~LoadingTest() override { EXPECT_EQ(chdir("/"), 0); }
    // Writes the archive anew with the entry holding `data`, or without it when none.
    void Rewrite(const char* archive, const std::string& name, std::optional<std::string> data = {})
    {
        std::vector<cResourceArchive::cFile> files;
        std::string error;
        const auto keep = [&](const cResourceArchive::cEntry& e) {
            const std::string bytes = H::Entry(archive, e.name);
            if (e.name != name)
                files.push_back({e.name, {bytes.begin(), bytes.end()}});
        };
        cResourceArchive::List(archive, keep, &error);
        if (data)
            files.push_back({name, {data->begin(), data->end()}});
        ASSERT_TRUE(cResourceArchive::Write(archive, files, &error)) << error;
    }
    // "started" (and stopped again unless `stop` is false), or the failure and its channel.
    std::string Start(bool stop = true)
    {
        failure = engine.Init("Zagonetar", 640, 480, 0);
        engine.sounds.farewellMs = 0;
        if (stop && !failure.Failed())
            engine.Cleanup();
        const char* const told[] = {"started", "stdout: ", "stderr: ", "greska.txt: "};
        return told[failure.channel] + failure.message;
    }

    cTempDir dir;
    cGameEngine engine;
    cLoadError failure;
};

TEST_F(LoadingTest, WhatCantBeLoadedOrShownIsToldOnItsChannel)
{
    // Every missing entry is named on standard output; a broken font archive is not even opened
    // while a picture is missing.
    const auto missing = [&](const char* archive, const std::string& name) {
        H::CopyArchives(dir.Path());
        Rewrite(archive, name);
        if (archive != FONT)
            std::ofstream(FONT) << "broken";
        EXPECT_EQ(Start(), "stdout: Unable to find '" + name + "' in the resource file!");
        cTrace printed;
        EXPECT_TRUE(failure.Report() && printed.Take() == failure.message + "\n") << name;
    };
    for (const char* sound : {"prijava.wav", "odjava.wav", "klik.wav", "aplauz.wav", "ubac.wav",
                              "ponovo.wav", "aladin.mid"})
        missing(SOUNDS, sound);
    for (const char* picture :
         {"sivo.gif", "start_sprajtmapa.gif", "pejzaz-s.gif", "serijacija_ikonica_sprajtmapa.gif",
          "sss_bez_balvana.gif", "balvani_sprajtmapa.gif", "dugme_izlaz_sprajtmapa.gif", "cvet.gif",
          "naziv_aplikacije.gif", "programer.gif", "meni_da.gif", "meni_ne.gif"})
        missing(PICTURES, picture);
    missing(FONT, "fnt.gif");

    unlink(SOUNDS);
    EXPECT_EQ(Start(), "stderr: Error opening resource file: No such file or directory");
    std::ofstream(SOUNDS) << "broken"; // a count of 1802465890 entries, in 6 bytes
    EXPECT_EQ(Start(), "stdout: Broken resource file '" + dir / SOUNDS +
                           "' while looking for 'prijava.wav': the entry table runs past the "
                           "end of the archive");

    // A folder removed under the game holds no archives.
    ASSERT_TRUE(mkdir("gone", 0755) == 0 && chdir("gone") == 0 && rmdir("../gone") == 0);
    EXPECT_EQ(Start(), "stderr: Error opening resource file: No such file or directory");

    // No window, or no display at all, is said instead of drawing in the terminal.
    engine.display.setVideoMode = [](int, int, int, Uint32) -> SDL_Surface* {
        SDL_SetError("no room");
        return nullptr;
    };
    EXPECT_EQ(Start(), "stderr: Zagonetar: the 640x480 window could not be opened: no room");
    cOptions twice;
    twice.scale = 2;
    EXPECT_EQ(engine.Init("Zagonetar", 640, 480, 0, twice).message,
              "Zagonetar: the 1280x960 window could not be opened: no room");
    unsetenv("SDL_VIDEODRIVER");
    unsetenv("DISPLAY");
    // SDL says why in words of its own version, between the game's.
    const std::string none = Start();
    EXPECT_EQ(none.substr(0, 47), "stderr: Zagonetar: no display could be opened (");
    EXPECT_EQ(none.substr(none.size() - 35), "); start it from a desktop session.");
    setenv("SDL_VIDEODRIVER", "dummy", 1);
}

TEST_F(LoadingTest, BadSoundsAndMusicAreSilentAndTheTunePlaysInThePuzzleAsMidiOrWav)
{
    const auto built = [](const char* name) { return H::Entry(H::Built(SOUNDS), name); };
    // A sound that would crash SDL (no channels) and bytes that are no sound.
    const std::string noChannels = built("klik.wav").replace(22, 1, 1, '\0');
    Rewrite(SOUNDS, "klik.wav", noChannels);
    Rewrite(SOUNDS, "aplauz.wav", "not a sound");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "audio.raw", 1);
    setenv("SDL_DISKAUDIODELAY", "20", 1); // faster than real time
    // 200000 notes at once: the synthesizer would complain of each on standard error.
    std::string chord = "MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\x0c\x35\x04"s;
    for (int i = 0; i < 200000; ++i)
        chord += {'\0', char(0x90 | i % 16), char(i % 128), 64};
    for (const auto& [music, audible] : {std::pair<std::string, bool>{built("aladin.mid"), true},
                                         {built("aplauz.wav"), true},
                                         {"garbage", false},
                                         {noChannels, false},
                                         {chord + "\0\xff\x2f\0"s, false}}) {
        Rewrite(SOUNDS, "aladin.mid", music);
        ASSERT_EQ(Start(false), "started");
        engine.ChangeState(cIzbor::Instance());
        engine.RunFrame(false); // the music is decoded here
        SDL_Delay(300);
        // The loudest 16-bit sample the mixer plays once the puzzle is on.
        std::ifstream played("audio.raw", std::ios::binary | std::ios::ate);
        engine.ChangeState(cSerijacija::Instance());
        for (int i = 0; i < 20; ++i)
            engine.RunFrame(true);
        int loudest = 0;
        for (int16_t sample; played.read(reinterpret_cast<char*>(&sample), sizeof sample);)
            loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
        EXPECT_EQ(loudest > 500, audible) << music.size() << " bytes of music: " << loudest;
        EXPECT_EQ(engine.states.back(), cSerijacija::Instance());
        engine.Cleanup();
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

// An undecodable picture goes to greska.txt in one line; never through a link, into a pipe or
// folder.
TEST_F(LoadingTest, AnUndecodablePictureGoesToGreskaTxtOnlyWhenItIsAPlainFile)
{
    // The longer message first, so one left behind would show.
    for (const auto& [picture, says] :
         {std::pair{"GIF89a\0\0\0\0\0\0\0,\0\0\0\0\0\0\0\0\0\2\2D\1\0;"s,
                    "the picture declares 0x0 pixels; at most 2048x2048 can be shown"s},
          std::pair{"\x89PNG\r\n\x1a\n"s, "not a GIF file"s}}) {
        Rewrite(PICTURES, "cvet.gif", picture);
        EXPECT_EQ(Start(), "greska.txt: Unable to load bitmap: " + says);
        EXPECT_TRUE(failure.Report());
        EXPECT_EQ(H::ReadFile("greska.txt"), failure.message + "\n");
    }
    // Another name of the same file keeps its bytes.
    std::ofstream("kept.txt") << "kept";
    ASSERT_TRUE(unlink("greska.txt") == 0 && link("kept.txt", "greska.txt") == 0);
    EXPECT_TRUE(failure.Report());
    EXPECT_EQ(H::ReadFile("kept.txt") + H::ReadFile("greska.txt"), "kept" + failure.message + "\n");
    // A link, a pipe (at once, with nobody reading) or a folder is left as it is.
    unlink("greska.txt");
    for (const auto& make : std::vector<std::function<int()>>{
             [] { return symlink("kept.txt", "greska.txt"); },
             [] { return mkfifo("greska.txt", 0644); }, [] { return mkdir("greska.txt", 0755); }}) {
        ASSERT_EQ(make(), 0);
        EXPECT_FALSE(failure.Report());
        EXPECT_EQ(H::ReadFile("kept.txt"), "kept");
        EXPECT_EQ(remove("greska.txt"), 0);
    }
}

} // namespace

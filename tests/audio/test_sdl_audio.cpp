// The SDL2_mixer sound output under the audio object model, on SDL's dummy driver, which plays in
// real time into nothing: sounds really start, end, loop and pause.
#include "platform/audio.h"
#include "platform/sdl/sdlaudio.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using namespace plat;
using Clock = std::chrono::steady_clock;

namespace {

void Put16(std::ofstream& f, uint16_t v) {
    f.put(static_cast<char>(v & 0xFF)).put(static_cast<char>(v >> 8));
}
void Put32(std::ofstream& f, uint32_t v) {
    Put16(f, static_cast<uint16_t>(v & 0xFFFF));
    Put16(f, static_cast<uint16_t>(v >> 16));
}

// A mono 16-bit tone.
void WriteTone(const std::string& path, double seconds) {
    const uint32_t rate = 22050;
    const auto frames = static_cast<uint32_t>(seconds * rate);
    std::ofstream f(path, std::ios::binary);
    f.write("RIFF", 4);
    Put32(f, 36 + frames * 2);
    f.write("WAVEfmt ", 8);
    Put32(f, 16);
    Put16(f, 1);
    Put16(f, 1);
    Put32(f, rate);
    Put32(f, rate * 2);
    Put16(f, 2);
    Put16(f, 16);
    f.write("data", 4);
    Put32(f, frames * 2);
    for (uint32_t i = 0; i < frames; ++i) {
        Put16(f,
              static_cast<uint16_t>(static_cast<int16_t>(8000.0 * std::sin(i * 2.0 * M_PI * 440.0 / rate))));
    }
}

class SdlAudioTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("thornvale-audio-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               std::to_string(reinterpret_cast<uintptr_t>(this)));
        std::filesystem::create_directories(dir);
        shortTone = (dir / "short.wav").string();
        WriteTone(shortTone, 0.25);
        system = std::make_unique<AudioSystem>(&out);
        ASSERT_EQ(system->Init(100, kAudioInitNormal), kAudioOk);
        ASSERT_FALSE(out.Silent()) << "the dummy driver should open";
    }
    void TearDown() override {
        system.reset();
        std::filesystem::remove_all(dir);
    }

    // Runs updates every 5 ms until done() or the time runs out; returns the seconds waited.
    double RunUntil(const std::function<bool()>& done, double limit) {
        const auto start = Clock::now();
        while (!done()) {
            system->Update();
            const double waited = std::chrono::duration<double>(Clock::now() - start).count();
            if (waited > limit) {
                return waited;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return std::chrono::duration<double>(Clock::now() - start).count();
    }
    static bool Invalid(const Channel& channel) {
        bool playing = false;
        return channel.IsPlaying(&playing) == kAudioErrInvalidHandle;
    }
    static bool Playing(const Channel& channel) {
        bool playing = false;
        return channel.IsPlaying(&playing) == kAudioOk && playing;
    }

    std::filesystem::path dir;
    std::string shortTone;
    SdlAudioOutput out;
    std::unique_ptr<AudioSystem> system;
};

TEST_F(SdlAudioTest, AShortSoundStartsPlaysEndsAndItsHandleTurnsInvalid) {
    Sound sound;
    ASSERT_EQ(system->CreateStream(shortTone, kAudioDefault, &sound), kAudioOk);
    uint32_t length = 0;
    ASSERT_EQ(sound.GetLength(&length), kAudioOk);
    EXPECT_NEAR(length, 250.0, 5.0);
    Channel channel;
    ASSERT_EQ(system->PlaySound(kChannelFree, sound, false, &channel), kAudioOk);
    EXPECT_TRUE(Playing(channel));
    system->Update();
    EXPECT_TRUE(Playing(channel));
    const double took = RunUntil([&] { return Invalid(channel); }, 3.0);
    EXPECT_TRUE(Invalid(channel)) << "still valid after " << took << " s";
    EXPECT_GT(took, 0.15) << "a quarter-second sound ended too early";
    EXPECT_LT(took, 1.5);
    int playing = -1;
    ASSERT_EQ(system->GetChannelsPlaying(&playing), kAudioOk);
    EXPECT_EQ(playing, 0);
}

TEST_F(SdlAudioTest, ALoopingSoundLoopsUntilItsLoopCountIsSetToZero) {
    Sound sound;
    ASSERT_EQ(system->CreateStream(shortTone, kAudioLoopNormal, &sound), kAudioOk);
    Channel channel;
    ASSERT_EQ(system->PlaySound(kChannelFree, sound, false, &channel), kAudioOk);
    RunUntil([] { return false; }, 0.9); // more than three passes
    ASSERT_TRUE(Playing(channel)) << "a looping sound ended by itself";
    ASSERT_EQ(channel.SetLoopCount(0), kAudioOk);
    const double took = RunUntil([&] { return Invalid(channel); }, 3.0);
    EXPECT_TRUE(Invalid(channel));
    EXPECT_LT(took, 0.25 + 0.3) << "it should end with the pass it was playing";
}

TEST_F(SdlAudioTest, ALoopingSoundGivenTwoMorePassesPlaysThreeAndEnds) {
    Sound sound;
    ASSERT_EQ(system->CreateStream(shortTone, kAudioLoopNormal, &sound), kAudioOk);
    Channel channel;
    ASSERT_EQ(system->PlaySound(kChannelFree, sound, false, &channel), kAudioOk);
    ASSERT_EQ(channel.SetLoopCount(2), kAudioOk);
    const double took = RunUntil([&] { return Invalid(channel); }, 3.0);
    EXPECT_TRUE(Invalid(channel));
    EXPECT_GT(took, 0.6) << "three passes of a quarter second";
    EXPECT_LT(took, 1.3);
}

// A sound is streamed from its file: a minute of it, which whole would take over 10 MB in the mixer's
// format, costs the heap a small buffer while it plays.
TEST_F(SdlAudioTest, ALongSoundCostsNoMemoryForItsLength) {
    const std::string longTone = (dir / "minute.wav").string();
    WriteTone(longTone, 60.0);
    const auto heap = [] { return mallinfo2().uordblks + mallinfo2().hblkhd; };
    const size_t before = heap();
    Sound sound;
    ASSERT_EQ(system->CreateStream(longTone, kAudioLoopNormal, &sound), kAudioOk);
    uint32_t length = 0;
    ASSERT_EQ(sound.GetLength(&length), kAudioOk);
    EXPECT_NEAR(length, 60000.0, 5.0);
    Channel channel;
    ASSERT_EQ(system->PlaySound(kChannelFree, sound, false, &channel), kAudioOk);
    RunUntil([] { return false; }, 0.5);
    EXPECT_TRUE(Playing(channel));
    EXPECT_LT(heap() - before, 1u << 20);
    ASSERT_EQ(sound.Release(), kAudioOk);
    EXPECT_TRUE(Invalid(channel));
}

TEST_F(SdlAudioTest, PausedSoundsAndPausedGroupsWaitAndThenPlayOut) {
    Sound sound;
    ASSERT_EQ(system->CreateStream(shortTone, kAudioDefault, &sound), kAudioOk);
    Channel started;
    ASSERT_EQ(system->PlaySound(kChannelFree, sound, true, &started), kAudioOk);
    ChannelGroup group;
    ASSERT_EQ(system->CreateChannelGroup("MainGroup", &group), kAudioOk);
    Channel grouped;
    // Started paused and let go only inside the paused group, so that a slow machine cannot play the
    // short tone out before the group holds it.
    ASSERT_EQ(system->PlaySound(kChannelFree, sound, true, &grouped), kAudioOk);
    ASSERT_EQ(grouped.SetChannelGroup(group), kAudioOk);
    ASSERT_EQ(group.SetPaused(true), kAudioOk);
    ASSERT_EQ(grouped.SetPaused(false), kAudioOk);

    RunUntil([] { return false; }, 0.6);
    EXPECT_TRUE(Playing(started)) << "a paused start must not play";
    EXPECT_TRUE(Playing(grouped)) << "a paused group must hold its sounds";

    ASSERT_EQ(started.SetPaused(false), kAudioOk);
    ASSERT_EQ(group.SetPaused(false), kAudioOk);
    RunUntil([&] { return Invalid(started) && Invalid(grouped); }, 3.0);
    EXPECT_TRUE(Invalid(started));
    EXPECT_TRUE(Invalid(grouped));
}

TEST_F(SdlAudioTest, ReusingTheMusicChannelReplacesItsSound) {
    const std::string longTone = (dir / "long.wav").string();
    WriteTone(longTone, 2.0);
    Sound first;
    Sound second;
    ASSERT_EQ(system->CreateStream(longTone, kAudioLoopNormal, &first), kAudioOk);
    ASSERT_EQ(system->CreateStream(shortTone, kAudioDefault, &second), kAudioOk);
    Channel music;
    ASSERT_EQ(system->PlaySound(kChannelFree, first, false, &music), kAudioOk);
    const Channel before = music;
    ASSERT_EQ(system->PlaySound(kChannelReuse, second, false, &music), kAudioOk);
    EXPECT_EQ(music, before);
    Sound current;
    ASSERT_EQ(music.GetCurrentSound(&current), kAudioOk);
    EXPECT_EQ(current, second);
    const double took = RunUntil([&] { return Invalid(music); }, 3.0);
    EXPECT_LT(took, 1.0) << "the short sound, not the long one, plays";
}

TEST_F(SdlAudioTest, BadFilesAreRefusedWithoutHarm) {
    Sound sound;
    EXPECT_EQ(system->CreateStream((dir / "none.ogg").string(), kAudioDefault, &sound),
              kAudioErrFileNotFound);
    EXPECT_EQ(system->CreateStream(dir.string(), kAudioDefault, &sound), kAudioErrFileNotFound);
    const std::string junk = (dir / "junk.ogg").string();
    {
        std::ofstream f(junk, std::ios::binary);
        f << "OggS" << std::string(3000, '\x7f');
    }
    EXPECT_EQ(system->CreateStream(junk, kAudioDefault, &sound), kAudioErrFormat);
    const std::string truncated = (dir / "truncated.wav").string();
    {
        std::ofstream f(truncated, std::ios::binary);
        f << "RIFF\xff\xff\xff\x7fWAVEfmt ";
    }
    EXPECT_NE(system->CreateStream(truncated, kAudioDefault, &sound), kAudioOk);
    const std::string huge = (dir / "huge.wav").string();
    { std::ofstream f(huge, std::ios::binary); }
    std::filesystem::resize_file(huge, SdlAudioOutput::kMaxFileBytes + 1);
    EXPECT_EQ(system->CreateStream(huge, kAudioDefault, &sound), kAudioErrFileTooLarge);
}

// Every sound the game names, decoded by SDL2_mixer as its format: music loops of 20 to 60 s and
// effects under a second, all together under 4 MB.
TEST_F(SdlAudioTest, TheGameSoundsDecodeWithTheirLengths) {
    const std::string base = THORNVALE_AUDIO_ASSETS;
    const std::vector<std::string> music = {
        "Music/orchestra warm up tuning.mp3",        "Music/menu and non battle/29 - Lament.ogg",
        "Music/battle/the four seasons, summer.ogg", "Music/battle/Valse Fantasie.ogg",
        "Music/menu and non battle/October.ogg",     "Music/menu and non battle/Waterclours.ogg",
        "Music/menu and non battle/Gypsy.ogg",       "Music/menu and non battle/Classical.ogg",
    };
    const std::vector<std::string> effects = {
        "Effects/swordfight.mp3",   "Effects/menu/click.wav",   "Effects/melee/Sword.wav",
        "Effects/melee/Sword2.wav", "Effects/melee/spark3.ogg", "Effects/range/energyball.wav",
        "Effects/die/steamend.wav", "Effects/Crack.mp3",        "Effects/melee/Sword.ogg",
    };
    uintmax_t total = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(base)) {
        if (entry.is_regular_file()) {
            total += entry.file_size();
        }
    }
    EXPECT_LT(total, 4u * 1024u * 1024u);
    for (const std::string& name : music) {
        Sound sound;
        ASSERT_EQ(system->CreateStream(base + "/" + name, kAudioLoopNormal, &sound), kAudioOk) << name;
        uint32_t ms = 0;
        ASSERT_EQ(sound.GetLength(&ms), kAudioOk);
        EXPECT_GE(ms, 20000u) << name;
        EXPECT_LE(ms, 60000u) << name;
        ASSERT_EQ(sound.Release(), kAudioOk);
    }
    for (const std::string& name : effects) {
        Sound sound;
        ASSERT_EQ(system->CreateStream(base + "/" + name, kAudioDefault, &sound), kAudioOk) << name;
        uint32_t ms = 0;
        ASSERT_EQ(sound.GetLength(&ms), kAudioOk);
        EXPECT_GT(ms, 10u) << name;
        EXPECT_LT(ms, 1000u) << name;
    }
}

} // namespace

// AudioSys on the recording sound output: loading, the music channel, the play list, effects.
#include "engine/kraudiosys.h"
#include "engine/krtimer.h"
#include "platform/null/nullaudio.h"
#include "platform/null/nullplatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using plat::Channel;
using plat::ChannelGroup;

namespace {

const std::string kLament = "../Assets/Audio/Music/menu and non battle/29 - Lament.ogg";
const std::string kOctober = "../Assets/Audio/Music/menu and non battle/October.ogg";
const std::string kClassical = "../Assets/Audio/Music/menu and non battle/Classical.ogg";
const std::string kClick = "../Assets/Audio/Effects/menu/click.wav";
const std::string kSword = "../Assets/Audio/Effects/melee/Sword.wav";

std::string Captured(const std::function<void()>& body) {
    testing::internal::CaptureStdout();
    body();
    return testing::internal::GetCapturedStdout();
}

class AudioSysTest : public ::testing::Test {
  protected:
    void SetUp() override {
        out.autoFinish = false;
        out.record = true;
        plat::Services services;
        services.clock = &clock;
        services.audio = &out;
        plat::Install(services);
        audio.Attach(&timer, [this] { return &music; });
        ASSERT_TRUE(audio.Init());
    }
    void TearDown() override {
        audio.Release();
        plat::Install({});
    }

    void Load(const std::string& file, uint32_t mode) { ASSERT_TRUE(audio.LoadSound(file, mode)); }

    // The voice a channel plays on, and the file it plays.
    const plat::NullAudioOutput::Voice& VoiceOf(const Channel& channel) const {
        return out.voices.at(channel.Handle().index);
    }
    std::string FileOn(const Channel& channel) const { return out.FileOf(VoiceOf(channel).sample); }
    bool Playing(const Channel& channel) const {
        bool playing = false;
        return channel.IsPlaying(&playing) == plat::kAudioOk && playing;
    }
    // The voices now sounding this file.
    std::vector<size_t> VoicesPlaying(const std::string& file) const {
        std::vector<size_t> found;
        for (size_t i = 0; i < out.voices.size(); ++i) {
            if (out.voices[i].sounding && out.FileOf(out.voices[i].sample) == file) {
                found.push_back(i);
            }
        }
        return found;
    }
    ChannelGroup GroupOf(const Channel& channel) const {
        ChannelGroup group;
        EXPECT_EQ(channel.GetChannelGroup(&group), plat::kAudioOk);
        return group;
    }
    size_t Starts() const {
        return static_cast<size_t>(
            std::count_if(out.events.begin(), out.events.end(),
                          [](const std::string& e) { return e.rfind("start ", 0) == 0; }));
    }

    plat::NullAudioOutput out;
    plat::ManualClock clock;
    FrameTimer timer{&clock};
    Channel music;
    AudioSys audio;
};

TEST_F(AudioSysTest, InitOpensAHundredChannelsWithTheEffectsAndMusicGroups) {
    ASSERT_FALSE(out.events.empty());
    EXPECT_EQ(out.events.front(), "open 100");
    std::string name;
    ASSERT_EQ(audio.effectsGroup.GetName(&name), plat::kAudioOk);
    EXPECT_EQ(name, "MainGroup");
    ASSERT_EQ(audio.musicGroup.GetName(&name), plat::kAudioOk);
    EXPECT_EQ(name, "");
    EXPECT_NE(audio.effectsGroup, audio.musicGroup);
    EXPECT_EQ(audio.trackIndex, -1);
    EXPECT_FALSE(audio.loopCountSet);
    float x = 1.0f, y = 1.0f, z = 1.0f;
    EXPECT_TRUE(audio.GetListenerPosition(x, y, z));
    EXPECT_EQ(x + y + z, 0.0f);
}

TEST(AudioSysStart, AnOutputThatCannotOpenFailsInitWithTheErrorLine) {
    plat::NullAudioOutput out;
    out.openSucceeds = false;
    plat::Services services;
    services.audio = &out;
    plat::Install(services);
    AudioSys audio;
    std::string log = Captured([&] { EXPECT_FALSE(audio.Init()); });
    EXPECT_EQ(log, "FMOD error! (7) the sound output cannot be opened\n");
    plat::Install({});
}

TEST(AudioSysStart, WithoutASystemNothingLoadsOrPlaysAndReleaseIsHarmless) {
    AudioSys audio;
    Channel channel;
    std::string log = Captured([&] {
        EXPECT_FALSE(audio.LoadSound(kClick, plat::kAudioDefault));
        audio.trackIndex = 2;
        EXPECT_FALSE(audio.PlayOnChannel(kLament, true, &channel));
        EXPECT_FALSE(audio.PlayClick());
        EXPECT_FALSE(audio.PlayEffect(kSword));
        audio.Update();
        EXPECT_TRUE(audio.Release());
        EXPECT_TRUE(audio.Release());
    });
    EXPECT_EQ(log, "FMOD System not loaded, cannot load sounds.\n"
                   "Couldn't find sound to play.\n"
                   "Couldn't find sound to play.\n");
    EXPECT_EQ(audio.trackIndex, -1) << "ending the play list comes before the checks";
    float x = 0.0f, y = 0.0f, z = 0.0f;
    EXPECT_FALSE(audio.GetListenerPosition(x, y, z));
    EXPECT_TRUE(channel.IsNull());
}

TEST_F(AudioSysTest, LoadingTwiceKeepsOneStreamWithAUseCountOfTwo) {
    std::string first = Captured([&] { Load(kClick, plat::kAudioDefault); });
    EXPECT_EQ(first, "");
    std::string second = Captured([&] { Load(kClick, plat::kAudioDefault); });
    EXPECT_EQ(second, "Sound already loaded, incrementing count.\n");
    EXPECT_EQ(audio.UseCount(kClick), 2);
    EXPECT_EQ(audio.sounds.size(), 1u);
    EXPECT_EQ(std::count(out.events.begin(), out.events.end(), "load " + kClick), 1);
    EXPECT_EQ(audio.UseCount(kSword), 0);
}

TEST_F(AudioSysTest, AFileThatCannotBeOpenedLogsTheErrorAndThePath) {
    out.unreadable.insert(kSword);
    std::string log = Captured([&] { EXPECT_FALSE(audio.LoadSound(kSword, plat::kAudioLoopOff)); });
    EXPECT_EQ(log, "FMOD error! (2) the sound file cannot be opened\n" + kSword + "\n");
    EXPECT_EQ(audio.sounds.count(kSword), 0u);
    std::string play = Captured([&] { EXPECT_FALSE(audio.PlayEffect(kSword)); });
    EXPECT_EQ(play, "Couldn't find sound to play.\n");
}

TEST_F(AudioSysTest, PlayOnChannelStartsTheMusicPausedOnAFreeChannelInTheMusicGroup) {
    Load(kLament, plat::kAudioLoopNormal);
    ASSERT_TRUE(music.IsNull());
    ASSERT_TRUE(audio.PlayOnChannel(kLament, true, &music));
    ASSERT_FALSE(music.IsNull());
    EXPECT_TRUE(Playing(music));
    EXPECT_EQ(FileOn(music), kLament);
    EXPECT_TRUE(VoiceOf(music).paused) << "the caller unpauses";
    EXPECT_EQ(VoiceOf(music).loops, -1);
    EXPECT_EQ(GroupOf(music), audio.musicGroup);
    ASSERT_EQ(music.SetPaused(false), plat::kAudioOk);
    EXPECT_FALSE(VoiceOf(music).paused);
}

TEST_F(AudioSysTest, PlayOnChannelLeavesTheSameTrackRunningAndReusesTheChannelForAnother) {
    Load(kLament, plat::kAudioLoopNormal);
    Load(kOctober, plat::kAudioLoopNormal);
    ASSERT_TRUE(audio.PlayOnChannel(kLament, true, &music));
    music.SetPaused(false);
    const Channel first = music;
    const size_t starts = Starts();

    std::string log = Captured([&] { EXPECT_FALSE(audio.PlayOnChannel(kLament, true, &music)); });
    EXPECT_EQ(log, "");
    EXPECT_EQ(Starts(), starts);
    EXPECT_FALSE(VoiceOf(music).paused) << "the running music is untouched";

    ASSERT_TRUE(audio.PlayOnChannel(kOctober, true, &music));
    EXPECT_EQ(music, first) << "the playing channel is reused";
    EXPECT_EQ(FileOn(music), kOctober);
    EXPECT_TRUE(VoiceOf(music).paused);
    EXPECT_EQ(GroupOf(music), audio.musicGroup);
    EXPECT_EQ(VoicesPlaying(kLament).size(), 0u);
}

TEST_F(AudioSysTest, PlayOnChannelPlaysAgainOnAValidChannelWhoseSoundHasEnded) {
    Load(kLament, plat::kAudioLoopNormal);
    ASSERT_TRUE(audio.PlayOnChannel(kLament, true, &music));
    out.Finish(static_cast<int>(music.Handle().index)); // ended, not yet noticed by an update
    bool playing = true;
    ASSERT_EQ(music.IsPlaying(&playing), plat::kAudioOk);
    ASSERT_FALSE(playing);

    ASSERT_TRUE(audio.PlayOnChannel(kLament, true, &music));
    EXPECT_TRUE(Playing(music)) << "a success must mean the track plays";
    EXPECT_EQ(FileOn(music), kLament);
    EXPECT_EQ(GroupOf(music), audio.musicGroup);
}

TEST_F(AudioSysTest, PlayOnChannelTakesAFreeChannelWhenTheOldOneIsStale) {
    Load(kLament, plat::kAudioLoopNormal);
    Load(kSword, plat::kAudioDefault);
    ASSERT_TRUE(audio.PlayOnChannel(kLament, true, &music));
    const Channel old = music;
    ASSERT_EQ(music.Stop(), plat::kAudioOk);
    ASSERT_TRUE(audio.PlayEffect(kSword)); // takes the freed voice
    ASSERT_TRUE(audio.PlayOnChannel(kLament, true, &music));
    EXPECT_NE(music, old);
    EXPECT_NE(music.Handle().index, old.Handle().index);
    EXPECT_TRUE(Playing(music));
    EXPECT_EQ(VoicesPlaying(kSword).size(), 1u) << "the effect on the old voice is left alone";

    std::string log = Captured([&] { EXPECT_FALSE(audio.PlayOnChannel(kClassical, true, &music)); });
    EXPECT_EQ(log, "Couldn't find sound to play.\n");
}

TEST_F(AudioSysTest, PlayOnChannelReportsAFailedPlay) {
    Load(kLament, plat::kAudioLoopNormal);
    out.startSucceeds = false;
    std::string log = Captured([&] { EXPECT_FALSE(audio.PlayOnChannel(kLament, true, &music)); });
    EXPECT_EQ(log, "FMOD error! (8) the sound output cannot play the sound\n");
    EXPECT_TRUE(music.IsNull());
}

class PlaylistTest : public AudioSysTest {
  protected:
    void SetUp() override {
        AudioSysTest::SetUp();
        for (const std::string& track : tracks) {
            Load(track, plat::kAudioLoopNormal);
        }
    }
    // Ends the pass playing on the music channel and runs a frame's update.
    void EndTrack() {
        out.EndPass(static_cast<int>(music.Handle().index));
        audio.Update();
    }
    std::vector<std::string> tracks{kOctober, kClassical, kLament};
};

TEST_F(PlaylistTest, StartingPicksASeededRandomTrackAndStopsTheMusic) {
    ASSERT_TRUE(audio.PlayOnChannel(kLament, true, &music));
    clock.now = 7800; // 7.8 s since the timer started
    ASSERT_TRUE(audio.StartPlaylist(tracks));
    std::srand(7);
    EXPECT_EQ(audio.trackIndex, std::rand() % 3);
    EXPECT_EQ(audio.playlist, tracks);
    EXPECT_FALSE(Playing(music));
    bool playing = false;
    EXPECT_EQ(music.IsPlaying(&playing), plat::kAudioErrInvalidHandle);

    EXPECT_FALSE(audio.StartPlaylist({}));
    EXPECT_EQ(audio.trackIndex, -1);
}

TEST_F(PlaylistTest, TracksPlayOnceEachInOrderAndWrapRound) {
    ASSERT_TRUE(audio.StartPlaylist(tracks));
    const int32_t first = audio.trackIndex;
    audio.Update(); // nothing plays: the first track starts, unpaused
    std::vector<std::string> played;
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(Playing(music));
        EXPECT_FALSE(VoiceOf(music).paused);
        EXPECT_EQ(GroupOf(music), audio.musicGroup);
        played.push_back(FileOn(music));
        EXPECT_FALSE(audio.loopCountSet);
        EXPECT_EQ(VoiceOf(music).loops, -1);
        audio.Update(); // the first update while it plays tells it to play once
        EXPECT_TRUE(audio.loopCountSet);
        EXPECT_EQ(VoiceOf(music).loops, 0);
        EndTrack(); // its pass ends, and the same update starts the next track
    }
    std::vector<std::string> expected;
    for (int i = 0; i < 4; ++i) {
        expected.push_back(tracks[static_cast<size_t>((first + i) % 3)]);
    }
    EXPECT_EQ(played, expected);
    EXPECT_EQ(audio.trackIndex, (first + 5) % 3);
}

TEST_F(PlaylistTest, TheLoopCountIsSetOncePerTrack) {
    ASSERT_TRUE(audio.StartPlaylist(tracks));
    audio.Update();
    const int voice = static_cast<int>(music.Handle().index);
    EXPECT_EQ(VoiceOf(music).loops, -1) << "tracks are looping sounds";
    for (int i = 0; i < 5; ++i) {
        audio.Update();
    }
    const std::string loopsEvent = "loops " + std::to_string(voice) + " 0";
    EXPECT_EQ(std::count(out.events.begin(), out.events.end(), loopsEvent), 1);
    int loops = -1;
    ASSERT_EQ(music.GetLoopCount(&loops), plat::kAudioOk);
    EXPECT_EQ(loops, 0);
    // Told to play once, the track ends with the pass now playing.
    out.EndPass(voice);
    EXPECT_FALSE(out.voices[static_cast<size_t>(voice)].sounding);
}

TEST_F(PlaylistTest, AOneTrackListReplaysItsTrack) {
    ASSERT_TRUE(audio.StartPlaylist({kClassical}));
    EXPECT_EQ(audio.trackIndex, 0);
    audio.Update();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(Playing(music));
        EXPECT_EQ(FileOn(music), kClassical);
        EXPECT_EQ(audio.trackIndex, 0);
        audio.Update();
        EndTrack();
    }
    EXPECT_EQ(Starts(), 4u);
}

TEST_F(PlaylistTest, MusicPlayedWithEndPlaylistOrAQuitEndsTheList) {
    const std::string battle = "../Assets/Audio/Music/battle/the four seasons, summer.ogg";
    Load(battle, plat::kAudioLoopNormal);
    ASSERT_TRUE(audio.StartPlaylist(tracks));
    audio.Update();
    audio.Update();
    ASSERT_TRUE(audio.loopCountSet);
    ASSERT_TRUE(audio.PlayOnChannel(battle, true, &music));
    EXPECT_EQ(audio.trackIndex, -1);
    EXPECT_FALSE(audio.loopCountSet);
    music.SetPaused(false);
    out.EndPass(static_cast<int>(music.Handle().index));
    audio.Update();
    EXPECT_EQ(FileOn(music), battle) << "the battle music loops on";
    EXPECT_EQ(VoiceOf(music).loops, -1);
    out.Finish(static_cast<int>(music.Handle().index));
    audio.Update();
    audio.Update();
    EXPECT_FALSE(Playing(music)) << "no play list: nothing follows";

    ASSERT_TRUE(audio.StartPlaylist(tracks));
    audio.Update();
    audio.trackIndex = -1; // what a quit does
    const size_t starts = Starts();
    EndTrack();
    EndTrack();
    audio.Update();
    EXPECT_EQ(Starts(), starts);
}

TEST_F(PlaylistTest, AnIndexBeyondTheListEndsItInsteadOfReadingPastIt) {
    ASSERT_TRUE(audio.StartPlaylist(tracks));
    audio.trackIndex = 7;
    audio.Update();
    EXPECT_EQ(audio.trackIndex, -1);
    EXPECT_TRUE(music.IsNull());
}

TEST_F(AudioSysTest, TheClickPlaysOutsideEveryGroup) {
    std::string log = Captured([&] { EXPECT_FALSE(audio.PlayClick()); });
    EXPECT_EQ(log, "Couldn't find sound to play.\n");

    Load(kClick, plat::kAudioDefault);
    Load(kSword, plat::kAudioDefault);
    ASSERT_TRUE(audio.PlayClick());
    ASSERT_TRUE(audio.PlayEffect(kSword));
    ASSERT_EQ(VoicesPlaying(kClick).size(), 1u);
    ASSERT_EQ(VoicesPlaying(kSword).size(), 1u);
    const auto& click = out.voices[VoicesPlaying(kClick)[0]];
    const auto& sword = out.voices[VoicesPlaying(kSword)[0]];
    EXPECT_FALSE(click.paused);
    EXPECT_FALSE(sword.paused);

    // Pausing and muting "MainGroup" silences the effect but not the click.
    ASSERT_EQ(audio.effectsGroup.SetPaused(true), plat::kAudioOk);
    ASSERT_EQ(audio.effectsGroup.SetVolume(0.0f), plat::kAudioOk);
    EXPECT_TRUE(sword.paused);
    EXPECT_FLOAT_EQ(sword.volume, 0.0f);
    EXPECT_FALSE(click.paused);
    EXPECT_FLOAT_EQ(click.volume, 1.0f);
    // Nor the music group.
    ASSERT_EQ(audio.musicGroup.SetPaused(true), plat::kAudioOk);
    EXPECT_FALSE(click.paused);
}

TEST_F(AudioSysTest, PlayInGroupMovesTheEffectIntoTheGroupAtVolumeThreeTenthsEveryTime) {
    Load(kSword, plat::kAudioLoopOff);
    ChannelGroup unit;
    ASSERT_EQ(audio.system->CreateChannelGroup("Golem", &unit), plat::kAudioOk);
    ASSERT_TRUE(audio.PlayInGroup(kSword, &unit));
    float volume = 0.0f;
    ASSERT_EQ(unit.GetVolume(&volume), plat::kAudioOk);
    EXPECT_FLOAT_EQ(volume, 0.3f);
    ASSERT_EQ(VoicesPlaying(kSword).size(), 1u);
    const auto& first = out.voices[VoicesPlaying(kSword)[0]];
    EXPECT_FLOAT_EQ(first.volume, 0.3f);
    // The unit's group, not "MainGroup", decides its pause.
    audio.effectsGroup.SetPaused(true);
    EXPECT_FALSE(first.paused);
    unit.SetPaused(true);
    EXPECT_TRUE(first.paused);

    ASSERT_EQ(unit.SetVolume(1.0f), plat::kAudioOk);
    ASSERT_TRUE(audio.PlayInGroup(kSword, &unit));
    ASSERT_EQ(unit.GetVolume(&volume), plat::kAudioOk);
    EXPECT_FLOAT_EQ(volume, 0.3f);

    // A released unit group is an error, not a crash.
    ASSERT_EQ(unit.Release(), plat::kAudioOk);
    std::string log = Captured([&] { EXPECT_FALSE(audio.PlayInGroup(kSword, &unit)); });
    EXPECT_EQ(log, "FMOD error! (36) the handle is invalid or stale\n");
    std::string missing = Captured([&] { EXPECT_FALSE(audio.PlayInGroup(kClick, &unit)); });
    EXPECT_EQ(missing, "Couldn't find sound to play.\n");
}

TEST_F(AudioSysTest, ReleaseFreesEverySoundAndTheSystemAndLeavesHandlesStale) {
    Load(kLament, plat::kAudioLoopNormal);
    Load(kClick, plat::kAudioDefault);
    ASSERT_TRUE(audio.PlayOnChannel(kLament, true, &music));
    ASSERT_TRUE(audio.Release());
    EXPECT_TRUE(audio.sounds.empty());
    EXPECT_EQ(audio.system, nullptr);
    EXPECT_EQ(out.closes, 1);
    EXPECT_EQ(std::count(out.events.begin(), out.events.end(), "unload " + kLament), 1);
    EXPECT_EQ(std::count(out.events.begin(), out.events.end(), "unload " + kClick), 1);
    bool playing = false;
    EXPECT_EQ(music.IsPlaying(&playing), plat::kAudioErrInvalidHandle);
    audio.Update();
    std::string log = Captured([&] { EXPECT_FALSE(audio.LoadSound(kClick, plat::kAudioDefault)); });
    EXPECT_EQ(log, "FMOD System not loaded, cannot load sounds.\n");
}

} // namespace

// The audio stand-in's object model on the recording output: handles, channels, groups, loops, 3-D.
#include "platform/audio.h"
#include "platform/null/nullaudio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

using namespace plat;

namespace {

class AudioSystemTest : public ::testing::Test {
  protected:
    void SetUp() override {
        out.autoFinish = false;
        out.record = true;
        system = std::make_unique<AudioSystem>(&out);
        ASSERT_EQ(system->Init(4, kAudioInitNormal), kAudioOk);
        ASSERT_EQ(system->CreateStream("music.ogg", kAudioLoopNormal, &music), kAudioOk);
        ASSERT_EQ(system->CreateStream("hit.wav", kAudioDefault, &hit), kAudioOk);
    }

    int Voice(const Channel& channel) const { return static_cast<int>(channel.Handle().index); }

    NullAudioOutput out;
    std::unique_ptr<AudioSystem> system;
    Sound music;
    Sound hit;
};

TEST_F(AudioSystemTest, NullAndUnknownHandlesAnswerInvalidHandle) {
    Channel none;
    bool playing = true;
    EXPECT_EQ(none.IsPlaying(&playing), kAudioErrInvalidHandle);
    EXPECT_FALSE(playing);
    EXPECT_EQ(none.SetPaused(false), kAudioErrInvalidHandle);
    EXPECT_EQ(none.SetLoopCount(0), kAudioErrInvalidHandle);
    EXPECT_EQ(none.Stop(), kAudioErrInvalidHandle);
    EXPECT_EQ(ChannelGroup().SetVolume(0.5f), kAudioErrInvalidHandle);
    EXPECT_EQ(Sound().Release(), kAudioErrInvalidHandle);
    // A handle naming a channel the system does not have.
    Channel beyond(AudioHandle{music.Handle().system, 99, 1});
    EXPECT_EQ(beyond.IsPlaying(&playing), kAudioErrInvalidHandle);
    Channel channel;
    EXPECT_EQ(system->PlaySound(kChannelFree, Sound(), false, &channel), kAudioErrInvalidHandle);
    EXPECT_STREQ(AudioErrorString(kAudioErrInvalidHandle), "the handle is invalid or stale");
    EXPECT_STRNE(AudioErrorString(12345), "");
}

TEST_F(AudioSystemTest, AnEndedChannelIsValidButSilentUntilTheUpdateThenStale) {
    Channel channel;
    ASSERT_EQ(system->PlaySound(kChannelFree, hit, false, &channel), kAudioOk);
    bool playing = false;
    EXPECT_EQ(channel.IsPlaying(&playing), kAudioOk);
    EXPECT_TRUE(playing);
    Sound current;
    EXPECT_EQ(channel.GetCurrentSound(&current), kAudioOk);
    EXPECT_EQ(current, hit);

    out.Finish(Voice(channel));
    EXPECT_EQ(channel.IsPlaying(&playing), kAudioOk);
    EXPECT_FALSE(playing);
    EXPECT_EQ(system->Update(), kAudioOk);
    EXPECT_EQ(channel.IsPlaying(&playing), kAudioErrInvalidHandle);

    // The voice is taken by a new sound: the old handle must not reach it.
    Channel next;
    ASSERT_EQ(system->PlaySound(kChannelFree, music, false, &next), kAudioOk);
    EXPECT_EQ(Voice(next), Voice(channel));
    EXPECT_NE(next, channel);
    EXPECT_EQ(channel.Stop(), kAudioErrInvalidHandle);
    EXPECT_EQ(next.IsPlaying(&playing), kAudioOk);
    EXPECT_TRUE(playing);
}

TEST_F(AudioSystemTest, FreeTakesAnIdleChannelReuseKeepsTheGivenOneAndAFullSystemRefuses) {
    Channel a;
    Channel b;
    ASSERT_EQ(system->PlaySound(kChannelFree, music, true, &a), kAudioOk);
    ASSERT_EQ(system->PlaySound(kChannelFree, hit, false, &b), kAudioOk);
    EXPECT_NE(Voice(a), Voice(b));
    EXPECT_TRUE(out.voices[static_cast<size_t>(Voice(a))].paused);

    Channel reused = a;
    ASSERT_EQ(system->PlaySound(kChannelReuse, hit, false, &reused), kAudioOk);
    EXPECT_EQ(reused, a);
    Sound current;
    ASSERT_EQ(a.GetCurrentSound(&current), kAudioOk);
    EXPECT_EQ(current, hit);
    EXPECT_FALSE(out.voices[static_cast<size_t>(Voice(a))].paused);

    // Reuse of a stale handle takes a free channel instead.
    Channel stale = b;
    ASSERT_EQ(b.Stop(), kAudioOk);
    ASSERT_EQ(system->PlaySound(kChannelReuse, music, false, &stale), kAudioOk);
    EXPECT_NE(stale, b);

    Channel c;
    Channel d;
    ASSERT_EQ(system->PlaySound(kChannelFree, hit, false, &c), kAudioOk);
    ASSERT_EQ(system->PlaySound(kChannelFree, hit, false, &d), kAudioOk);
    Channel e;
    EXPECT_EQ(system->PlaySound(kChannelFree, hit, false, &e), kAudioErrChannelsBusy);
    EXPECT_TRUE(e.IsNull());
    int playingCount = 0;
    EXPECT_EQ(system->GetChannelsPlaying(&playingCount), kAudioOk);
    EXPECT_EQ(playingCount, 4);

    out.startSucceeds = false;
    ASSERT_EQ(d.Stop(), kAudioOk);
    EXPECT_EQ(system->PlaySound(kChannelFree, hit, false, &e), kAudioErrOutputPlay);
    EXPECT_EQ(system->GetChannelsPlaying(&playingCount), kAudioOk);
    EXPECT_EQ(playingCount, 3);
}

TEST_F(AudioSystemTest, GroupsCarryVolumeAndPauseToTheirChannelsOnly) {
    ChannelGroup effects;
    ASSERT_EQ(system->CreateChannelGroup("MainGroup", &effects), kAudioOk);
    std::string name;
    ASSERT_EQ(effects.GetName(&name), kAudioOk);
    EXPECT_EQ(name, "MainGroup");

    Channel inGroup;
    Channel outside;
    ASSERT_EQ(system->PlaySound(kChannelFree, hit, false, &inGroup), kAudioOk);
    ASSERT_EQ(system->PlaySound(kChannelFree, hit, false, &outside), kAudioOk);
    ASSERT_EQ(inGroup.SetChannelGroup(effects), kAudioOk);

    ASSERT_EQ(effects.SetVolume(0.3f), kAudioOk);
    ASSERT_EQ(effects.SetPaused(true), kAudioOk);
    const NullAudioOutput::Voice& g = out.voices[static_cast<size_t>(Voice(inGroup))];
    const NullAudioOutput::Voice& o = out.voices[static_cast<size_t>(Voice(outside))];
    EXPECT_FLOAT_EQ(g.volume, 0.3f);
    EXPECT_TRUE(g.paused);
    EXPECT_FLOAT_EQ(o.volume, 1.0f);
    EXPECT_FALSE(o.paused);
    bool paused = false;
    EXPECT_EQ(effects.GetPaused(&paused), kAudioOk);
    EXPECT_TRUE(paused);
    // The channel's own pause flag is its own; the group's pause only adds to it.
    EXPECT_EQ(inGroup.GetPaused(&paused), kAudioOk);
    EXPECT_FALSE(paused);
    bool playing = false;
    EXPECT_EQ(inGroup.IsPlaying(&playing), kAudioOk);
    EXPECT_TRUE(playing) << "a paused channel still plays";

    // A released group leaves its channels in the master group, unpaused and at full volume.
    ASSERT_EQ(effects.Release(), kAudioOk);
    EXPECT_EQ(effects.SetVolume(1.0f), kAudioErrInvalidHandle);
    ChannelGroup master;
    ChannelGroup now;
    ASSERT_EQ(system->GetMasterChannelGroup(&master), kAudioOk);
    ASSERT_EQ(inGroup.GetChannelGroup(&now), kAudioOk);
    EXPECT_EQ(now, master);
    EXPECT_FALSE(g.paused);
    EXPECT_FLOAT_EQ(g.volume, 1.0f);
    EXPECT_EQ(master.Release(), kAudioErrInvalidHandle);

    EXPECT_EQ(master.SetVolume(0.5f), kAudioOk);
    EXPECT_FLOAT_EQ(o.volume, 0.5f);
    EXPECT_EQ(master.SetVolume(7.0f), kAudioOk);
    float volume = 0.0f;
    ASSERT_EQ(master.GetVolume(&volume), kAudioOk);
    EXPECT_FLOAT_EQ(volume, 1.0f);
}

TEST_F(AudioSystemTest, LoopCountsReachTheOutputOnlyForLoopingSounds) {
    Channel track;
    Channel shot;
    ASSERT_EQ(system->PlaySound(kChannelFree, music, false, &track), kAudioOk);
    ASSERT_EQ(system->PlaySound(kChannelFree, hit, false, &shot), kAudioOk);
    const NullAudioOutput::Voice& t = out.voices[static_cast<size_t>(Voice(track))];
    const NullAudioOutput::Voice& s = out.voices[static_cast<size_t>(Voice(shot))];
    EXPECT_EQ(t.loops, -1);
    EXPECT_EQ(s.loops, 0);

    out.EndPass(Voice(track));
    EXPECT_TRUE(t.sounding) << "a looping sound starts again";
    ASSERT_EQ(track.SetLoopCount(0), kAudioOk);
    int loops = -5;
    ASSERT_EQ(track.GetLoopCount(&loops), kAudioOk);
    EXPECT_EQ(loops, 0);
    EXPECT_EQ(t.loops, 0);
    out.EndPass(Voice(track));
    EXPECT_FALSE(t.sounding);

    ASSERT_EQ(shot.SetLoopCount(3), kAudioOk);
    EXPECT_EQ(s.loops, 0);
    EXPECT_EQ(shot.SetLoopCount(-2), kAudioErrInvalidParam);
}

TEST_F(AudioSystemTest, APlacedGroupIsAttenuatedAndPannedFromTheListener) {
    ASSERT_EQ(system->Set3DSettings(1.0f, 3.0f, 1.0f), kAudioOk);
    ChannelGroup unit;
    ASSERT_EQ(system->CreateChannelGroup("Golem", &unit), kAudioOk);
    Channel channel;
    ASSERT_EQ(system->PlaySound(kChannelFree, hit, false, &channel), kAudioOk);
    ASSERT_EQ(channel.SetChannelGroup(unit), kAudioOk);
    const NullAudioOutput::Voice& v = out.voices[static_cast<size_t>(Voice(channel))];

    AudioVector listener{10.0f, 0.0f, 10.0f};
    ASSERT_EQ(system->Set3DListenerAttributes(0, &listener, nullptr, nullptr, nullptr), kAudioOk);
    AudioVector at = listener;
    ASSERT_EQ(unit.Override3DAttributes(&at, nullptr), kAudioOk);
    EXPECT_FLOAT_EQ(v.volume, 1.0f);
    EXPECT_FLOAT_EQ(v.pan, 0.0f);

    AudioVector right{22.0f, 0.0f, 10.0f}; // 12 units = 4 metres to the right
    ASSERT_EQ(unit.Override3DAttributes(&right, nullptr), kAudioOk);
    EXPECT_NEAR(v.volume, 1.0f / (1.0f + 3.0f), 1e-5);
    EXPECT_GT(v.pan, 0.9f);
    const float near = v.volume;

    AudioVector farLeft{-50.0f, 0.0f, 10.0f};
    ASSERT_EQ(unit.Override3DAttributes(&farLeft, nullptr), kAudioOk);
    EXPECT_LT(v.volume, near);
    EXPECT_LT(v.pan, -0.9f);

    // Moving the listener re-places the sound at the next update.
    AudioVector beside{-50.0f, 0.0f, 10.0f};
    ASSERT_EQ(system->Set3DListenerAttributes(0, &beside, nullptr, nullptr, nullptr), kAudioOk);
    ASSERT_EQ(system->Update(), kAudioOk);
    EXPECT_FLOAT_EQ(v.volume, 1.0f);

    AudioVector back;
    ASSERT_EQ(system->Get3DListenerAttributes(0, &back, nullptr, nullptr, nullptr), kAudioOk);
    EXPECT_FLOAT_EQ(back.x, -50.0f);
    EXPECT_FLOAT_EQ(back.z, 10.0f);

    AudioVector bad{std::numeric_limits<float>::quiet_NaN(), 0.0f, 0.0f};
    EXPECT_EQ(unit.Override3DAttributes(&bad, nullptr), kAudioErrInvalidParam);
    EXPECT_EQ(system->Set3DListenerAttributes(0, &bad, nullptr, nullptr, nullptr), kAudioErrInvalidParam);
    EXPECT_EQ(system->Set3DListenerAttributes(1, &listener, nullptr, nullptr, nullptr),
              kAudioErrInvalidParam);
}

TEST_F(AudioSystemTest, StreamsReleaseAndTheSystemLifecycle) {
    Sound bad;
    EXPECT_EQ(system->CreateStream("x.ogg", 0x40, &bad), kAudioErrInvalidParam);
    EXPECT_EQ(system->CreateStream("x.ogg", kAudioLoopOff | kAudioLoopNormal, &bad), kAudioErrInvalidParam);
    out.unreadable.insert("missing.wav");
    EXPECT_EQ(system->CreateStream("missing.wav", kAudioDefault, &bad), kAudioErrFileNotFound);
    EXPECT_TRUE(bad.Handle().IsNull());
    EXPECT_EQ(system->Init(4, kAudioInitNormal), kAudioErrInitialized);

    // Releasing a sound stops what plays it.
    Channel channel;
    ASSERT_EQ(system->PlaySound(kChannelFree, hit, false, &channel), kAudioOk);
    ASSERT_EQ(hit.Release(), kAudioOk);
    bool playing = false;
    EXPECT_EQ(channel.IsPlaying(&playing), kAudioErrInvalidHandle);
    EXPECT_EQ(hit.Release(), kAudioErrInvalidHandle);
    EXPECT_TRUE(std::count(out.events.begin(), out.events.end(), "unload hit.wav") == 1);

    ASSERT_EQ(system->PlaySound(kChannelFree, music, false, &channel), kAudioOk);
    ASSERT_EQ(system->Release(), kAudioOk);
    EXPECT_EQ(out.closes, 1);
    EXPECT_FALSE(out.open);
    EXPECT_EQ(channel.IsPlaying(&playing), kAudioErrInvalidHandle);
    EXPECT_EQ(music.Release(), kAudioErrInvalidHandle);
    EXPECT_EQ(system->Release(), kAudioOk);
    EXPECT_EQ(out.closes, 1);
    // A released system stays released.
    EXPECT_EQ(system->Init(4, kAudioInitNormal), kAudioErrUninitialized);

    // Handles outlive their system without reaching freed state.
    system.reset();
    EXPECT_EQ(channel.Stop(), kAudioErrInvalidHandle);
}

TEST(AudioSystemOpen, AnOutputThatCannotOpenFailsInitAndNothingElseWorks) {
    NullAudioOutput out;
    out.openSucceeds = false;
    AudioSystem system(&out);
    EXPECT_EQ(system.Init(100, kAudioInitNormal), kAudioErrOutputInit);
    Sound sound;
    EXPECT_EQ(system.CreateStream("a.wav", kAudioDefault, &sound), kAudioErrUninitialized);
    ChannelGroup group;
    EXPECT_EQ(system.CreateChannelGroup("MainGroup", &group), kAudioErrUninitialized);
    EXPECT_EQ(system.Update(), kAudioErrUninitialized);
    EXPECT_EQ(system.Init(0, kAudioInitNormal), kAudioErrInvalidParam);
}

} // namespace

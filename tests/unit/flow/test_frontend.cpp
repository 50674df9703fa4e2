// The front end on the engine singleton with the game's own layouts: the small screens' lives and keys,
// the options' 1440 x 900 button, the main menu's music and Esc, the scripts that open and leave the
// screens (pausing only when the push is taken), the splash skips, the loading screen's one-time load,
// and the way from the intro through the loading screen to the main menu and out.
#include "flow_support.h"
#include "engine/engine.h"
#include "engine/krassetpaths.h"
#include "flow/frontendstates.h"
#include "flow/introstate.h"
#include "flow/krscripts.h"
#include "flow/loadingstate.h"
#include "flow/mainmenustate.h"
#include "flow/storystate.h"
#include "kingdom/kingdomeditorstate.h"
#include "platform/null/nullaudio.h"
#include "platform/null/nullgraphics.h"
#include "platform/null/nullplatform.h"
#include "realm/playereditor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace flowtest;

class FrontEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StartSingleton());
        Engine& e = engine();
        Captured([&] {
            ASSERT_TRUE(e.m_audio.Init());
            // What the engine's start-up loads.
            if (e.m_audio.UseCount(AssetPaths::kMusicLament) == 0) {
                e.m_audio.LoadSound(AssetPaths::kMusicLament, plat::kAudioLoopNormal);
            }
        });
        if (e.m_scripts.m_scripts.empty()) {
            e.m_scripts.Register();
        }
        e.m_request = REQUEST_RUN;
        e.m_quitting = false;
        e.m_running = true;
        e.m_stack.clear();
        e.m_lastRequestedState = nullptr;
        e.m_timer.maxDelta = 0.05;
        e.m_audio.effectsGroup.SetPaused(false);
        e.m_audio.musicGroup.SetVolume(1.0f);
        std::memset(e.m_input.keys, 0, sizeof(e.m_input.keys));
        std::memset(e.m_input.prevKeys, 0, sizeof(e.m_input.prevKeys));
    }

    static Engine& engine() { return Engine::Instance(); }
    static bool Run(const std::string& name) { return RunScript(engine().m_scripts, name); }

    // A key's press edge in this frame, as the screen's HandleInput sees it.
    static Lines PressOn(KRState& screen, int key) {
        Engine& e = engine();
        e.m_input.keys[key] = 1;
        Lines lines = Captured([&] { screen.HandleInput(e); });
        e.m_input.EndFrame();
        e.m_input.keys[key] = 0;
        e.m_input.EndFrame();
        return lines;
    }

    static void Pause() {
        Captured([] { Run("Pause"); });
    }
    static bool TimePaused() { return engine().m_timer.maxDelta == 0.0; }
    static float MusicVolume() {
        float volume = -1.0f;
        engine().m_audio.musicGroup.GetVolume(&volume);
        return volume;
    }
};

struct SmallScreen {
    FrontEndScreen* screen;
    const char* name;
    const char* layout;
};

std::vector<SmallScreen> SmallScreens() {
    return {{&CreditsState::Instance(), "CreditsState", "../Assets/guicredits.xml"},
            {&HowToPlayState::Instance(), "HowToPlayState", "../Assets/guihowtoplay.xml"},
            {&OptionsState::Instance(), "OptionsState", "../Assets/guioptions.xml"},
            {&PauseMenuState::Instance(), "PauseMenuState", "../Assets/guipause.xml"},
            {&QuitGameConfirmationState::Instance(), "QuitGameConfirmationState",
             "../Assets/guiquitgameconfirmation.xml"}};
}

TEST_F(FrontEnd, EachSmallScreenLivesUnderItsOwnNameWithItsOwnLayout) {
    for (const SmallScreen& s : SmallScreens()) {
        FrontEndScreen& screen = *s.screen;
        const std::string name = s.name;
        EXPECT_EQ(screen.GetName(), name);
        EXPECT_EQ(screen.LayoutFile(), s.layout);
        Lines lines = Captured([&] { screen.Load(engine()); });
        ASSERT_FALSE(lines.empty()) << name;
        EXPECT_EQ(lines.front(), "Loading MainMenuState") << name;
        EXPECT_FALSE(Has(lines, "Fail to load GUI from XML")) << name;
        // Every layout has its picture and at least a way back or out.
        EXPECT_GE(screen.m_gui.m_items.size(), 3u) << name;
        EXPECT_NE(screen.m_gui.FindByName("Backdrop"), nullptr) << name;
        EXPECT_EQ(Captured([&] { screen.Initialize(engine()); }), Lines{"Initializing " + name});
        EXPECT_EQ(Captured([&] { screen.Cleanup(engine()); }), Lines{"Cleanup " + name});
        EXPECT_EQ(Captured([&] { screen.Unload(engine()); }), Lines{"Unloading " + name});
        EXPECT_TRUE(screen.m_gui.m_items.empty()) << name;
        EXPECT_EQ(screen.m_gui.m_mainWindow, nullptr) << name;
    }
}

TEST_F(FrontEnd, EscOnCreditsPauseAndQuitResumesAndPopsOnHowToPlayOnlyPops) {
    for (FrontEndScreen* screen :
         std::vector<FrontEndScreen*>{&CreditsState::Instance(), &PauseMenuState::Instance(),
                                      &QuitGameConfirmationState::Instance()}) {
        engine().m_request = REQUEST_RUN;
        Pause();
        EXPECT_EQ(PressOn(*screen, KEY_ESCAPE), Lines{}) << screen->GetName();
        EXPECT_EQ(engine().m_request, REQUEST_POP) << screen->GetName();
        EXPECT_FALSE(TimePaused()) << screen->GetName();
        EXPECT_FLOAT_EQ(MusicVolume(), 1.0f) << screen->GetName();
    }
    engine().m_request = REQUEST_RUN;
    Pause();
    EXPECT_EQ(PressOn(HowToPlayState::Instance(), KEY_ESCAPE), Lines{});
    EXPECT_EQ(engine().m_request, REQUEST_POP);
    EXPECT_TRUE(TimePaused());

    // With a request already pending the pop is refused; the credits still resume.
    engine().m_request = REQUEST_PUSH;
    EXPECT_EQ(PressOn(CreditsState::Instance(), KEY_ESCAPE), Lines{"Pop State request rejected."});
    EXPECT_EQ(engine().m_request, REQUEST_PUSH);
    EXPECT_FALSE(TimePaused());
}

TEST_F(FrontEnd, EscOnTheOptionsPopsOnlyWhenNothingIsPendingOrQuitting) {
    OptionsState& options = OptionsState::Instance();
    EXPECT_EQ(PressOn(options, KEY_ESCAPE), Lines{});
    EXPECT_EQ(engine().m_request, REQUEST_POP);
    engine().m_request = REQUEST_CHANGE;
    EXPECT_EQ(PressOn(options, KEY_ESCAPE), Lines{"Pop State request rejected."});
    EXPECT_EQ(engine().m_request, REQUEST_CHANGE);
    engine().m_request = REQUEST_RUN;
    engine().m_quitting = true;
    EXPECT_EQ(PressOn(options, KEY_ESCAPE), Lines{"Pop State request rejected."});
    EXPECT_EQ(engine().m_request, REQUEST_RUN);
}

TEST_F(FrontEnd, SpaceOnTheQuitConfirmationQuitsWhateverIsPendingAndHeldKeysDoNothing) {
    QuitGameConfirmationState& quit = QuitGameConfirmationState::Instance();
    // Held from the screen before: no edge, no effect, on any of the screens.
    engine().m_input.keys[KEY_ESCAPE] = 1;
    engine().m_input.keys[KEY_SPACE] = 1;
    engine().m_input.EndFrame();
    for (const SmallScreen& s : SmallScreens()) {
        EXPECT_EQ(Captured([&] { s.screen->HandleInput(engine()); }), Lines{}) << s.name;
        EXPECT_EQ(engine().m_request, REQUEST_RUN) << s.name;
    }
    engine().m_input.keys[KEY_ESCAPE] = 0;
    engine().m_input.keys[KEY_SPACE] = 0;
    engine().m_input.EndFrame();
    // Space means nothing on the other screens.
    for (FrontEndScreen* screen :
         std::vector<FrontEndScreen*>{&CreditsState::Instance(), &OptionsState::Instance(),
                                      &PauseMenuState::Instance(), &HowToPlayState::Instance()}) {
        PressOn(*screen, KEY_SPACE);
        EXPECT_EQ(engine().m_request, REQUEST_RUN) << screen->GetName();
    }
    engine().m_request = REQUEST_PUSH;
    EXPECT_EQ(PressOn(quit, KEY_SPACE), Lines{});
    EXPECT_EQ(engine().m_request, REQUEST_QUIT);
    EXPECT_TRUE(engine().m_quitting);
}

TEST_F(FrontEnd, TheOptionsShowThe1440ButtonOnlyWhereTheDisplayHasThatMode) {
    OptionsState& options = OptionsState::Instance();
    Renderer& renderer = *engine().m_display.renderer;
    const bool had = renderer.has1440x900;
    for (bool hasMode : {false, true}) {
        renderer.has1440x900 = hasMode;
        Lines lines = Captured([&] { options.Load(engine()); });
        EXPECT_FALSE(Has(lines, "Crap."));
        const KRGUIObject* button = options.m_gui.FindByName("Resolution1440X900");
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->m_active, hasMode);
        // The other sizes are always offered.
        for (const char* name : {"Resolution800x600", "Resolution1024x768"}) {
            ASSERT_NE(options.m_gui.FindByName(name), nullptr) << name;
            EXPECT_TRUE(options.m_gui.FindByName(name)->m_active) << name;
        }
        Captured([&] { options.Unload(engine()); });
    }
    renderer.has1440x900 = had;
}

TEST_F(FrontEnd, TheMainMenuPlaysItsMusicAsksBeforeQuittingOnEscAndStopsTheMusicOnCleanup) {
    KRMainMenuState& menu = KRMainMenuState::Instance();
    EXPECT_EQ(menu.GetName(), "KRMainMenuState");
    GameData& world = *engine().m_gameData;
    Lines lines = Captured([&] {
        menu.Load(engine());
        menu.Initialize(engine());
    });
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "Loading MainMenuState");
    EXPECT_EQ(lines.back(), "Initializing MainMenuState");
    for (const char* button : {"NewGame", "LoadGame", "Options", "HowToPlay", "Credits", "Quit"}) {
        EXPECT_NE(menu.m_gui.FindByName(button), nullptr) << button;
    }
    ASSERT_FALSE(world.m_musicChannel.IsNull());
    bool playing = false;
    EXPECT_EQ(world.m_musicChannel.IsPlaying(&playing), plat::kAudioOk);
    EXPECT_TRUE(playing);
    bool paused = true;
    world.m_musicChannel.GetPaused(&paused);
    EXPECT_FALSE(paused);

    EXPECT_EQ(PressOn(menu, KEY_ESCAPE), Lines{});
    EXPECT_EQ(engine().m_request, REQUEST_PUSH);
    EXPECT_EQ(engine().m_lastRequestedState, &QuitGameConfirmationState::Instance());
    EXPECT_TRUE(TimePaused());

    EXPECT_EQ(Captured([&] { menu.Cleanup(engine()); }), Lines{"Cleanup MainMenuState"});
    EXPECT_TRUE(world.m_musicChannel.IsNull());
    EXPECT_EQ(Captured([&] { menu.Unload(engine()); }), Lines{"Unloading MainMenuState"});
}

TEST_F(FrontEnd, TheFrontEndScriptsTakeTheirPlacesInTheRegistrationOrder) {
    const std::pair<int, const char*> places[] = {{0, "GoToStory"},
                                                  {3, "Options"},
                                                  {42, "PushPauseMenu"},
                                                  {43, "PauseMenuReturnToGame"},
                                                  {46, "PushCredits"},
                                                  {47, "PushHowToPlay"},
                                                  {48, "PushQuitConfirmation"},
                                                  {50, "SkipCorvessaSplash"},
                                                  {51, "SkipLumbrakeSplash"}};
    for (const auto& [index, name] : places) {
        EXPECT_STREQ(kScriptTable[index].m_name, name);
        ASSERT_NE(kScriptTable[index].m_function, nullptr) << name;
        ASSERT_EQ(engine().m_scripts.m_scripts.count(name), 1u) << name;
        EXPECT_EQ(engine().m_scripts.m_scripts.at(name), kScriptTable[index].m_function) << name;
    }
}

TEST_F(FrontEnd, TheOpeningScriptsPushTheirScreens) {
    const std::pair<const char*, KRState*> opens[] = {{"GoToStory", &StoryState::Instance()},
                                                      {"Options", &OptionsState::Instance()},
                                                      {"PushCredits", &CreditsState::Instance()},
                                                      {"PushHowToPlay", &HowToPlayState::Instance()}};
    for (const auto& [name, screen] : opens) {
        engine().m_request = REQUEST_RUN;
        EXPECT_EQ(Captured([&] { EXPECT_TRUE(Run(name)); }), Lines{}) << name;
        EXPECT_EQ(engine().m_request, REQUEST_PUSH) << name;
        EXPECT_EQ(engine().m_lastRequestedState, screen) << name;
        EXPECT_FALSE(TimePaused()) << name;
        // A second in the same frame is refused.
        EXPECT_EQ(Captured([&] { Run(name); }), Lines{"Push State request rejected."}) << name;
    }
}

TEST_F(FrontEnd, ThePauseMenuAndTheQuitConfirmationPauseOnlyWhenTheirPushIsTaken) {
    const std::pair<const char*, KRState*> pausing[] = {
        {"PushPauseMenu", &PauseMenuState::Instance()},
        {"PushQuitConfirmation", &QuitGameConfirmationState::Instance()}};
    for (const auto& [name, screen] : pausing) {
        // Refused because another request waits: the game keeps running, the music stays up.
        engine().m_request = REQUEST_CHANGE;
        engine().m_lastRequestedState = nullptr;
        EXPECT_EQ(Captured([&] { Run(name); }), Lines{"Push State request rejected."}) << name;
        EXPECT_EQ(engine().m_request, REQUEST_CHANGE) << name;
        EXPECT_FALSE(TimePaused()) << name;
        EXPECT_FLOAT_EQ(MusicVolume(), 1.0f) << name;

        // Refused without a word because the screen is already stacked.
        engine().m_request = REQUEST_RUN;
        engine().m_stack = {&KRMainMenuState::Instance(), screen};
        EXPECT_EQ(Captured([&] { Run(name); }), Lines{}) << name;
        EXPECT_EQ(engine().m_request, REQUEST_RUN) << name;
        EXPECT_FALSE(TimePaused()) << name;
        engine().m_stack.clear();

        // Taken: the screen is on its way and the game pauses.
        EXPECT_EQ(Captured([&] { Run(name); }), Lines{}) << name;
        EXPECT_EQ(engine().m_request, REQUEST_PUSH) << name;
        EXPECT_EQ(engine().m_lastRequestedState, screen) << name;
        EXPECT_TRUE(TimePaused()) << name;
        bool effectsPaused = false;
        engine().m_audio.effectsGroup.GetPaused(&effectsPaused);
        EXPECT_TRUE(effectsPaused) << name;
        EXPECT_FLOAT_EQ(MusicVolume(), 0.3f) << name;
        Captured([] { Run("Resume"); });
    }
}

// The kingdom screen's Esc pauses as the script does: only when the pause menu is on its way.
TEST_F(FrontEnd, EscOnTheKingdomPausesOnlyWhenThePauseMenuIsTaken) {
    KingdomEditorState& kingdom = KingdomEditorState::Instance();
    InputSys& input = engine().m_input;
    const auto esc = [&] {
        input.keys[KEY_ESCAPE] = 1;
        input.prevKeys[KEY_ESCAPE] = 0;
        Captured([&] { kingdom.HandleInput(engine()); });
        input.keys[KEY_ESCAPE] = 0;
    };
    engine().m_request = REQUEST_CHANGE;
    esc();
    EXPECT_EQ(engine().m_request, REQUEST_CHANGE);
    EXPECT_FALSE(TimePaused());
    engine().m_request = REQUEST_RUN;
    esc();
    EXPECT_EQ(engine().m_lastRequestedState, &PauseMenuState::Instance());
    EXPECT_TRUE(TimePaused());
    Captured([] { Run("Resume"); });
}

TEST_F(FrontEnd, ReturningToTheGameResumesEvenWhenThePopIsRefused) {
    Pause();
    EXPECT_EQ(Captured([] { Run("PauseMenuReturnToGame"); }), Lines{});
    EXPECT_EQ(engine().m_request, REQUEST_POP);
    EXPECT_FALSE(TimePaused());
    EXPECT_FLOAT_EQ(MusicVolume(), 1.0f);
    Pause();
    EXPECT_EQ(Captured([] { Run("PauseMenuReturnToGame"); }), Lines{"Pop State request rejected."});
    EXPECT_EQ(engine().m_request, REQUEST_POP);
    EXPECT_FALSE(TimePaused());
}

TEST_F(FrontEnd, TheSplashSkipsAreQuietOnTheIntroAndReportedElsewhere) {
    engine().m_lastRequestedState = &IntroState::Instance();
    EXPECT_EQ(Captured([] {
                  Run("SkipCorvessaSplash");
                  Run("SkipLumbrakeSplash");
              }),
              Lines{});
    EXPECT_EQ(engine().m_request, REQUEST_RUN);
    for (KRState* other : std::vector<KRState*>{&KRMainMenuState::Instance(), nullptr}) {
        engine().m_lastRequestedState = other;
        EXPECT_EQ(Captured([] { Run("SkipCorvessaSplash"); }),
                  Lines{"krscripts(1118) : \"Tried to use introstate function in non-introstate!\""});
        EXPECT_EQ(Captured([] { Run("SkipLumbrakeSplash"); }),
                  Lines{"krscripts(1136) : \"Tried to use introstate function in non-introstate!\""});
    }
    EXPECT_EQ(engine().m_request, REQUEST_RUN);
}

TEST_F(FrontEnd, TheLoadingScreenLoadsItsSoundsInOrderWithTheirModes) {
    const std::pair<const char*, uint32_t> expected[12] = {
        {"../Assets/Audio/Music/battle/the four seasons, summer.ogg", 2},
        {"../Assets/Audio/Effects/melee/Sword.wav", 1},
        {"../Assets/Audio/Effects/melee/Sword2.wav", 1},
        {"../Assets/Audio/Effects/melee/spark3.ogg", 1},
        {"../Assets/Audio/Effects/range/energyball.wav", 1},
        {"../Assets/Audio/Effects/die/steamend.wav", 1},
        {"../Assets/Audio/Music/menu and non battle/October.ogg", 2},
        {"../Assets/Audio/Music/menu and non battle/Waterclours.ogg", 2},
        {"../Assets/Audio/Music/menu and non battle/Classical.ogg", 2},
        {"../Assets/Audio/Music/menu and non battle/Gypsy.ogg", 2},
        {"../Assets/Audio/Music/battle/Valse Fantasie.ogg", 1},
        {"../Assets/Audio/Effects/Crack.mp3", 1}};
    for (int i = 0; i < 12; ++i) {
        EXPECT_STREQ(kLoadedSounds[i].m_file, expected[i].first) << i;
        EXPECT_EQ(kLoadedSounds[i].m_mode, expected[i].second) << i;
    }
    const char* const folders[] = {"../Assets/Buttons", "../Assets/Boxes", "../Assets/Textures/SkyBox",
                                   "../Assets/Tiles",   "../Assets/Units", "../Assets/Buildings",
                                   "../Assets/Fonts"};
    ASSERT_EQ(std::size(kLoadedTextureFolders), std::size(folders));
    for (size_t i = 0; i < std::size(folders); ++i) {
        EXPECT_STREQ(kLoadedTextureFolders[i], folders[i]);
    }
}

// Drives the engine's frames the way the game does, without the window's message loop.
Lines Frames(int count) {
    return Captured([count] {
        for (int i = 0; i < count; ++i) {
            g_clock.now += 20;
            Engine::Instance().m_timer.Tick();
            Engine::Instance().Frame();
        }
    });
}

TEST_F(FrontEnd, FromTheIntroThroughTheLoadingScreenToTheMainMenuAndOut) {
    Engine& e = engine();
    GameData& world = *e.m_gameData;
    const bool loadedBefore = world.m_assetsLoaded != 0;
    e.m_request = REQUEST_PUSH;
    e.m_lastRequestedState = &IntroState::Instance();
    Lines lines = Frames(2);
    EXPECT_TRUE(Has(lines, "Initializing IntroState"));
    ASSERT_EQ(e.m_stack, std::vector<KRState*>{&IntroState::Instance()});

    e.m_input.keys[KEY_SPACE] = 1;
    lines = Frames(1);
    e.m_input.keys[KEY_SPACE] = 0;
    EXPECT_EQ(e.m_request, REQUEST_CHANGE);
    lines = Frames(1);
    EXPECT_TRUE(Has(lines, "Cleanup IntroState"));
    EXPECT_TRUE(Has(lines, "Unloading IntroState"));
    EXPECT_EQ(lines.back(), "Initializing LoadingState");
    ASSERT_EQ(e.m_stack, std::vector<KRState*>{&LoadingState::Instance()});

    // One frame shows the loading picture and asks for the menu; the next leaves it, loading meanwhile.
    lines = Frames(1);
    EXPECT_EQ(e.m_request, REQUEST_CHANGE);
    EXPECT_EQ(e.m_lastRequestedState, &KRMainMenuState::Instance());
    lines = Frames(1);
    auto at = [&lines](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) - lines.begin();
    };
    ASSERT_TRUE(Has(lines, "Cleanup LoadingState"));
    ASSERT_TRUE(Has(lines, "Unloading LoadingState"));
    ASSERT_TRUE(Has(lines, "Initializing MainMenuState"));
    EXPECT_LT(at("Cleanup LoadingState"), at("Unloading LoadingState"));
    EXPECT_LT(at("Unloading LoadingState"), at("Initializing MainMenuState"));
    if (!loadedBefore) {
        // The folder listings come between the cleanup and the unloading line.
        const auto listings = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
            return line.find("All Texture XML Files Added: ") != std::string::npos;
        });
        EXPECT_GE(listings, 6);
    }
    ASSERT_EQ(e.m_stack, std::vector<KRState*>{&KRMainMenuState::Instance()});
    EXPECT_EQ(world.m_assetsLoaded, 1);
    ASSERT_NE(world.m_playerEditor, nullptr);
    EXPECT_EQ(e.m_playerEditor, world.m_playerEditor.get());
    EXPECT_EQ(world.m_playerEditor->m_gameData, &world);
    EXPECT_EQ(world.m_playerEditor->m_engine, &e);
    if (!loadedBefore) {
        for (const LoadedSound& sound : kLoadedSounds) {
            EXPECT_EQ(e.m_audio.UseCount(sound.m_file), 1) << sound.m_file;
        }
    }

    // Leaving the loading screen again loads nothing twice and keeps the realm.
    PlayerEditor* realm = world.m_playerEditor.get();
    const int32_t gypsyLoads = e.m_audio.UseCount(AssetPaths::kMusicGypsy);
    lines = Captured([&] { LoadingState::Instance().Unload(e); });
    EXPECT_EQ(lines, Lines{"Unloading LoadingState"});
    EXPECT_EQ(world.m_playerEditor.get(), realm);
    EXPECT_EQ(e.m_audio.UseCount(AssetPaths::kMusicGypsy), gypsyLoads);

    // Esc asks before quitting; Space quits from there.
    e.m_input.keys[KEY_ESCAPE] = 1;
    Frames(1);
    e.m_input.keys[KEY_ESCAPE] = 0;
    lines = Frames(1);
    EXPECT_EQ(lines.back(), "Initializing QuitGameConfirmationState");
    e.m_input.keys[KEY_SPACE] = 1;
    Frames(1);
    e.m_input.keys[KEY_SPACE] = 0;
    lines = Frames(1);
    EXPECT_TRUE(Has(lines, "Unloading QuitGameConfirmationState"));
    EXPECT_TRUE(Has(lines, "Cleanup MainMenuState"));
    EXPECT_TRUE(Has(lines, "Unloading MainMenuState"));
    EXPECT_FALSE(e.m_running);
    EXPECT_TRUE(e.m_stack.empty());
    Captured([] { Run("Resume"); });
}

} // namespace

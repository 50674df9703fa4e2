// Shared set-up of the unit tests: an asset folder of their own (an aura sheet, and a unit sheet
// with a death animation) so that no test depends on the game's pictures, an engine on the null
// platform, and a sound output that can be switched on.
#pragma once

#include "battle/krunit.h"
#include "platform/null/nullaudio.h"
#include "scene/sprite_support.h"

#include <gtest/gtest.h>

#include <string>

namespace unittest {

inline constexpr const char* kAudioMissingLine =
    "krunit(226) : \"Audio system not init, cannot create channel group for Unit.\"";

class UnitTest : public spritetest::SpriteTest {
  protected:
    void SetUp() override {
        SpriteTest::SetUp();
        // Frames 2 and 3 are the red aura, so that a started aura is told from a still one.
        const std::string auraImage = assets.WritePng("krbcspr.png");
        assets.Write(
            "krbcspr.xml",
            spritetest::TextureXml("krbcspr",
                                   "<File>" + auraImage +
                                       "</File><Alpha>255</Alpha><Width>64</Width><Height>64</Height>"
                                       "<ScaleX>2</ScaleX><ScaleY>2</ScaleY><Animation>"
                                       "<AuraRed><StartFrame>2</StartFrame><EndFrame>3</EndFrame></AuraRed>"
                                       "<AuraBlue><StartFrame>1</StartFrame><EndFrame>1</EndFrame></AuraBlue>"
                                       "</Animation>"));
        const std::string unitImage = assets.WritePng("Units/elemental_unit.png");
        assets.Write("Units/elemental_unit.xml",
                     spritetest::TextureXml(
                         "elemental_unit", "<File>" + unitImage +
                                               "</File><Alpha>255</Alpha><Width>64</Width><Height>64</Height>"
                                               "<ScaleX>4</ScaleX><ScaleY>1</ScaleY><Animation>"
                                               "<Dead><StartFrame>0</StartFrame><EndFrame>3</EndFrame></Dead>"
                                               "</Animation>"));
    }

    // Gives the engine a sound system on the null output, as start-up does.
    void StartAudio() {
        plat::Install({&window, &clock, &messageBox, nullptr, &audioOut});
        ASSERT_TRUE(engine->m_audio.Init());
    }

    // The texture the renderer holds for a file, or null.
    plat::Texture* TextureOf(const std::string& file) {
        auto found = renderer().textures.Entries().find(file);
        return found != renderer().textures.Entries().end() ? found->second.texture.get() : nullptr;
    }

    plat::NullAudioOutput audioOut;
};

// The name of the group a handle names, or "" when it names none.
inline std::string GroupName(const plat::ChannelGroup& group) {
    std::string name;
    return group.GetName(&name) == plat::kAudioOk ? name : std::string();
}

} // namespace unittest

// The named paths of the shared content and the nine aura names. Paths are relative to the working
// directory and use "/" throughout; the save-folder pieces are joined to the documents folder by the
// save system. The texts, their spelling included, are what the content on disk is named by.
#pragma once

#include <array>

namespace AssetPaths {

// Aura names (animations of the bounding-box sheet).
inline constexpr const char* kAuraRed = "AuraRed";
inline constexpr const char* kAuraOrange = "AuraOrange";
inline constexpr const char* kAuraYellow = "AuraYellow";
inline constexpr const char* kAuraGreen = "AuraGreen";
inline constexpr const char* kAuraBlue = "AuraBlue";
inline constexpr const char* kAuraIndigo = "AuraIndigo";
inline constexpr const char* kAuraViolet = "AuraViolet";
inline constexpr const char* kAuraBlack = "AuraBlack";
inline constexpr const char* kAuraNone = "AuraNone";

// Camera, tutorial and default save data.
inline constexpr const char* kCamera = "../Assets/camera.xml";
inline constexpr const char* kTutorialMessage = "../Assets/Tutorial/tutorialmessage.xml";
inline constexpr const char* kTutorialSeq = "../Assets/Tutorial/tutorialseq.xml";
inline constexpr const char* kDefaultMapData = "../Assets/SaveData/default_mapdata.xml";
inline constexpr const char* kDefaultBuildingData = "../Assets/SaveData/default_buildingdata.xml";

// Save folders and save file names.
inline constexpr const char* kSaveGameFolder = "/Thornvale Oriskar";
inline constexpr const char* kSaveDataFolder = "/SaveData";
inline constexpr const char* kSaveDataPath = "/Thornvale Oriskar/SaveData/";
inline constexpr const char* kAssetsSaveDataFolder = "../Assets/SaveData/";
inline constexpr const char* kBuildingDataFile = "buildingdata.xml";
inline constexpr const char* kMapDataFile = "mapdata.xml";
inline constexpr const char* kArmyDataFile = "armydata.xml";

// Tutorial map data.
inline constexpr const char* kTutorialMapData = "../Assets/Tutorial/mapdata.xml";
inline constexpr const char* kTutorialBuildingData = "../Assets/Tutorial/buildingdata.xml";

// Unit blueprints by race.
inline constexpr const char* kGolemUnit = "../Assets/Units/golem_unit.xml";
inline constexpr const char* kTaipenUnit = "../Assets/Units/taipen_unit.xml";
inline constexpr const char* kAngelUnit = "../Assets/Units/angel_unit.xml";
inline constexpr const char* kDemonUnit = "../Assets/Units/demon_unit.xml";
inline constexpr const char* kElementalUnit = "../Assets/Units/elemental_unit.xml";
inline constexpr const char* kLeviathianUnit = "../Assets/Units/leviathian_unit.xml";
inline constexpr const char* kElvenkindUnit = "../Assets/Units/elvenkind_unit.xml";
inline constexpr const char* kDragonkinUnit = "../Assets/Units/dragonkin_unit.xml";

// HUD box textures.
inline constexpr const char* kBoxDragonBorder = "../Assets/Boxes/dragonBorder.xml";
inline constexpr const char* kBoxDragonBorder2 = "../Assets/Boxes/dragonBorder2.xml";
inline constexpr const char* kBoxDragonFrame = "../Assets/Boxes/dragonFrame.xml";
inline constexpr const char* kBoxDragonFrame2 = "../Assets/Boxes/dragonFrame2.xml";
inline constexpr const char* kBoxDragonFrameFull = "../Assets/Boxes/dragonFrameFull.xml";
inline constexpr const char* kBoxPlainBorder = "../Assets/Boxes/PlainBorder.xml";
inline constexpr const char* kBoxMasterySkillTree = "../Assets/Boxes/MasterySkillTree.xml";
inline constexpr const char* kBoxLogoElf = "../Assets/Boxes/LogoElf.xml";
inline constexpr const char* kBoxLogoDemon = "../Assets/Boxes/LogoDemon.xml";
inline constexpr const char* kBoxLogoAngel = "../Assets/Boxes/LogoAngel.xml";
inline constexpr const char* kBoxLogoTaipen = "../Assets/Boxes/LogoTaipen.xml";
inline constexpr const char* kBoxLogoElemental = "../Assets/Boxes/LogoElemental.xml";
inline constexpr const char* kBoxLogoLeviathian = "../Assets/Boxes/LogoLeviathian.xml";
inline constexpr const char* kBoxLogoGolem = "../Assets/Boxes/LogoGolem.xml";
inline constexpr const char* kBoxLogoDragonkin = "../Assets/Boxes/LogoDragonkin.xml";
inline constexpr const char* kBoxMasteryCommander = "../Assets/Boxes/MasteryCommander.xml";
inline constexpr const char* kBoxSharpened = "../Assets/Boxes/Sharpened.xml";
inline constexpr const char* kBoxFatality = "../Assets/Boxes/Fatality.xml";
inline constexpr const char* kBoxBioMastery = "../Assets/Boxes/BioMastery.xml";
inline constexpr const char* kBoxMagicMastery = "../Assets/Boxes/MagicMastery.xml";
inline constexpr const char* kBoxHardenedSkin = "../Assets/Boxes/HardenedSkin.xml";
inline constexpr const char* kBoxBerserker = "../Assets/Boxes/Berserker.xml";

// Bounding-box sprite and GUI layouts.
inline constexpr const char* kBoundingBoxSprite = "../Assets/krbcspr.xml";
inline constexpr const char* kGuiMainMenu = "../Assets/guimainmenu.xml";
inline constexpr const char* kGuiPause = "../Assets/guipause.xml";
inline constexpr const char* kGuiCredits = "../Assets/guicredits.xml";
inline constexpr const char* kGuiOptions = "../Assets/guioptions.xml";
inline constexpr const char* kGuiHowToPlay = "../Assets/guihowtoplay.xml";
inline constexpr const char* kGuiQuitGameConfirmation = "../Assets/guiquitgameconfirmation.xml";
inline constexpr const char* kGuiUnitEditor = "../Assets/guiuniteditor.xml";
inline constexpr const char* kGuiKingdomEditor = "../Assets/guikingdomeditor.xml";
inline constexpr const char* kGuiWarring = "../Assets/guiwarring.xml";
inline constexpr const char* kGuiMasterEditor = "../Assets/guimastereditor.xml";
inline constexpr const char* kGuiButtonSheet = "../Assets/guibuttonsheet.xml";
inline constexpr const char* kGuiIntro = "../Assets/guiintro.xml";
inline constexpr const char* kGuiLoading = "../Assets/guiloading.xml";
inline constexpr const char* kGuiStory = "../Assets/guistory.xml";

// Unit blueprint table and HUD tab buttons.
inline constexpr const char* kBaseUnitBluePrint = "../Assets/BaseUnitBluePrint.xml";
inline constexpr const char* kArmyButton = "../Assets/ArmyButton.xml";
inline constexpr const char* kBuildButton = "../Assets/BuildButton.xml";
inline constexpr const char* kTechButton = "../Assets/TechButton.xml";
inline constexpr const char* kMerchantButton = "../Assets/MerchantButton.xml";
inline constexpr const char* kKingdomButton = "../Assets/KingdomButton.xml";
inline constexpr const char* kWarButton = "../Assets/WarButton.xml";
inline constexpr const char* kUnitButton = "../Assets/UnitButton.xml";

// Tile and building sprites. The population tile is named twice, in the second and fifth place.
inline constexpr const char* kTileCapital = "../Assets/tilecapital.xml";
inline constexpr const char* kTilePop = "../Assets/tile_pop.xml";
inline constexpr const char* kTileNature = "../Assets/tile_nature.xml";
inline constexpr const char* kTileBarracks = "../Assets/tile_barracks.xml";
inline constexpr const char* kTilePopAgain = "../Assets/tile_pop.xml";
inline constexpr const char* kTileEmpty = "../Assets/Tiles/tileempty.xml";
inline constexpr const char* kTileBuildingBase = "../Assets/Tiles/tilebldgbase.xml";
inline constexpr const char* kTilePath = "../Assets/Tiles/tilepath.xml";
inline constexpr const char* kTileGate = "../Assets/Tiles/tilegate.xml";
inline constexpr const char* kTileCrack = "../Assets/Tiles/tile_crack.xml";
inline constexpr const char* kTileBlank = "../Assets/Tiles/tileblank.xml";
inline constexpr const char* kRotatingSelect = "../Assets/Tiles/rotatingselect.xml";
inline constexpr const char* kCapitalBuilding = "../Assets/Buildings/capital_bldg.xml";
inline constexpr const char* kBarracksBuilding = "../Assets/Buildings/barracks_bldg.xml";
inline constexpr const char* kBiolabBuilding = "../Assets/Buildings/biolab_bldg.xml";
inline constexpr const char* kTechlabBuilding = "../Assets/Buildings/techlab_bldg.xml";
inline constexpr const char* kSpireBuilding = "../Assets/Buildings/spire_bldg.xml";
inline constexpr const char* kFarmBuilding = "../Assets/Buildings/farm_bldg.xml";
inline constexpr const char* kDarkBuilding = "../Assets/Buildings/dark_bldg.xml";
inline constexpr const char* kSmithBuilding = "../Assets/Buildings/smith_bldg.xml";
inline constexpr const char* kHouseBuilding = "../Assets/Buildings/house_bldg.xml";
inline constexpr const char* kDestroy = "../Assets/destroy.xml";
inline constexpr const char* kOverlay = "../Assets/overlay.xml";
inline constexpr const char* kResourceData = "../Assets/SaveData/resourcedata.xml";

// Miscellaneous sprites, skybox, default texture and fonts.
inline constexpr const char* kSkyboxTop = "../Assets/Textures/Skybox/top.xml";
inline constexpr const char* kSkyboxBottom = "../Assets/Textures/Skybox/bottom.xml";
inline constexpr const char* kSkyboxLeft = "../Assets/Textures/Skybox/left.xml";
inline constexpr const char* kSkyboxRight = "../Assets/Textures/Skybox/right.xml";
inline constexpr const char* kSkyboxFront = "../Assets/Textures/Skybox/front.xml";
inline constexpr const char* kSkyboxBack = "../Assets/Textures/Skybox/back.xml";
inline constexpr const char* kDefaultTexture = "../Assets/defaulttexture.xml";
inline constexpr const char* kFonts = "../Assets/fonts.xml";
inline constexpr const char* kFontBlueWhite = "../Assets/Fonts/bluewhite_font.xml";
inline constexpr const char* kFontBlackRed = "../Assets/Fonts/blackred_font.xml";
inline constexpr const char* kFontPurple = "../Assets/Fonts/purple_font.xml";
inline constexpr const char* kFontGreen = "../Assets/Fonts/green_font.xml";
inline constexpr const char* kMusicOrchestraWarmUp = "../Assets/Audio/Music/orchestra warm up tuning.mp3";

// Music and sound effects (and the blue button, which the list puts here).
inline constexpr const char* kEffectSwordfight = "../Assets/Audio/Effects/swordfight.mp3";
inline constexpr const char* kMusicLament = "../Assets/Audio/Music/menu and non battle/29 - Lament.ogg";
inline constexpr const char* kMusicSummer = "../Assets/Audio/Music/battle/the four seasons, summer.ogg";
inline constexpr const char* kEffectClick = "../Assets/Audio/Effects/menu/click.wav";
inline constexpr const char* kEffectSword = "../Assets/Audio/Effects/melee/Sword.wav";
inline constexpr const char* kEffectSword2 = "../Assets/Audio/Effects/melee/Sword2.wav";
inline constexpr const char* kEffectSpark3 = "../Assets/Audio/Effects/melee/spark3.ogg";
inline constexpr const char* kEffectEnergyBall = "../Assets/Audio/Effects/range/energyball.wav";
inline constexpr const char* kEffectSteamEnd = "../Assets/Audio/Effects/die/steamend.wav";
inline constexpr const char* kEffectCrack = "../Assets/Audio/Effects/Crack.mp3";
inline constexpr const char* kEffectSwordOgg = "../Assets/Audio/Effects/melee/Sword.ogg";
inline constexpr const char* kMusicValseFantasie = "../Assets/Audio/Music/battle/Valse Fantasie.ogg";
inline constexpr const char* kMusicOctober = "../Assets/Audio/Music/menu and non battle/October.ogg";
inline constexpr const char* kMusicWaterclours = "../Assets/Audio/Music/menu and non battle/Waterclours.ogg";
inline constexpr const char* kMusicGypsy = "../Assets/Audio/Music/menu and non battle/Gypsy.ogg";
inline constexpr const char* kMusicClassical = "../Assets/Audio/Music/menu and non battle/Classical.ogg";
inline constexpr const char* kButtonBlue = "../Assets/Buttons/ButtonBlue.xml";

// Buttons (and the help mail icon, which the list puts here).
inline constexpr const char* kButtonDarkBlue = "../Assets/Buttons/ButtonDarkBlue.xml";
inline constexpr const char* kButtonDarkRed = "../Assets/Buttons/ButtonDarkRed.xml";
inline constexpr const char* kButtonFlash = "../Assets/Buttons/ButtonFlash.xml";
inline constexpr const char* kButtonSpire = "../Assets/Buttons/ButtonSpire.xml";
inline constexpr const char* kButtonSmith = "../Assets/Buttons/ButtonSmith.xml";
inline constexpr const char* kButtonHouse = "../Assets/Buttons/ButtonHouse.xml";
inline constexpr const char* kButtonBarrack = "../Assets/Buttons/ButtonBarrack.xml";
inline constexpr const char* kButtonFarm = "../Assets/Buttons/ButtonFarm.xml";
inline constexpr const char* kButtonKeep = "../Assets/Buttons/ButtonKeep.xml";
inline constexpr const char* kButtonLab = "../Assets/Buttons/ButtonLab.xml";
inline constexpr const char* kButtonBiolab = "../Assets/Buttons/ButtonBiolab.xml";
inline constexpr const char* kButtonDestroy = "../Assets/Buttons/ButtonDestroy.xml";
inline constexpr const char* kButtonPlaceTile = "../Assets/Buttons/ButtonPlaceTile.xml";
inline constexpr const char* kButtonPlaceCrack = "../Assets/Buttons/ButtonPlaceCrack.xml";
inline constexpr const char* kButtonDarkGrey = "../Assets/Buttons/ButtonDarkGrey.xml";
inline constexpr const char* kLeftArrowButtons = "../Assets/Buttons/LeftArrowButtons.xml";
inline constexpr const char* kRightArrowButtons = "../Assets/Buttons/RightArrowButtons.xml";
inline constexpr const char* kSkipTutorialButton = "../Assets/Buttons/skiptut.xml";
inline constexpr const char* kButtonMenu = "../Assets/Buttons/ButtonMenu.xml";
inline constexpr const char* kButtonRightClaw = "../Assets/Buttons/ButtonRightClaw.xml";
inline constexpr const char* kScrollUpButton = "../Assets/Buttons/scrollUp.xml";
inline constexpr const char* kScrollDownButton = "../Assets/Buttons/scrollDown.xml";
inline constexpr const char* kMailHelp = "../Assets/MailHelp.xml";

// Mail icons and world markers.
inline constexpr const char* kMailInfo = "../Assets/MailInfo.xml";
inline constexpr const char* kMailAdvice = "../Assets/MailAdvice.xml";
inline constexpr const char* kMailMail = "../Assets/MailMail.xml";
inline constexpr const char* kMailTutorial = "../Assets/MailTutorial.xml";
inline constexpr const char* kMailAlert = "../Assets/MailAlert.xml";
inline constexpr const char* kWorldArrow = "../Assets/worldarrow.xml";
inline constexpr const char* kWorldSelect = "../Assets/worldselect.xml";

// Every constant above, in its order.
// clang-format off
inline constexpr std::array<const char*, 160> kAll = {
    kAuraRed, kAuraOrange, kAuraYellow, kAuraGreen, kAuraBlue, kAuraIndigo, kAuraViolet, kAuraBlack, kAuraNone,
    kCamera, kTutorialMessage, kTutorialSeq, kDefaultMapData, kDefaultBuildingData,
    kSaveGameFolder, kSaveDataFolder, kSaveDataPath, kAssetsSaveDataFolder, kBuildingDataFile, kMapDataFile,
    kArmyDataFile,
    kTutorialMapData, kTutorialBuildingData,
    kGolemUnit, kTaipenUnit, kAngelUnit, kDemonUnit, kElementalUnit, kLeviathianUnit, kElvenkindUnit,
    kDragonkinUnit,
    kBoxDragonBorder, kBoxDragonBorder2, kBoxDragonFrame, kBoxDragonFrame2, kBoxDragonFrameFull, kBoxPlainBorder,
    kBoxMasterySkillTree, kBoxLogoElf, kBoxLogoDemon, kBoxLogoAngel, kBoxLogoTaipen, kBoxLogoElemental,
    kBoxLogoLeviathian, kBoxLogoGolem, kBoxLogoDragonkin, kBoxMasteryCommander, kBoxSharpened, kBoxFatality,
    kBoxBioMastery, kBoxMagicMastery, kBoxHardenedSkin, kBoxBerserker,
    kBoundingBoxSprite, kGuiMainMenu, kGuiPause, kGuiCredits, kGuiOptions, kGuiHowToPlay,
    kGuiQuitGameConfirmation, kGuiUnitEditor, kGuiKingdomEditor, kGuiWarring, kGuiMasterEditor, kGuiButtonSheet,
    kGuiIntro, kGuiLoading, kGuiStory,
    kBaseUnitBluePrint, kArmyButton, kBuildButton, kTechButton, kMerchantButton, kKingdomButton, kWarButton,
    kUnitButton,
    kTileCapital, kTilePop, kTileNature, kTileBarracks, kTilePopAgain, kTileEmpty, kTileBuildingBase, kTilePath,
    kTileGate, kTileCrack, kTileBlank, kRotatingSelect, kCapitalBuilding, kBarracksBuilding, kBiolabBuilding,
    kTechlabBuilding, kSpireBuilding, kFarmBuilding, kDarkBuilding, kSmithBuilding, kHouseBuilding, kDestroy,
    kOverlay, kResourceData,
    kSkyboxTop, kSkyboxBottom, kSkyboxLeft, kSkyboxRight, kSkyboxFront, kSkyboxBack, kDefaultTexture, kFonts,
    kFontBlueWhite, kFontBlackRed, kFontPurple, kFontGreen, kMusicOrchestraWarmUp,
    kEffectSwordfight, kMusicLament, kMusicSummer, kEffectClick, kEffectSword, kEffectSword2, kEffectSpark3,
    kEffectEnergyBall, kEffectSteamEnd, kEffectCrack, kEffectSwordOgg, kMusicValseFantasie, kMusicOctober,
    kMusicWaterclours, kMusicGypsy, kMusicClassical, kButtonBlue,
    kButtonDarkBlue, kButtonDarkRed, kButtonFlash, kButtonSpire, kButtonSmith, kButtonHouse, kButtonBarrack,
    kButtonFarm, kButtonKeep, kButtonLab, kButtonBiolab, kButtonDestroy, kButtonPlaceTile, kButtonPlaceCrack,
    kButtonDarkGrey, kLeftArrowButtons, kRightArrowButtons, kSkipTutorialButton, kButtonMenu, kButtonRightClaw,
    kScrollUpButton, kScrollDownButton, kMailHelp,
    kMailInfo, kMailAdvice, kMailMail, kMailTutorial, kMailAlert, kWorldArrow, kWorldSelect,
};
// clang-format on

} // namespace AssetPaths

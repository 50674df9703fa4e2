// The action ids of the HUD boxes: what a click on a box does (boxdispatcher.cpp), which hover help it
// shows, and the key the tutorial and the realm find a box by. The numbers are fixed: the hover help
// texts are a table indexed by them.
#pragma once

#include <cstdint>

using BoxActionId = int32_t;

inline constexpr BoxActionId kBoxActionNone = 0;

// The screen tabs.
inline constexpr BoxActionId kBoxActionKingdomTab = 1;
inline constexpr BoxActionId kBoxActionWarTab = 2;
inline constexpr BoxActionId kBoxActionUnitTab = 3;

// The Build list's rows: each picks the map tool that places or changes what it names.
inline constexpr BoxActionId kBoxActionBuildFarm = 4;
inline constexpr BoxActionId kBoxActionBuildHouse = 5;
inline constexpr BoxActionId kBoxActionBuildTower = 6;
inline constexpr BoxActionId kBoxActionBuildBioLab = 7;
inline constexpr BoxActionId kBoxActionBuildSmith = 8;
inline constexpr BoxActionId kBoxActionBuildSpire = 9;
inline constexpr BoxActionId kBoxActionBuildLab = 10;
inline constexpr BoxActionId kBoxActionBuildKeep = 11;
inline constexpr BoxActionId kBoxActionOptions = 12;
// The recruit panel and the unit buttons of the unit editor.
inline constexpr BoxActionId kBoxActionIncreaseUnits = 13;
inline constexpr BoxActionId kBoxActionDecreaseUnits = 14;
inline constexpr BoxActionId kBoxActionBuyFromMerchant = 15;
inline constexpr BoxActionId kBoxActionConfirmRecruitment = 16;
inline constexpr BoxActionId kBoxActionDisbandUnit = 17;
inline constexpr BoxActionId kBoxActionLayPath = 18;
inline constexpr BoxActionId kBoxActionDemolish = 19;
inline constexpr BoxActionId kBoxActionLayCrack = 20; // no box carries it

// The stat editor's "+" column, then its "-" column.
inline constexpr BoxActionId kBoxActionRaiseStrength = 21;
inline constexpr BoxActionId kBoxActionRaiseAttackSpeed = 22;
inline constexpr BoxActionId kBoxActionRaiseVitality = 23;
inline constexpr BoxActionId kBoxActionRaiseMoveSpeed = 24;
inline constexpr BoxActionId kBoxActionRaiseDefense = 25;
inline constexpr BoxActionId kBoxActionRaiseRange = 26;
inline constexpr BoxActionId kBoxActionRaiseAccuracy = 27;
inline constexpr BoxActionId kBoxActionRaiseEvasion = 28;
inline constexpr BoxActionId kBoxActionRaiseEnergy = 29;
inline constexpr BoxActionId kBoxActionLowerStrength = 30;
inline constexpr BoxActionId kBoxActionLowerAttackSpeed = 31;
inline constexpr BoxActionId kBoxActionLowerVitality = 32;
inline constexpr BoxActionId kBoxActionLowerMoveSpeed = 33;
inline constexpr BoxActionId kBoxActionLowerDefense = 34;
inline constexpr BoxActionId kBoxActionLowerRange = 35;
inline constexpr BoxActionId kBoxActionLowerAccuracy = 36;
inline constexpr BoxActionId kBoxActionLowerEvasion = 37;
inline constexpr BoxActionId kBoxActionLowerEnergy = 38;
inline constexpr BoxActionId kBoxActionConfirmStatChange = 39;
inline constexpr BoxActionId kBoxActionResetStatChange = 40;

// A list pages itself through its two arrows.
inline constexpr BoxActionId kBoxActionScrollBack = 41;    // the "<<" arrow of a list
inline constexpr BoxActionId kBoxActionScrollForward = 42; // the ">>" arrow of a list

// The game messages: their window, and the Log panel that folds and scrolls it.
inline constexpr BoxActionId kBoxActionGameMessageBox = 43;
inline constexpr BoxActionId kBoxActionToggleLog = 44;
inline constexpr BoxActionId kBoxActionLogScrollUp = 45;
inline constexpr BoxActionId kBoxActionLogScrollDown = 46;

// The unit editor's info pages.
inline constexpr BoxActionId kBoxActionUnitEditPage = 47;
inline constexpr BoxActionId kBoxActionWarDataPage = 48;
inline constexpr BoxActionId kBoxActionRaceInformation = 49; // the race list's heading
inline constexpr BoxActionId kBoxActionMasteryPage = 50;
// One lore page per race.
inline constexpr BoxActionId kBoxActionElvesPage = 51;
inline constexpr BoxActionId kBoxActionDragonkinPage = 52;
inline constexpr BoxActionId kBoxActionGolemsPage = 53;
inline constexpr BoxActionId kBoxActionAngelsPage = 54;
inline constexpr BoxActionId kBoxActionDemonsPage = 55;
inline constexpr BoxActionId kBoxActionLeviathiansPage = 56;
inline constexpr BoxActionId kBoxActionElementalsPage = 57;
inline constexpr BoxActionId kBoxActionTaipensPage = 58;
inline constexpr BoxActionId kBoxActionFirstRacePage = kBoxActionElvesPage;
inline constexpr BoxActionId kBoxActionLastRacePage = kBoxActionTaipensPage;

// The mastery tree: a box chooses its mastery, the last one buys a level of the chosen one.
inline constexpr BoxActionId kBoxActionChooseBioMastery = 59;
inline constexpr BoxActionId kBoxActionChooseMagicMastery = 60;
inline constexpr BoxActionId kBoxActionChooseCommander = 61;
inline constexpr BoxActionId kBoxActionChooseBerserker = 62;
inline constexpr BoxActionId kBoxActionChooseFatality = 63;
inline constexpr BoxActionId kBoxActionChooseSharpenedAttacks = 64;
inline constexpr BoxActionId kBoxActionChooseHardenedSkin = 65;
inline constexpr BoxActionId kBoxActionFirstMastery = kBoxActionChooseBioMastery;
inline constexpr BoxActionId kBoxActionLastMastery = kBoxActionChooseHardenedSkin;
inline constexpr BoxActionId kBoxActionIncreaseMastery = 66;

// The unit panel's pages, 1 to 4 in this order; no box opens the first.
inline constexpr BoxActionId kBoxActionFirstUnitPage = 67;
inline constexpr BoxActionId kBoxActionUnitStatsPage = 68;
inline constexpr BoxActionId kBoxActionUnitUpkeepPage = 69;
inline constexpr BoxActionId kBoxActionTrainUnitPage = 70;
inline constexpr BoxActionId kBoxActionLastUnitPage = kBoxActionTrainUnitPage;

// Panel boxes that act by themselves or only show: their ids key the hover help.
inline constexpr BoxActionId kBoxActionMenu = 71;
inline constexpr BoxActionId kBoxActionTechList = 73;
inline constexpr BoxActionId kBoxActionHelperText = 76; // also the Menu's "Help"
inline constexpr BoxActionId kBoxActionMerchantList = 77;

inline constexpr BoxActionId kBoxActionOpenSaveScreen = 80;
inline constexpr BoxActionId kBoxActionSkipTutorial = 81;

// The resource counters of the top bar.
inline constexpr BoxActionId kBoxActionFireCounter = 82;
inline constexpr BoxActionId kBoxActionEarthCounter = 83;
inline constexpr BoxActionId kBoxActionLightCounter = 84;
inline constexpr BoxActionId kBoxActionNatureCounter = 85;
inline constexpr BoxActionId kBoxActionIceCounter = 86;
inline constexpr BoxActionId kBoxActionMetalCounter = 87;
inline constexpr BoxActionId kBoxActionPsychicCounter = 88;
inline constexpr BoxActionId kBoxActionDarknessCounter = 89;
inline constexpr BoxActionId kBoxActionPopulationCounter = 90;
inline constexpr BoxActionId kBoxActionMoneyCounter = 91;

// The Army and Build list heads: a click on one closes the other.
inline constexpr BoxActionId kBoxActionArmyMenu = 98;
inline constexpr BoxActionId kBoxActionBuildMenu = 99;
inline constexpr BoxActionId kBoxActionUnitsToBuyCounter = 100;
inline constexpr BoxActionId kBoxActionMuteMusic = 101;
inline constexpr BoxActionId kBoxActionPause = 102; // the one box that takes clicks while paused

// Roster rows: the box selects its unit itself.
inline constexpr BoxActionId kBoxActionMerchantOffer = 103;
inline constexpr BoxActionId kBoxActionRosterUnit = 104; // a technology or a purchased unit
inline constexpr BoxActionId kBoxActionRosterEntry = 105;
// A notice box that posts its text as a mail.
inline constexpr BoxActionId kBoxActionPostMail = 106;

// The save screen.
inline constexpr BoxActionId kBoxActionSaveGame = 107;
inline constexpr BoxActionId kBoxActionLoadGame = 108;
inline constexpr BoxActionId kBoxActionPreviousSlot = 109;
inline constexpr BoxActionId kBoxActionNextSlot = 110;
inline constexpr BoxActionId kBoxActionLeaveSaveScreen = 111; // "Delete" as well as "Go Back"

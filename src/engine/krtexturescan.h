// The texture folder scan: lists the XML files of one folder into GameData and makes the texture and
// quad of every texture configuration among them resident in the renderer's managers.
#pragma once

#include <string>

class Engine;
class GameData;

// The folders that start-up scans, in this order.
inline constexpr const char* kAssetsFolder = "../Assets";
inline constexpr const wchar_t* kAssetsFolderWide = L"../Assets";
inline constexpr const char* kFadeAnimationFolder = "../Assets/Textures/FadeAnimation";
inline constexpr const wchar_t* kFadeAnimationFolderWide = L"../Assets/Textures/FadeAnimation";

// Adds the name of every file of the folder (not of its sub-folders) whose name contains ".xml" to
// gameData.m_textureConfigs. Writes the folder pattern ("<folder>\*") without a line end, and on
// success "All Texture XML Files Added: " after it. False when the folder cannot be listed.
bool ListTextureConfigFiles(const std::wstring& folder, GameData& gameData);

// Reads every listed name inside the folder and loads the sprite of each whose root element is
// "Texture". Names listed from another folder that are not in this one are passed over silently.
// Always true.
bool LoadTextureConfigFiles(const std::string& folder, GameData& gameData, Engine& engine);

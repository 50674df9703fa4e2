// GUI layout files: one element per GUI item, its tag the item's name, its attributes the item's type,
// script, sprite and placement on the 800 x 600 virtual screen.
#pragma once

#include "engine/krconfig.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct GUIConfigEntry {
    std::string m_name;
    std::string m_type;
    std::string m_action;
    std::string m_file;
    float m_x = 0.0f;
    float m_y = 0.0f;
    int32_t m_w = 0;
    int32_t m_h = 0;
};

class KRGUIConfig : public KRConfig {
  public:
    explicit KRGUIConfig(const KRConfig& read) : KRConfig(read) {}

    std::string Describe() const override;
    // A new KRGUIConfig with one entry per element, in document order.
    std::unique_ptr<KRConfig> CreateTyped() const override;

    int32_t m_index = 0;
    std::vector<GUIConfigEntry> m_entries;
};

#include "flow/tutorialfiles.h"

std::unique_ptr<KRConfig> TutorialSeq::CreateTyped() const {
    auto typed = std::make_unique<TutorialSeq>(static_cast<const KRConfig&>(*this));
    for (const ConfigNode& node : m_nodes) {
        if (node.m_name != "Tutorial") {
            continue;
        }
        for (const auto& step : node.m_children) {
            typed->m_stepVector.push_back(step->m_name);
            typed->m_steps.push_back(step->m_name);
        }
    }
    return typed;
}

std::unique_ptr<KRConfig> TutorialMessage::CreateTyped() const {
    auto typed = std::make_unique<TutorialMessage>(static_cast<const KRConfig&>(*this));
    for (const ConfigNode& node : m_nodes) {
        std::string text;
        for (const auto& line : node.m_children) {
            if (line->m_name == "n") {
                text += line->m_text + "\n";
            }
        }
        typed->m_messages[node.m_name] = text;
    }
    return typed;
}

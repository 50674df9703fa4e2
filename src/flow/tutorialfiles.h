// The tutorial's two content files: the names of its steps in order, and the letter of each step.
#pragma once

#include "engine/krconfig.h"

#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

// The step names of every "Tutorial" element of the root, in document order.
class TutorialSeq : public KRConfig {
  public:
    explicit TutorialSeq(const KRConfig& read) : KRConfig(read) {}

    std::string Describe() const override { return std::string(); }
    std::unique_ptr<KRConfig> CreateTyped() const override;

    // Both hold the same names.
    std::vector<std::string> m_stepVector;
    std::list<std::string> m_steps;
};

// One letter per child of the root, named by its step: the texts of its "n" children, each ended by a
// line feed. A later element of the same name replaces an earlier one.
class TutorialMessage : public KRConfig {
  public:
    explicit TutorialMessage(const KRConfig& read) : KRConfig(read) {}

    std::string Describe() const override { return std::string(); }
    std::unique_ptr<KRConfig> CreateTyped() const override;

    std::map<std::string, std::string> m_messages;
};

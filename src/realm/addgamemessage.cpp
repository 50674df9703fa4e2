#include "engine/krlog.h"
#include "realm/playereditor.h"

namespace {
constexpr size_t kLongestGameMessage = 100;
}

void PlayerEditor::AddGameMessage(const std::string& text, int32_t lines, uint32_t colour) {
    if (text.size() > kLongestGameMessage) {
        LogLine("Player Editor Warning : Game Message added too long");
        return;
    }
    m_messages.push_back({text, lines, colour});
    // Counting stops once past the budget: a battle posts thousands of messages.
    int32_t total = 0;
    for (const GameMessage& message : m_messages) {
        total += message.m_lineCount;
        if (total > m_messageLineBudget) {
            ++m_firstVisibleMessage;
            break;
        }
    }
}

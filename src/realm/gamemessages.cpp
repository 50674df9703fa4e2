#include "realm/playereditor.h"

#include "engine/krlog.h"

namespace {

constexpr size_t kLongestGameMessage = 100;

} // namespace

void PlayerEditor::AddGameMessage(const std::string& text, int32_t lines, uint32_t colour) {
    if (text.size() > kLongestGameMessage) {
        LogLine("Player Editor Warning : Game Message added too long");
        return;
    }
    m_messages.push_back(GameMessage{text, lines, colour});
}

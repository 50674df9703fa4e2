// The game messages: a list drawn over the message window, scrolled a message at a time.
#include "realm/playereditor.h"
#include "scene/boxobject.h"

#include <iostream>
#include <iterator>

namespace {

constexpr size_t kMessageMaxLength = 100;

} // namespace

void PlayerEditor::AddGameMessage(const std::string& text, int32_t lines, uint32_t colour) {
    if (text.size() > kMessageMaxLength) {
        std::cout << "Player Editor Warning : Game Message added too long" << std::endl;
        return;
    }
    m_messages.push_back({text, lines, colour});
    // A battle adds two messages a hit: stop counting once the budget is passed.
    int64_t total = m_droppedMessageLines;
    for (const GameMessage& message : m_messages) {
        total += message.m_lineCount;
        if (total > m_messageLineBudget) {
            m_firstVisibleMessage += 1;
            break;
        }
    }
    // Only messages above the window go, so what it shows stays as it was.
    while (m_messages.size() > kGameMessagesKept && m_firstVisibleMessage > 0) {
        m_droppedMessageLines += m_messages.front().m_lineCount;
        m_messages.pop_front();
        m_firstVisibleMessage -= 1;
    }
}

void PlayerEditor::ScrollGameMessages() {
    if (m_messageLineBudget < 0) {
        m_firstVisibleMessage += 1;
        return;
    }
    int32_t total = 0;
    int32_t index = 0;
    for (const GameMessage& message : m_messages) {
        if (index++ > m_firstVisibleMessage) {
            total += message.m_lineCount;
        }
    }
    if (total > m_messageLineBudget) {
        m_firstVisibleMessage += 1;
    }
}

void PlayerEditor::DrawGameMessages() {
    BoxObject* window = m_messageWindowBox;
    if (!m_messageBoxVisible) {
        if (window != nullptr) {
            window->m_sprite.m_visible = false;
        }
        return;
    }
    if (window != nullptr) {
        window->m_sprite.m_visible = true;
        window->m_boundingBox.m_scale[0] = m_messageBoxScale[0];
        window->m_boundingBox.m_scale[1] = m_messageBoxScale[1];
        window->m_layoutPosition = m_messageBoxPosition;
    }
    if (m_firstVisibleMessage < 0 || static_cast<size_t>(m_firstVisibleMessage) >= m_messages.size()) {
        return;
    }
    float z = 4.5f;
    int32_t total = m_firstVisibleMessage;
    const int32_t last = m_firstVisibleMessage + m_messageLineBudget;
    for (auto message = std::next(m_messages.begin(), m_firstVisibleMessage); message != m_messages.end();
         ++message) {
        DrawTextLine(message->m_text, -7.5f, 5.0f, z);
        z -= 0.25f * static_cast<float>(message->m_lineCount);
        total += message->m_lineCount;
        if (total > last) {
            break;
        }
    }
}

// Null platform: no window, no devices. Records what it is asked so tests can look.
#pragma once

#include "platform/platform.h"

#include <deque>
#include <string>
#include <vector>

namespace plat {

class NullWindow : public Window {
public:
    bool Create(const WindowDesc& desc) override;
    void Show(int command) override;
    bool IsVisible() const override { return visible; }
    bool PeekMessage(Message& out) override;
    void PostQuitMessage(int exitCode) override;
    bool RegisterRawInputDevices() override { return registerSucceeds; }
    bool GetCursorClientPos(int& x, int& y) override;
    void GetClientSize(int& width, int& height) const override;

    // Queues a message as if the system had sent it.
    void Send(const Message& message) { queue.push_back(message); }

    bool createSucceeds = true;
    bool registerSucceeds = true;
    bool cursorSucceeds = true;
    bool created = false;
    bool visible = false;
    int cursorX = 0;
    int cursorY = 0;
    WindowDesc desc;
    std::vector<int> showCommands;
    std::deque<Message> queue;
};

// A clock that moves only when told to.
class ManualClock : public Clock {
public:
    uint64_t Milliseconds() override { return now; }
    void Sleep(uint32_t milliseconds) override { now += milliseconds; }
    uint64_t now = 0;
};

class RecordingMessageBox : public MessageBoxSink {
public:
    void Show(const std::string& text, const std::string& caption) override {
        shown.push_back(caption + ": " + text);
    }
    std::vector<std::string> shown;
};

} // namespace plat

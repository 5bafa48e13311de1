#pragma once
// Records one kind of message as it is sent on this thread, for as long as it
// lives, with the program's cursor at that moment: what a long step shows
// while it runs (the hourglass, a progress bar moving) is seen from inside it.

#include <windows.h>

#include <functional>
#include <vector>

class TSentMessages {
public:
    explicit TSentMessages(UINT message);
    ~TSentMessages();
    TSentMessages(const TSentMessages&) = delete;
    TSentMessages& operator=(const TSentMessages&) = delete;

    struct Sent {
        HWND window = nullptr;
        WPARAM wParam = 0;
        // The program's cursor number (Cursors.h) when it was sent.
        int cursor = 0;
    };
    std::vector<Sent> Seen;
    // Runs as each one is seen, inside the step that sent it: a test posts
    // what a person does meanwhile from here.
    std::function<void(const Sent&)> OnSent;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    UINT message_;
    HHOOK hook_ = nullptr;
};

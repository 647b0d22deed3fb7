// The window operations of the command-line tool: the log goes to standard
// output, the captions are kept and drawn as a progress line on standard
// error (only when it is a terminal), and the event pump takes up Ctrl-C.
#pragma once

#include <csignal>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "WindowOps.h"

namespace quillomar::cli {

class TConsoleWindow : public TWindowOps {
public:
    // aLog receives the log lines (nullptr: dropped); aProgress, when not
    // nullptr, receives the redrawn progress line.
    TConsoleWindow(std::FILE* aLog, std::FILE* aProgress);
    ~TConsoleWindow() override;

    void SetText(TControl aControl, const std::string& aText) override;
    std::string GetText(TControl aControl) override;
    void AddLogLine(const std::string& aLine) override;
    void SetLogVisible(bool) override {}
    void SetEnabled(TControl, bool) override {}
    bool IsPauseDown() override { return fPauseDown; }
    bool IsSearchDown() override { return fSearchDown; }
    void ProcessMessages() override;

    void SetPauseDown(bool aDown) { fPauseDown = aDown; }
    void SetSearchDown(bool aDown) { fSearchDown = aDown; }
    // Runs inside the event pump when Ctrl-C has been pressed.
    void OnInterrupt(std::function<void()> aHandler) { fOnInterrupt = std::move(aHandler); }
    bool Interrupted() const noexcept { return fInterrupted; }
    // Clears the progress line, if one is drawn.
    void EndProgress();

private:
    void DrawProgress();

    std::FILE* fLog;
    std::FILE* fProgress;
    std::map<TControl, std::string> fTexts;
    bool fPauseDown = false;
    bool fSearchDown = false;
    bool fInterrupted = false;
    bool fProgressShown = false;
    std::function<void()> fOnInterrupt;
    std::chrono::steady_clock::time_point fLastDraw{};
};

// Blocks SIGINT for the process, so that Ctrl-C stays pending until the
// event pump takes it up; restores the previous mask on destruction.
class TInterruptGuard {
public:
    TInterruptGuard();
    ~TInterruptGuard();
    TInterruptGuard(const TInterruptGuard&) = delete;
    TInterruptGuard& operator=(const TInterruptGuard&) = delete;

private:
    sigset_t fOld;
    struct sigaction fOldAction {};
};

// True (and consumed) when a SIGINT is pending.
bool TakePendingInterrupt();

}  // namespace quillomar::cli

#include "ConsoleWindow.h"

#include <csignal>
#include <ctime>

namespace quillomar::cli {

TConsoleWindow::TConsoleWindow(std::FILE* aLog, std::FILE* aProgress) : fLog(aLog), fProgress(aProgress) {
    fTexts[TControl::lblSibiles] = "???";
    fTexts[TControl::lblSibilesAll] = "???";
    fTexts[TControl::edtFirst] = "2";
}

TConsoleWindow::~TConsoleWindow() { EndProgress(); }

void TConsoleWindow::SetText(TControl aControl, const std::string& aText) { fTexts[aControl] = aText; }

std::string TConsoleWindow::GetText(TControl aControl) {
    auto lIt = fTexts.find(aControl);
    return lIt == fTexts.end() ? std::string() : lIt->second;
}

void TConsoleWindow::AddLogLine(const std::string& aLine) {
    if (!fLog) return;
    std::fwrite(aLine.data(), 1, aLine.size(), fLog);
    std::fputc('\n', fLog);
}

void TConsoleWindow::ProcessMessages() {
    if (TakePendingInterrupt()) {
        fInterrupted = true;
        if (fOnInterrupt) fOnInterrupt();
    }
    if (fProgress) {
        auto lNow = std::chrono::steady_clock::now();
        if (lNow - fLastDraw >= std::chrono::milliseconds(100)) {
            fLastDraw = lNow;
            DrawProgress();
        }
    }
}

void TConsoleWindow::DrawProgress() {
    const std::string& lGap = fTexts[TControl::lblMaxGap];
    std::fprintf(fProgress, "\r\x1b[K%s%s%s", fTexts[TControl::lblCurrentPrime].c_str(),
                 lGap.empty() ? "" : "  largest difference ", lGap.c_str());
    std::fflush(fProgress);
    fProgressShown = true;
}

void TConsoleWindow::EndProgress() {
    if (fProgress && fProgressShown) {
        std::fputs("\r\x1b[K", fProgress);
        std::fflush(fProgress);
        fProgressShown = false;
    }
}

TInterruptGuard::TInterruptGuard() {
    sigset_t lSet;
    sigemptyset(&lSet);
    sigaddset(&lSet, SIGINT);
    sigprocmask(SIG_BLOCK, &lSet, &fOld);
    // An inherited "ignore" (a background job of a script) would discard
    // the signal instead of leaving it pending for the pump.
    struct sigaction lDefault {};
    lDefault.sa_handler = SIG_DFL;
    sigemptyset(&lDefault.sa_mask);
    sigaction(SIGINT, &lDefault, &fOldAction);
}

TInterruptGuard::~TInterruptGuard() {
    TakePendingInterrupt();  // a Ctrl-C after the last pump: the work is done anyway
    sigaction(SIGINT, &fOldAction, nullptr);
    sigprocmask(SIG_SETMASK, &fOld, nullptr);
}

bool TakePendingInterrupt() {
    sigset_t lPending;
    sigemptyset(&lPending);
    if (sigpending(&lPending) != 0 || !sigismember(&lPending, SIGINT)) return false;
    sigset_t lSet;
    sigemptyset(&lSet);
    sigaddset(&lSet, SIGINT);
    const struct timespec lNoWait {0, 0};
    return sigtimedwait(&lSet, nullptr, &lNoWait) == SIGINT;
}

}  // namespace quillomar::cli

// The analysis state of the window and every handler's logic: loading the
// prime list, the balance step and the calculation run, the sibling search,
// prime navigation and the even-number listing. It acts on the window only
// through TWindowOps.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "BalanceStep.h"
#include "LineGuard.h"
#include "PrimeList.h"
#include "TextFile.h"
#include "WindowOps.h"

namespace quillomar {

class TAnalysis {
public:
    // aDirectory is where the report files live ("." for the current one);
    // the input "primes.txt" is looked up there too.
    explicit TAnalysis(TWindowOps& aWindow, std::string aDirectory = ".");
    TAnalysis(const TAnalysis&) = delete;
    TAnalysis& operator=(const TAnalysis&) = delete;

    // Window creation: counters, then the report files with their headers.
    void FormCreate();
    // Appends the numbers of the named file to fPrimes.
    void LoadPrimes(const std::string& aPrimesFileName);

    // One balance step for the prime at fCurrentIndex.
    void CalculateNextPrime();
    // Balance steps until Pause is down or the list is exhausted.
    void CalculatePrimes();

    void btnStartClick();
    void btnPauseClick();
    void btnSearchClick();
    void btnLeftClick();
    void btnRightClick();
    void btnParzysteClick();

    // Two-level sibling search and its display.
    void SearchiSibilings(int32_t aFirstNumber);
    // The later analysed primes whose pure flow begins with that of aFirstNumber.
    TPrimeList SearchSibil(int32_t aFirstNumber);
    // The even-number listing loop.
    void CalculateOdds();

    // Read access for the window, the command line and the tests.
    int32_t CurrentIndex() const noexcept { return fCurrentIndex; }
    int64_t MaxGap() const noexcept { return fMaxGap; }
    const TPrimeList& Primes() const noexcept { return fPrimes; }
    int64_t OddIndex() const noexcept { return fOddIndex; }
    bool SearchBreak() const noexcept { return fSearchBreak; }
    const std::string& Directory() const noexcept { return fDirectory; }
    // Path of a file of the working directory ("./ShortPrimes.txt").
    std::string PathOf(std::string_view aFileName) const;

private:
    struct TReportFile;
    static const TReportFile kReportFiles[8];

    void CreateReportFiles();
    // Hands the created report files to the line guard.
    void GuardReportFiles() noexcept;

    TWindowOps& fWindow;
    std::string fDirectory;

    int32_t fCurrentIndex = 1;
    int64_t fMaxGap = 0;
    TPrimeList fPrimes;
    TTextFile fShortPrimesFile;
    TTextFile fLongPrimesFile;
    TTextFile fFlowFile;
    TTextFile fPureFlowFile;
    TTextFile fFlowReverseFile;
    TTextFile fFlowUPFile;
    TTextFile fFlowDownFile;
    TTextFile fOddsFile;
    int64_t fOddIndex = 2;
    bool fSearchBreak = false;
    // True while a run loop is going on, however deep the handlers nest.
    bool fRunning = false;

    TBalanceStep fStep;
    // Cuts a line torn by an abnormal end of the program; see LineGuard.h.
    TLineGuard fLineGuard;
};

}  // namespace quillomar

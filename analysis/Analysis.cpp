#include "Analysis.h"

#include "IntConvert.h"
#include "ReportFiles.h"

namespace quillomar {

TAnalysis::TAnalysis(TWindowOps& aWindow, std::string aDirectory)
    : fWindow(aWindow), fDirectory(std::move(aDirectory)) {}

std::string TAnalysis::PathOf(std::string_view aFileName) const {
    std::string lPath = fDirectory;
    if (!lPath.empty() && lPath.back() != '/') lPath += '/';
    lPath += aFileName;
    return lPath;
}

void TAnalysis::FormCreate() {
    fMaxGap = 0;
    fCurrentIndex = 1;
    fOddIndex = 2;
    try {
        CreateReportFiles();
    } catch (...) {
        GuardReportFiles();  // the files created before the error
        throw;
    }
    GuardReportFiles();
}

// The report files in the order of their creation: variable, name, header
// (empty: none).
struct TAnalysis::TReportFile {
    TTextFile TAnalysis::*File;
    std::string_view Name;
    std::string_view Header;
};

const TAnalysis::TReportFile TAnalysis::kReportFiles[8] = {
    {&TAnalysis::fShortPrimesFile, "ShortPrimes.txt", kShortHeader},
    {&TAnalysis::fLongPrimesFile, "LongPrimes.txt", kLongHeader},
    {&TAnalysis::fFlowFile, "FlowPrimes.txt", kFlowHeader},
    {&TAnalysis::fPureFlowFile, "FlowPurePrimes.txt", {}},
    {&TAnalysis::fFlowReverseFile, "FlowReversePrimes.txt", kFlowHeader},
    {&TAnalysis::fFlowUPFile, "FlowUpPrimes.txt", kFlowHeader},
    {&TAnalysis::fFlowDownFile, "FlowDownPrimes.txt", kFlowHeader},
    {&TAnalysis::fOddsFile, "Odds.txt", {}},
};

void TAnalysis::GuardReportFiles() noexcept {
    try {
        std::vector<int> lFds;
        for (const TReportFile& lEntry : kReportFiles) {
            const TTextFile& lFile = this->*lEntry.File;
            if (lFile.HoldsLock()) lFds.push_back(lFile.LockDescriptor());
        }
        fLineGuard.Start(lFds);
    } catch (...) {
        // Without memory for the list the program runs unguarded.
    }
}

void TAnalysis::CreateReportFiles() {
    for (const TReportFile& lEntry : kReportFiles) {
        TTextFile& lFile = this->*lEntry.File;
        lFile.AssignFile(PathOf(lEntry.Name));
        lFile.Rewrite();
        if (!lEntry.Header.empty()) lFile.WriteLn(lEntry.Header);
        if (&lFile != &fOddsFile) lFile.CloseFile();  // Odds.txt stays open
    }
}

void TAnalysis::LoadPrimes(const std::string& aPrimesFileName) {
    TTextFile lPrimes;
    lPrimes.AssignFile(PathOf(aPrimesFileName));
    lPrimes.Reset();
    while (!lPrimes.Eof()) {
        const std::string lPrimeLine = lPrimes.ReadLn();
        std::string_view lRest = lPrimeLine;
        for (;;) {
            size_t lBlank = lRest.find(' ');
            std::string_view lPrime = lRest.substr(0, lBlank);
            if (!lPrime.empty()) fPrimes.Add(StrToInt(lPrime));
            if (lBlank == std::string_view::npos) break;
            lRest.remove_prefix(lBlank + 1);
        }
    }
    lPrimes.CloseFile();
}

void TAnalysis::CalculateNextPrime() {
    const int32_t lCurrentPrime = fPrimes.Items(fCurrentIndex);
    fWindow.SetText(TControl::lblCurrentPrime, std::to_string(lCurrentPrime) + " (" +
                                                   std::to_string(fCurrentIndex) + "/" +
                                                   std::to_string(fPrimes.Count()) + ")");
    const TBalanceRecord& r = fStep.Run(fPrimes, fCurrentIndex);

    const int64_t lDifference = r.Difference();
    const int64_t lGap = lDifference < 0 ? -lDifference : lDifference;
    if (lGap > fMaxGap) fMaxGap = lGap;

    const std::string lShort = ShortRecord(r.Prime, lDifference, r.Equals);
    fWindow.AddLogLine(lShort);
    WriteToFile(fShortPrimesFile, lShort);

    const std::string lLong = lShort + "|";
    WriteToFile(fLongPrimesFile, lLong, r.Upper);
    WriteToFile(fLongPrimesFile, kContinuation, r.Lower);

    // The pan of the last placement, that of the first entry, picks the file.
    TTextFile& lUpOrDown = r.Flow.back() == 'v' ? fFlowDownFile : fFlowUPFile;
    WriteToFile(fFlowFile, lLong, r.FlowSign);
    WriteToFile(lUpOrDown, lLong, r.FlowSign);
    WriteToFile(fFlowReverseFile, lLong, r.ReverseFlowSign);
    WriteToFile(fFlowFile, kContinuation, r.Flow);
    WriteToFile(lUpOrDown, kContinuation, r.Flow);
    WriteToFile(fFlowReverseFile, kContinuation, r.ReverseFlow);
    WriteToFile(fPureFlowFile, r.ReverseFlow);

    fWindow.ProcessMessages();
    fWindow.SetText(TControl::lblMaxGap, std::to_string(fMaxGap));
}

void TAnalysis::CalculatePrimes() {
    // A Start handled in an event pump of a running step (Pause and Start
    // clicked in quick succession) finds the run going: the loop already
    // running carries on, as Start has released Pause. A second loop would
    // analyse the step's prime again, its index not yet advanced.
    if (fRunning) return;
    fRunning = true;
    struct TRunningReset {
        bool& Flag;
        ~TRunningReset() { Flag = false; }
    } lReset{fRunning};
    for (;;) {
        if (fWindow.IsPauseDown()) break;
        if (fPrimes.Count() > fCurrentIndex) {
            CalculateNextPrime();
            ++fCurrentIndex;
        } else {
            break;
        }
    }
    fWindow.SetLogVisible(true);
}

void TAnalysis::btnStartClick() {
    fWindow.SetEnabled(TControl::btnStart, false);
    fWindow.SetLogVisible(false);
    if (fPrimes.Count() == 0) {
        fWindow.SetText(TControl::lblCurrentPrime, "wczytuję");
        fWindow.ProcessMessages();
        // A Start nested in that pump may have loaded the list already.
        if (fPrimes.Count() == 0) LoadPrimes("primes.txt");
    }
    CalculatePrimes();
}

void TAnalysis::btnPauseClick() {
    fWindow.SetEnabled(TControl::btnStart, true);
    fWindow.SetEnabled(TControl::btnParzyste, true);
    fWindow.SetLogVisible(true);
}

}  // namespace quillomar

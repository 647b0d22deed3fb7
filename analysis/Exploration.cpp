// The exploration tools: the sibling search, stepping the number field
// through the prime list, and the even-number listing.
#include "Exploration.h"

#include "Analysis.h"
#include "IntConvert.h"
#include "ReportFiles.h"
#include "SiblingSearch.h"

namespace quillomar {

std::string NextOddsLine(int64_t& aOddIndex) {
    std::string S;
    for (int k = 1; k <= 10; ++k) {
        S += " " + std::to_string(aOddIndex);
        aOddIndex += 2;
    }
    return S;
}

void TAnalysis::btnSearchClick() {
    if (fWindow.IsSearchDown()) {
        fSearchBreak = false;
        const std::string lText = fWindow.GetText(TControl::edtFirst);
        if (auto lFirstNumber = TryStrToInt(lText)) SearchiSibilings(*lFirstNumber);
    } else {
        fSearchBreak = true;
    }
}

TPrimeList TAnalysis::SearchSibil(int32_t aFirstNumber) {
    const int32_t lIndex = fPrimes.IndexOf(aFirstNumber);
    // A handle of the search's own: appends of a run started from one of
    // its pumps neither close it nor collide with it. It is closed when
    // the search returns, whichever way.
    TSiblingSearch lSearch(fPrimes, fWindow, PathOf("FlowPurePrimes.txt"));
    // A number that is not in the list has no line and no siblings. The
    // stop flag is seen here, before the first pump of the search.
    if (lIndex < 0 || fSearchBreak) return TPrimeList();
    return lSearch.Siblings(lIndex, false);
}

void TAnalysis::SearchiSibilings(int32_t aFirstNumber) {
    fWindow.SetText(TControl::lblSibiles, std::to_string(aFirstNumber));
    fWindow.SetText(TControl::edtSibiles, "");
    fWindow.ProcessMessages();
    // One pass over the file finds the siblings and prepares every
    // sibling's own count; the second level then only looks them up.
    const int32_t lIndex = fPrimes.IndexOf(aFirstNumber);
    TSiblingSearch lSearch(fPrimes, fWindow, PathOf("FlowPurePrimes.txt"));
    TPrimeList lSibiles;
    if (lIndex >= 0 && !fSearchBreak) lSibiles = lSearch.Siblings(lIndex, true);
    fWindow.SetText(TControl::lblSibiles,
                    std::to_string(aFirstNumber) + "(" + std::to_string(lSibiles.Count()) + ")");
    std::string S;
    for (int32_t x : lSibiles) S += std::to_string(x) + ";";
    fWindow.SetText(TControl::lblSibilesAll, S);
    for (int32_t lCurrentFirstNumber : lSibiles) {
        if (fSearchBreak) break;
        fWindow.ProcessMessages();
        // A stop asked for in that pump leaves this sibling without siblings.
        const int32_t lCount = fSearchBreak ? 0 : lSearch.Count(lCurrentFirstNumber);
        fWindow.SetText(TControl::edtSibiles, fWindow.GetText(TControl::edtSibiles) +
                                                  std::to_string(lCurrentFirstNumber) + "(" +
                                                  std::to_string(lCount) + ");");
    }
}

void TAnalysis::btnLeftClick() {
    auto lFirstNumber = TryStrToInt(fWindow.GetText(TControl::edtFirst));
    if (!lFirstNumber) return;
    const int32_t lIndex = fPrimes.IndexOf(*lFirstNumber);
    if (lIndex > 0) fWindow.SetText(TControl::edtFirst, std::to_string(fPrimes.Items(lIndex - 1)));
}

void TAnalysis::btnRightClick() {
    auto lFirstNumber = TryStrToInt(fWindow.GetText(TControl::edtFirst));
    if (!lFirstNumber) return;
    const int32_t lIndex = fPrimes.IndexOf(*lFirstNumber);
    if (lIndex >= 0 && lIndex + 1 < fPrimes.Count()) {
        fWindow.SetText(TControl::edtFirst, std::to_string(fPrimes.Items(lIndex + 1)));
    }
}

void TAnalysis::btnParzysteClick() {
    fWindow.SetEnabled(TControl::btnParzyste, false);
    fWindow.SetLogVisible(false);
    CalculateOdds();
}

void TAnalysis::CalculateOdds() {
    while (!fWindow.IsPauseDown()) {
        const int64_t lLineStart = fOddIndex;
        const std::string S = NextOddsLine(fOddIndex);
        try {
            WriteToFile(fOddsFile, S);
        } catch (...) {
            // The line did not reach the file: the next press lists its
            // numbers again instead of leaving them out.
            fOddIndex = lLineStart;
            throw;
        }
        fWindow.SetText(TControl::lblCurrentPrime, std::to_string(fOddIndex));
        fWindow.ProcessMessages();
    }
    fWindow.SetLogVisible(true);
}

}  // namespace quillomar

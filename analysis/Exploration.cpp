// The exploration tools: the sibling search, stepping the number field
// through the prime list, and the even-number listing.
#include "Analysis.h"
#include "IntConvert.h"
#include "ReportFiles.h"

namespace quillomar {

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
    TPrimeList Result;
    int32_t lIndex = fPrimes.IndexOf(aFirstNumber);
    // A handle of the search's own: appends of a run started from one of
    // its pumps neither close it nor collide with it.
    TTextFile lFile;
    lFile.AssignFile(PathOf("FlowPurePrimes.txt"));
    lFile.Reset();
    if (lIndex < 0) return Result;  // not in the list: no siblings
    std::string s;
    for (int32_t i = 0; i < lIndex; ++i) s = lFile.ReadLn();
    if (fSearchBreak) return Result;
    const std::string lPattern = s;
    ++lIndex;
    while (!lFile.Eof()) {
        fWindow.ProcessMessages();
        s = lFile.ReadLn();
        if (s.starts_with(lPattern)) {
            Result.Add(fPrimes.Items(lIndex));
        }
        ++lIndex;
    }
    lFile.CloseFile();
    return Result;
}

void TAnalysis::SearchiSibilings(int32_t aFirstNumber) {
    fWindow.SetText(TControl::lblSibiles, std::to_string(aFirstNumber));
    fWindow.SetText(TControl::edtSibiles, "");
    fWindow.ProcessMessages();
    const TPrimeList lSibiles = SearchSibil(aFirstNumber);
    fWindow.SetText(TControl::lblSibiles,
                    std::to_string(aFirstNumber) + "(" + std::to_string(lSibiles.Count()) + ")");
    std::string S;
    for (int32_t x : lSibiles) S += std::to_string(x) + ";";
    fWindow.SetText(TControl::lblSibilesAll, S);
    for (int32_t lCurrentFirstNumber : lSibiles) {
        if (fSearchBreak) break;
        fWindow.ProcessMessages();
        const TPrimeList lSibilesTemp = SearchSibil(lCurrentFirstNumber);
        fWindow.SetText(TControl::edtSibiles, fWindow.GetText(TControl::edtSibiles) +
                                                  std::to_string(lCurrentFirstNumber) + "(" +
                                                  std::to_string(lSibilesTemp.Count()) + ");");
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
        std::string S;
        for (int k = 1; k <= 10; ++k) {
            S += " " + std::to_string(fOddIndex);
            fOddIndex += 2;
        }
        WriteToFile(fOddsFile, S);
        fWindow.SetText(TControl::lblCurrentPrime, std::to_string(fOddIndex));
        fWindow.ProcessMessages();
    }
    fWindow.SetLogVisible(true);
}

}  // namespace quillomar

// The sibling search read the plain way: the file from its start once for
// the number and once more for every sibling, one event pump per line
// read. It is the reference the program's search must agree with.
#pragma once

#include <string>

#include "PrimeList.h"
#include "TextFile.h"
#include "WindowOps.h"

namespace quillomar::test {

class TPlainSearch {
public:
    TPlainSearch(const TPrimeList& aPrimes, TWindowOps& aWindow, std::string aPath, bool& aSearchBreak)
        : fPrimes(aPrimes), fWindow(aWindow), fPath(std::move(aPath)), fSearchBreak(aSearchBreak) {}

    TPrimeList SearchSibil(int32_t aFirstNumber) {
        TPrimeList Result;
        int32_t lIndex = fPrimes.IndexOf(aFirstNumber);
        TTextFile lFile;
        lFile.AssignFile(fPath);
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
            if (s.starts_with(lPattern)) Result.Add(fPrimes.Items(lIndex));
            ++lIndex;
        }
        lFile.CloseFile();
        return Result;
    }

    void SearchiSibilings(int32_t aFirstNumber) {
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

private:
    const TPrimeList& fPrimes;
    TWindowOps& fWindow;
    std::string fPath;
    bool& fSearchBreak;
};

}  // namespace quillomar::test

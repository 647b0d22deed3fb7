// What the report files must hold when a run stops part way. Built from the
// files of an undisturbed run over the same list: each file is cut into its
// header and one chunk of lines per balance step, and a step's appends are
// known in order, so the state after a failure at any append, or after a
// kill between two appends, can be spelt out exactly.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "Analysis.h"
#include "FakeWindow.h"
#include "Process.h"
#include "TempDir.h"

namespace quillomar::test {

class TRunModel {
public:
    // aFiles: the report files of an undisturbed run, by name.
    explicit TRunModel(std::map<std::string, std::string> aFiles) : fFiles(std::move(aFiles)) {
        // A step's flow ends with "v" when its last placement went to the
        // lower pan: its continuation line in FlowPrimes.txt tells.
        const std::vector<std::string> lFlow = Lines(fFiles.at("FlowPrimes.txt"));
        for (size_t i = 2; i < lFlow.size(); i += 2) fDown.push_back(lFlow[i].ends_with("v\r\n"));
        for (const std::string& lName : ReportFileNames()) {
            const std::vector<std::string> lLines = Lines(fFiles.at(lName));
            size_t lLine = HasHeader(lName) ? 1 : 0;
            std::vector<size_t>& lEnds = fEnds[lName];
            lEnds.push_back(ByteLength(lLines, lLine));
            for (int lStep = 1; lStep <= Steps(); ++lStep) {
                lLine += static_cast<size_t>(LinesPerStep(lName, lStep));
                lEnds.push_back(ByteLength(lLines, lLine));
            }
        }
    }

    int Steps() const { return static_cast<int>(fDown.size()); }
    const std::string& File(const std::string& aName) const { return fFiles.at(aName); }

    // The files a step appends to, in the order of its appends.
    std::vector<std::string> Appends(int aStep) const {
        const char* lUpDown = fDown.at(static_cast<size_t>(aStep - 1)) ? "FlowDownPrimes.txt" : "FlowUpPrimes.txt";
        return {"ShortPrimes.txt", "LongPrimes.txt", "LongPrimes.txt",        "FlowPrimes.txt",
                lUpDown,           "FlowReversePrimes.txt", "FlowPrimes.txt", lUpDown,
                "FlowReversePrimes.txt", "FlowPurePrimes.txt"};
    }

    // The first step after aStep that appends to aName; 0 when none does.
    int NextStepWriting(const std::string& aName, int aStep) const {
        for (int s = aStep + 1; s <= Steps(); ++s) {
            for (const std::string& f : Appends(s)) {
                if (f == aName) return s;
            }
        }
        return 0;
    }

    // Content of aName after steps 1 .. aStep - 1 and the first aAppends
    // appends of step aStep (aStep = Steps() + 1: after the whole run).
    std::string After(const std::string& aName, int aStep, int aAppends) const {
        const std::string& lFull = fFiles.at(aName);
        if (aStep > Steps()) return lFull;
        std::string lResult = lFull.substr(0, fEnds.at(aName).at(static_cast<size_t>(aStep - 1)));
        const std::vector<std::string> lOrder = Appends(aStep);
        int lOwn = 0;
        for (int i = 0; i < aAppends; ++i) lOwn += lOrder.at(static_cast<size_t>(i)) == aName ? 1 : 0;
        const std::vector<std::string> lChunk = Lines(lFull.substr(fEnds.at(aName).at(static_cast<size_t>(aStep - 1))));
        for (int i = 0; i < lOwn; ++i) lResult += lChunk.at(static_cast<size_t>(i));
        return lResult;
    }

    // The bytes of aName from the first line of step aStep on.
    std::string FromStep(const std::string& aName, int aStep) const {
        return fFiles.at(aName).substr(fEnds.at(aName).at(static_cast<size_t>(aStep - 1)));
    }

    // The lines of aText, each with its CR LF.
    static std::vector<std::string> Lines(const std::string& aText) {
        std::vector<std::string> lLines;
        size_t lStart = 0;
        while (lStart < aText.size()) {
            size_t lEnd = aText.find("\r\n", lStart);
            lEnd = lEnd == std::string::npos ? aText.size() : lEnd + 2;
            lLines.push_back(aText.substr(lStart, lEnd - lStart));
            lStart = lEnd;
        }
        return lLines;
    }

private:
    static bool HasHeader(const std::string& aName) {
        return aName != "FlowPurePrimes.txt" && aName != "Odds.txt";
    }
    int LinesPerStep(const std::string& aName, int aStep) const {
        int n = 0;
        for (const std::string& f : Appends(aStep)) n += f == aName ? 1 : 0;
        return n;
    }
    static size_t ByteLength(const std::vector<std::string>& aLines, size_t aCount) {
        size_t n = 0;
        for (size_t i = 0; i < aCount && i < aLines.size(); ++i) n += aLines[i].size();
        return n;
    }

    std::map<std::string, std::string> fFiles;
    std::map<std::string, std::vector<size_t>> fEnds;  // per file: bytes through step 0, 1, 2, ...
    std::vector<bool> fDown;                            // per step: its flow ends with "v"
};

// Empty when aGot equals aWanted, else the first line where they differ:
// keeps the report of a failure short when the files are large.
inline std::string FirstDifference(const std::string& aGot, const std::string& aWanted) {
    if (aGot == aWanted) return {};
    const std::vector<std::string> lGot = TRunModel::Lines(aGot), lWanted = TRunModel::Lines(aWanted);
    size_t i = 0;
    while (i < lGot.size() && i < lWanted.size() && lGot[i] == lWanted[i]) ++i;
    auto lShown = [](const std::vector<std::string>& aLines, size_t aIndex) {
        return aIndex < aLines.size() ? "\"" + aLines[aIndex].substr(0, 80) + "\"" : std::string("(end)");
    };
    return "line " + std::to_string(i + 1) + ": " + lShown(lGot, i) + ", wanted " + lShown(lWanted, i);
}

// The report files of a directory, by name (a missing file reads empty).
inline std::map<std::string, std::string> ReadReportFiles(const std::string& aDirectory) {
    std::map<std::string, std::string> lFiles;
    for (const std::string& lName : ReportFileNames()) lFiles[lName] = ReadFile(aDirectory + "/" + lName);
    return lFiles;
}

// The report files of an undisturbed run over aPrimes, through the library.
inline std::map<std::string, std::string> LibraryRun(const std::string& aPrimes) {
    TTempDir lDir;
    lDir.Write("primes.txt", aPrimes);
    TFakeWindow lWindow;
    {
        TAnalysis lAnalysis(lWindow, lDir.Path());
        lAnalysis.FormCreate();
        lAnalysis.btnStartClick();
    }
    return ReadReportFiles(lDir.Path());
}

inline TRunModel ReferenceRun(const std::string& aPrimes) { return TRunModel(LibraryRun(aPrimes)); }

}  // namespace quillomar::test

// The one-pass sibling search against the plain one that reads the file
// once per sibling: the same texts, the same errors, the same stops, over
// random lists and random files, and over the files of a real run.
#include "SiblingSearch.h"

#include <fstream>
#include <random>
#include <set>

#include <gtest/gtest.h>

#include "Analysis.h"
#include "Errors.h"
#include "FakeWindow.h"
#include "PlainSearch.h"
#include "TempDir.h"

namespace quillomar {
namespace {

using test::TFakeWindow;
using test::TPlainSearch;
using test::TTempDir;

void AppendBytes(const std::string& aPath, const std::string& aBytes) {
    std::ofstream lOut(aPath, std::ios::binary | std::ios::app);
    lOut << aBytes;
}

// What a search left behind: the three texts and the error, if any.
struct TOutcome {
    std::string Sibiles, SibilesAll, EdtSibiles, Error;
    bool operator==(const TOutcome&) const = default;
};
std::ostream& operator<<(std::ostream& aOut, const TOutcome& o) {
    return aOut << "[" << o.Sibiles << "] [" << o.SibilesAll << "] [" << o.EdtSibiles << "] [" << o.Error << "]";
}

// Something done once inside a search's pumps: a click on Search, or lines
// appended to the file.
struct TEvent {
    enum TKind { None, ClickAtFirstPump, ClickBeforeSibling, AppendBeforeSibling } Kind = None;
    int Sibling = 0;     // the sibling whose pump it waits for
    std::string Lines;   // the bytes appended
};

// Installs aEvent on aWindow; aClick releases the toggle, aAppend appends.
void Arm(TFakeWindow& aWindow, const TEvent& aEvent, const std::function<void()>& aClick,
         const std::function<void(const std::string&)>& aAppend) {
    if (aEvent.Kind == TEvent::None) {
        aWindow.EveryPump = nullptr;
        return;
    }
    const int lFirstPump = aWindow.Pumps + 1;
    aWindow.EveryPump = [&aWindow, aEvent, aClick, aAppend, lFirstPump, lDone = false]() mutable {
        if (lDone) return;
        bool lDue;
        if (aEvent.Kind == TEvent::ClickAtFirstPump) {
            lDue = aWindow.Pumps == lFirstPump;
        } else {
            const std::string& lEdt = aWindow.Texts[TControl::edtSibiles];
            lDue = aWindow.Texts[TControl::lblSibiles].find('(') != std::string::npos &&
                   std::count(lEdt.begin(), lEdt.end(), ';') == aEvent.Sibling;
        }
        if (!lDue) return;
        lDone = true;
        if (aEvent.Kind == TEvent::AppendBeforeSibling) {
            aAppend(aEvent.Lines);
        } else {
            aClick();
        }
    };
}

void ResetTexts(TFakeWindow& aWindow) {
    aWindow.Texts[TControl::lblSibiles] = "???";
    aWindow.Texts[TControl::lblSibilesAll] = "???";
    aWindow.Texts[TControl::edtSibiles] = "";
}

TOutcome OutcomeOf(TFakeWindow& aWindow, const std::function<void()>& aSearch) {
    TOutcome o;
    try {
        aSearch();
    } catch (const std::exception& e) {
        o.Error = ErrorBoxText(e.what());
    }
    aWindow.EveryPump = nullptr;
    o.Sibiles = aWindow.Texts[TControl::lblSibiles];
    o.SibilesAll = aWindow.Texts[TControl::lblSibilesAll];
    o.EdtSibiles = aWindow.Texts[TControl::edtSibiles];
    return o;
}

std::string ListText(const TPrimeList& aList) {
    std::string s;
    for (int32_t x : aList) s += std::to_string(x) + ";";
    return s;
}

// The program's search in one directory and the plain search over a copy
// of the same files in another, answering the same questions.
class TPair {
public:
    TPair(const std::string& aPrimes, const std::string& aFlow) {
        for (const TTempDir* d : {&fDirA, &fDirB}) {
            d->Write("primes.txt", aPrimes);
            d->Write("FlowPurePrimes.txt", aFlow);
        }
        fAnalysis.LoadPrimes("primes.txt");
    }

    const TPrimeList& Primes() const { return fAnalysis.Primes(); }

    // The two-level search of aNumber in both, with aEvent in their pumps.
    std::pair<TOutcome, TOutcome> Search(int32_t aNumber, const TEvent& aEvent) {
        ResetTexts(fWindowA);
        ResetTexts(fWindowB);
        fWindowA.Texts[TControl::edtFirst] = std::to_string(aNumber);
        fWindowA.SearchDown = true;
        Arm(
            fWindowA, aEvent,
            [this] {
                fWindowA.SearchDown = false;
                fAnalysis.btnSearchClick();
            },
            [this](const std::string& s) { AppendBytes(fDirA.File("FlowPurePrimes.txt"), s); });
        TOutcome a = OutcomeOf(fWindowA, [&] { fAnalysis.btnSearchClick(); });

        fBreak = false;
        Arm(
            fWindowB, aEvent, [this] { fBreak = true; },
            [this](const std::string& s) { AppendBytes(fDirB.File("FlowPurePrimes.txt"), s); });
        TOutcome b = OutcomeOf(fWindowB, [&] { fPlain.SearchiSibilings(aNumber); });
        return {a, b};
    }

    // The one-level search of aNumber in both: the list or the error.
    std::pair<std::string, std::string> SearchSibil(int32_t aNumber) {
        // A search whose number does not convert only clears the stop flag.
        fWindowA.Texts[TControl::edtFirst] = "-";
        fWindowA.SearchDown = true;
        fAnalysis.btnSearchClick();
        fBreak = false;
        auto lRun = [](const std::function<TPrimeList()>& f) {
            try {
                return ListText(f());
            } catch (const std::exception& e) {
                return ErrorBoxText(e.what());
            }
        };
        return {lRun([&] { return fAnalysis.SearchSibil(aNumber); }), lRun([&] { return fPlain.SearchSibil(aNumber); })};
    }

private:
    TTempDir fDirA, fDirB;
    TFakeWindow fWindowA, fWindowB;
    TAnalysis fAnalysis{fWindowA, fDirA.Path()};
    bool fBreak = false;
    TPlainSearch fPlain{fAnalysis.Primes(), fWindowB, fDirB.File("FlowPurePrimes.txt"), fBreak};
};

// Random pure-flow files: lines that often extend earlier ones, so that
// siblings are common, with line ends of both kinds, a missing final line
// end, lone CRs, Ctrl-Z, blanks, letters and bytes outside ASCII.
std::string RandomFlowLine(std::mt19937& aRng, const std::vector<std::string>& aEarlier) {
    auto lPick = [&](int n) { return static_cast<int>(aRng() % static_cast<unsigned>(n)); };
    std::string s;
    const int lKind = lPick(10);
    if (lKind < 6 && !aEarlier.empty()) {
        const std::string& lBase = aEarlier[static_cast<size_t>(lPick(static_cast<int>(aEarlier.size())))];
        s = lBase.substr(0, static_cast<size_t>(lPick(static_cast<int>(lBase.size()) + 1)));
        for (int i = lPick(4); i > 0; --i) s += lPick(2) ? '^' : 'v';
    } else if (lKind < 9) {
        for (int i = lPick(7); i > 0; --i) s += lPick(2) ? '^' : 'v';
    } else {
        static const char kOdd[] = {'^', 'v', 'V', ' ', '\r', '\x1A', '\xE9', '\xB9', '\x81'};
        for (int i = lPick(5); i > 0; --i) s += kOdd[lPick(sizeof kOdd)];
    }
    return s;
}

std::string RandomFlowFile(std::mt19937& aRng, int aLines) {
    std::vector<std::string> lLines;
    std::string lBytes;
    for (int k = 0; k < aLines; ++k) {
        lLines.push_back(RandomFlowLine(aRng, lLines));
        lBytes += lLines.back();
        lBytes += aRng() % 5 ? "\r\n" : "\n";
    }
    if (!lBytes.empty() && aRng() % 4 == 0) lBytes.resize(lBytes.size() - (lBytes.back() == '\n' ? 1 : 0));
    return lBytes;
}

// Lists of four kinds: ascending primes, ascending with a repeated entry,
// small numbers with many repeats in any order, distinct numbers descending.
std::vector<int32_t> RandomList(std::mt19937& aRng) {
    static const int32_t kPrimes[] = {2,  3,  5,  7,  11, 13, 17, 19, 23, 29, 31, 37, 41, 43,
                                      47, 53, 59, 61, 67, 71, 73, 79, 83, 89, 97, 101, 103};
    const int m = 1 + static_cast<int>(aRng() % 24);
    std::vector<int32_t> v;
    switch (aRng() % 4) {
        case 0: v.assign(kPrimes, kPrimes + m); break;
        case 1:
            v.assign(kPrimes, kPrimes + m);
            if (m > 1) v[1 + aRng() % static_cast<unsigned>(m - 1)] = v[aRng() % static_cast<unsigned>(m)];
            break;
        case 2:
            for (int i = 0; i < m; ++i) v.push_back(static_cast<int32_t>(aRng() % 8) - 1);
            break;
        default:
            for (int i = 0; i < m; ++i) v.push_back(100 - 3 * i);
            break;
    }
    return v;
}

std::string PrimesText(const std::vector<int32_t>& aList) {
    std::string s;
    for (int32_t x : aList) s += std::to_string(x) + " ";
    return s;
}

TEST(SiblingSearchDifferential, RandomListsAndFilesGiveThePlainSearchesResults) {
    int lCompared = 0;
    for (uint32_t lSeed = 1; lSeed <= 400; ++lSeed) {
        std::mt19937 lRng(lSeed);
        const std::vector<int32_t> lList = RandomList(lRng);
        const int lLines = static_cast<int>(lRng() % static_cast<unsigned>(lList.size() + 3));
        TPair lPair(PrimesText(lList), RandomFlowFile(lRng, lLines));

        std::set<int32_t> lNumbers(lList.begin(), lList.end());
        lNumbers.insert(1000);  // not in the list
        for (int32_t lNumber : lNumbers) {
            SCOPED_TRACE("seed " + std::to_string(lSeed) + ", number " + std::to_string(lNumber));
            auto [lFast, lPlain] = lPair.SearchSibil(lNumber);
            EXPECT_EQ(lFast, lPlain);

            TEvent lEvent;
            switch (lRng() % 5) {
                case 0: break;
                case 1: lEvent.Kind = TEvent::ClickAtFirstPump; break;
                case 2:
                    lEvent.Kind = TEvent::ClickBeforeSibling;
                    lEvent.Sibling = static_cast<int>(lRng() % 4);
                    break;
                default: {
                    lEvent.Kind = TEvent::AppendBeforeSibling;
                    lEvent.Sibling = static_cast<int>(lRng() % 3);
                    lEvent.Lines = RandomFlowFile(lRng, 1 + static_cast<int>(lRng() % 3));
                    if (!lEvent.Lines.ends_with('\n')) lEvent.Lines += "\r\n";
                    break;
                }
            }
            // An append lands in both files alike: the later questions see it in both.
            auto [a, b] = lPair.Search(lNumber, lEvent);
            EXPECT_EQ(a, b) << "event " << lEvent.Kind << " at sibling " << lEvent.Sibling;
            ++lCompared;
        }
    }
    EXPECT_GT(lCompared, 0);
}

TEST(SiblingSearchDifferential, FilesOfARealRunGiveThePlainSearchesResults) {
    // The first 150 primes, analysed by the run itself.
    std::vector<int32_t> lPrimes;
    for (int32_t n = 2; lPrimes.size() < 150; ++n) {
        bool lPrime = true;
        for (int32_t d = 2; d * d <= n && lPrime; ++d) lPrime = n % d != 0;
        if (lPrime) lPrimes.push_back(n);
    }
    TTempDir lRunDir;
    TFakeWindow lRunWindow;
    TAnalysis lRun(lRunWindow, lRunDir.Path());
    lRunDir.Write("primes.txt", PrimesText(lPrimes));
    lRun.FormCreate();
    lRun.btnStartClick();
    ASSERT_EQ(lRun.CurrentIndex(), 150);

    TPair lPair(PrimesText(lPrimes), lRunDir.Read("FlowPurePrimes.txt"));
    for (int32_t lNumber : lPrimes) {
        SCOPED_TRACE(lNumber);
        auto [a, b] = lPair.Search(lNumber, TEvent{});
        EXPECT_EQ(a, b);
    }
}

// The search itself, pumping after every line read.
TEST(SiblingSearchPass, LinesAppendedDuringThePassAreRead) {
    TTempDir lDir;
    TFakeWindow lWindow;
    TPrimeList lPrimes;
    for (int32_t p : {2, 3, 5, 7, 11, 13}) lPrimes.Add(p);
    const std::string lPath = lDir.File("FlowPurePrimes.txt");
    lDir.Write("FlowPurePrimes.txt", "v^\r\nvv^\r\n");
    lWindow.AtPump[1] = [&] { AppendBytes(lPath, "v^v\r\n^\r\n"); };
    TSiblingSearch lSearch(lPrimes, lWindow, lPath, TSiblingSearch::TClock::duration::zero());
    EXPECT_EQ(ListText(lSearch.Siblings(1, true)), "7;");
    EXPECT_EQ(lSearch.LinesRead(), 4);
    // Counted over the file as it stands when asked.
    EXPECT_EQ(lSearch.Count(7), 0);
    AppendBytes(lPath, "v^v^\r\n");
    EXPECT_EQ(lSearch.Count(7), 1);
}

}  // namespace
}  // namespace quillomar

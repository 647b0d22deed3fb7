// The exploration tools through the fake window: the sibling search with
// its stop rules, the arrows, and the even-number listing.
#include <algorithm>
#include <cstdint>
#include <filesystem>

#include <gtest/gtest.h>

#include "Analysis.h"
#include "Errors.h"
#include "Exploration.h"
#include "ErrorOf.h"
#include "FakeWindow.h"
#include "TempDir.h"

namespace quillomar {
namespace {

using test::ErrorOf;
using test::TFakeWindow;
using test::TTempDir;

constexpr const char* kWorkedPrimes = "2 3 5 7 11 13 17 19 23 29 31 37 41 43 47";

// Descriptors open in this process.
int OpenDescriptors() {
    int n = 0;
    for (const auto& lEntry : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)lEntry;
        ++n;
    }
    return n;
}

class ExplorationTest : public ::testing::Test {
protected:
    // Start with aPrimes; the run goes to the end unless something in the
    // pumps presses Pause.
    void Run(const std::string& aPrimes) {
        fDir.Write("primes.txt", aPrimes);
        fAnalysis.FormCreate();
        fAnalysis.btnStartClick();
    }
    // A click on the Search toggle: it changes its state, then its handler runs.
    void ClickSearch() {
        fWindow.SearchDown = !fWindow.SearchDown;
        fAnalysis.btnSearchClick();
    }
    // Types aText into the number field and presses Search (releasing it
    // first when an earlier search left it pressed).
    void Search(const std::string& aText) {
        if (fWindow.SearchDown) ClickSearch();
        fWindow.Texts[TControl::edtFirst] = aText;
        ClickSearch();
    }
    std::string Text(TControl aControl) { return fWindow.Texts[aControl]; }
    std::vector<std::string> SearchTexts() {
        return {Text(TControl::lblSibiles), Text(TControl::lblSibilesAll), Text(TControl::edtSibiles)};
    }

    TTempDir fDir;
    TFakeWindow fWindow;
    TAnalysis fAnalysis{fWindow, fDir.Path()};
};

// --- Sibling search ---------------------------------------------------------

TEST_F(ExplorationTest, WorkedRunShowsTheSiblingTable) {
    Run(kWorkedPrimes);
    struct TRow {
        const char *Number, *Sibiles, *SibilesAll, *EdtSibiles;
    };
    const TRow kTable[] = {
        {"3", "3(5)", "11;13;23;29;43;", "11(1);13(1);23(0);29(0);43(0);"},
        {"5", "5(1)", "17;", "17(0);"},
        {"7", "7(2)", "19;37;", "19(1);37(0);"},
        {"13", "13(1)", "43;", "43(0);"},
        {"47", "47(0)", "", ""},
        {"2", "2(14)", "3;5;7;11;13;17;19;23;29;31;37;41;43;47;",
         "3(5);5(1);7(2);11(1);13(1);17(0);19(1);23(0);29(0);31(1);37(0);41(0);43(0);47(0);"},
    };
    for (const TRow& r : kTable) {
        SCOPED_TRACE(r.Number);
        Search(r.Number);
        EXPECT_EQ(SearchTexts(), (std::vector<std::string>{r.Sibiles, r.SibilesAll, r.EdtSibiles}));
        EXPECT_TRUE(fWindow.SearchDown) << "a search that ends by itself leaves the toggle pressed";
    }
}

TEST_F(ExplorationTest, NumbersWithoutSiblings) {
    // Pause in the third step (pump 1 is the load's): lines for 3, 5 and 7 only.
    fWindow.AtPump[4] = [&] { fWindow.PauseDown = true; };
    Run(kWorkedPrimes);
    ASSERT_EQ(fAnalysis.CurrentIndex(), 4);
    struct TRow {
        const char *Number, *Sibiles;
    };
    const TRow kTable[] = {
        {"7", "7(0)"},    // the last analysed prime
        {"11", "11(0)"},  // in the list, not analysed yet
        {"4", "4(0)"},    // not in the list: no siblings (not the lines from index 0 on)
        {"-1", "-1(0)"},
    };
    for (const TRow& r : kTable) {
        SCOPED_TRACE(r.Number);
        Search(r.Number);
        EXPECT_EQ(SearchTexts(), (std::vector<std::string>{r.Sibiles, "", ""}));
    }
    // The same search with a number that does not convert changes nothing.
    Search("3");
    const auto lShown = SearchTexts();
    const size_t lHistory = fWindow.TextHistory.size();
    for (const char* lText : {"3a", "", " 3 ", "3,0"}) {
        Search(lText);
        EXPECT_EQ(SearchTexts(), lShown);
        EXPECT_TRUE(fWindow.SearchDown);
    }
    EXPECT_EQ(fWindow.TextHistory.size(), lHistory);
}

TEST_F(ExplorationTest, ClicksDuringTheSearchStopItWhereTheRulesSay) {
    Run(kWorkedPrimes);
    // The click comes at the first pump that sees the given texts.
    struct TRow {
        const char* Number;
        const char* ClickWhen;  // text of edtSibiles once the first level is shown; null: the first pump
        const char *Sibiles, *SibilesAll, *EdtSibiles;
    };
    const TRow kTable[] = {
        {"3", nullptr, "3(0)", "", ""},
        {"3", "", "3(5)", "11;13;23;29;43;", "11(0);"},
        {"3", "11(1);", "3(5)", "11;13;23;29;43;", "11(1);13(0);"},
        {"2", "3(5);5(1);", "2(14)", "3;5;7;11;13;17;19;23;29;31;37;41;43;47;", "3(5);5(1);7(0);"},
    };
    for (const TRow& r : kTable) {
        SCOPED_TRACE(std::string(r.Number) + " / " + (r.ClickWhen ? r.ClickWhen : "first pump"));
        if (fWindow.SearchDown) ClickSearch();
        fWindow.Texts[TControl::lblSibilesAll] = "earlier";
        bool lClicked = false;
        const int lFirstPump = fWindow.Pumps + 1;
        fWindow.EveryPump = [&] {
            if (lClicked) return;
            const bool lDue = r.ClickWhen ? Text(TControl::lblSibiles).find('(') != std::string::npos &&
                                                Text(TControl::edtSibiles) == r.ClickWhen
                                          : fWindow.Pumps == lFirstPump;
            if (lDue) {
                lClicked = true;
                ClickSearch();
            }
        };
        fWindow.Texts[TControl::edtFirst] = r.Number;
        ClickSearch();
        fWindow.EveryPump = nullptr;
        ASSERT_TRUE(lClicked);
        EXPECT_EQ(SearchTexts(), (std::vector<std::string>{r.Sibiles, r.SibilesAll, r.EdtSibiles}));
        EXPECT_FALSE(fWindow.SearchDown);
        EXPECT_TRUE(fAnalysis.SearchBreak());
    }
}

TEST_F(ExplorationTest, ToggleLeftPressedIsReleasedByTheNextClick) {
    Run(kWorkedPrimes);
    Search("5");
    ASSERT_TRUE(fWindow.SearchDown);
    const auto lShown = SearchTexts();
    const int lPumps = fWindow.Pumps;
    ClickSearch();  // only releases the button
    EXPECT_FALSE(fWindow.SearchDown);
    EXPECT_TRUE(fAnalysis.SearchBreak());
    EXPECT_EQ(fWindow.Pumps, lPumps);
    EXPECT_EQ(SearchTexts(), lShown);
    fWindow.Texts[TControl::edtFirst] = "7";
    ClickSearch();  // a new search
    EXPECT_FALSE(fAnalysis.SearchBreak());
    EXPECT_EQ(SearchTexts(), (std::vector<std::string>{"7(2)", "19;37;", "19(1);37(0);"}));
}

TEST_F(ExplorationTest, SearchLeavesNoFileOpenAndReportsAMissingFile) {
    Run(kWorkedPrimes);
    const int lOpen = OpenDescriptors();
    Search("3");
    EXPECT_EQ(OpenDescriptors(), lOpen);
    // Stopped in its first pump: the search returns at once.
    if (fWindow.SearchDown) ClickSearch();
    fWindow.AtPump[fWindow.Pumps + 1] = [&] { ClickSearch(); };
    ClickSearch();
    EXPECT_EQ(Text(TControl::lblSibiles), "3(0)");
    EXPECT_EQ(OpenDescriptors(), lOpen);

    std::filesystem::remove(fDir.File("FlowPurePrimes.txt"));
    for (const char* lNumber : {"3", "4"}) {
        SCOPED_TRACE(lNumber);
        EXPECT_EQ(ErrorOf([&] { Search(lNumber); }), "The specified file was not found.");
        EXPECT_EQ(Text(TControl::lblSibiles), lNumber);
        EXPECT_EQ(Text(TControl::edtSibiles), "");
        EXPECT_EQ(OpenDescriptors(), lOpen);
    }
}

TEST_F(ExplorationTest, RunStartedInsideASearchAppendsWithoutDisturbingIt) {
    // Five steps: lines for 3, 5, 7, 11 and 13.
    fWindow.AtPump[6] = [&] { fWindow.PauseDown = true; };
    Run(kWorkedPrimes);
    fAnalysis.btnPauseClick();
    ASSERT_EQ(fAnalysis.CurrentIndex(), 6);
    // Start pressed in the pump before the first sibling: the run analyses
    // the rest of the list inside that pump, appending to the file the
    // search holds open; every sibling then counts over the longer file.
    bool lStarted = false;
    fWindow.EveryPump = [&] {
        if (lStarted || Text(TControl::lblSibiles).find('(') == std::string::npos) return;
        lStarted = true;
        fWindow.PauseDown = false;
        fAnalysis.btnStartClick();
    };
    EXPECT_EQ(ErrorOf([&] { Search("3"); }), "(no error)");
    fWindow.EveryPump = nullptr;
    ASSERT_TRUE(lStarted);
    EXPECT_EQ(fAnalysis.CurrentIndex(), 15);
    EXPECT_EQ(SearchTexts(), (std::vector<std::string>{"3(2)", "11;13;", "11(1);13(1);"}));
    // And after the run the search sees the whole table.
    Search("3");
    EXPECT_EQ(SearchTexts(), (std::vector<std::string>{"3(5)", "11;13;23;29;43;", "11(1);13(1);23(0);29(0);43(0);"}));
}

TEST_F(ExplorationTest, MatchingLineWithoutAPrimeIsARangeError) {
    fDir.Write("primes.txt", "2 3 5");
    fAnalysis.LoadPrimes("primes.txt");
    // A file edited by hand: three lines, though only two primes can own one.
    fDir.Write("FlowPurePrimes.txt", "v^\r\nvv^\r\nv^v\r\n");
    EXPECT_EQ(ErrorOf([&] { Search("3"); }), "Specified argument was out of the range of valid values: index.");
    EXPECT_EQ(SearchTexts(), (std::vector<std::string>{"3", "???", ""}));
    // 5's line is vv^: the third line is no sibling of it.
    EXPECT_EQ(ErrorOf([&] { Search("5"); }), "(no error)");
    EXPECT_EQ(SearchTexts(), (std::vector<std::string>{"5(0)", "", ""}));
    // 2 has every line as a sibling, the third without a prime.
    EXPECT_EQ(ErrorOf([&] { Search("2"); }), "Specified argument was out of the range of valid values: index.");
}

// --- Prime navigation -------------------------------------------------------

TEST(PrimeNavigation, ArrowsStepThroughTheList) {
    struct TStep {
        const char* Field;
        char Arrow;  // 'L' or 'R'
        const char* Expected;
    };
    struct TCase {
        const char* Primes;
        std::vector<TStep> Steps;
    };
    const TCase kCases[] = {
        {"2 3 5", {{"2", 'L', "2"}, {"2", 'R', "3"}, {"3", 'R', "5"}, {"5", 'R', "5"}, {"5", 'L', "3"}}},
        {"2 3 5", {{"4", 'L', "4"}, {"4", 'R', "4"}, {"", 'R', ""}, {"3 ", 'R', "3 "}}},
        {"2 3 5 7 11",
         {{"7a", 'L', "7a"}, {"7a", 'R', "7a"}, {"$7", 'L', "5"}, {"x7", 'R', "11"}, {"0x7", 'L', "5"}}},
        // The same number twice: both arrows step from its first place.
        {"2 3 5 3 7", {{"3", 'R', "5"}, {"3", 'L', "2"}, {"7", 'L', "3"}, {"5", 'R', "3"}}},
        {"", {{"2", 'L', "2"}, {"2", 'R', "2"}}},  // nothing loaded
    };
    for (const TCase& c : kCases) {
        TTempDir lDir;
        TFakeWindow lWindow;
        TAnalysis lAnalysis(lWindow, lDir.Path());
        lDir.Write("primes.txt", c.Primes);
        lAnalysis.LoadPrimes("primes.txt");
        for (const TStep& s : c.Steps) {
            SCOPED_TRACE(std::string(c.Primes) + ": " + s.Field + " " + s.Arrow);
            lWindow.Texts[TControl::edtFirst] = s.Field;
            if (s.Arrow == 'L') {
                lAnalysis.btnLeftClick();
            } else {
                lAnalysis.btnRightClick();
            }
            EXPECT_EQ(lWindow.Texts[TControl::edtFirst], s.Expected);
        }
    }
}

// --- Even-number listing ----------------------------------------------------

TEST_F(ExplorationTest, ListingWritesLinesUntilPauseAndResumes) {
    fDir.Write("primes.txt", "");
    fAnalysis.FormCreate();
    bool lDisabledWhileRunning = false, lLogHiddenWhileRunning = false;
    auto lPause = [&] {
        lDisabledWhileRunning = !fWindow.IsEnabled(TControl::btnParzyste);
        lLogHiddenWhileRunning = !fWindow.LogVisible;
        fWindow.PauseDown = true;
        fAnalysis.btnPauseClick();
    };
    fWindow.AtPump[1] = lPause;
    fAnalysis.btnParzysteClick();
    EXPECT_EQ(fDir.Read("Odds.txt"), " 2 4 6 8 10 12 14 16 18 20\r\n");
    EXPECT_EQ(Text(TControl::lblCurrentPrime), "22");
    EXPECT_TRUE(lDisabledWhileRunning);
    EXPECT_TRUE(lLogHiddenWhileRunning);
    EXPECT_TRUE(fWindow.LogVisible);
    EXPECT_TRUE(fWindow.IsEnabled(TControl::btnParzyste));

    // Pressing the button again releases Pause (one radio group); the
    // listing goes on from the number the caption showed.
    fWindow.PauseDown = false;
    fWindow.AtPump[fWindow.Pumps + 2] = lPause;
    fAnalysis.btnParzysteClick();
    EXPECT_EQ(fDir.Read("Odds.txt"),
              " 2 4 6 8 10 12 14 16 18 20\r\n"
              " 22 24 26 28 30 32 34 36 38 40\r\n"
              " 42 44 46 48 50 52 54 56 58 60\r\n");
    EXPECT_EQ(Text(TControl::lblCurrentPrime), "62");
    EXPECT_EQ(fAnalysis.OddIndex(), 62);
}

TEST_F(ExplorationTest, ListingStartedInsideABalanceStepEndsFirstOnTheSamePause) {
    fDir.Write("primes.txt", kWorkedPrimes);
    fAnalysis.FormCreate();
    // The first step's pump (the second pump; the load pumps first)
    // presses the listing button; the listing's second pump presses Pause.
    fWindow.AtPump[2] = [&] { fAnalysis.btnParzysteClick(); };
    fWindow.AtPump[4] = [&] {
        fWindow.PauseDown = true;
        fAnalysis.btnPauseClick();
    };
    fAnalysis.btnStartClick();
    EXPECT_EQ(fDir.Read("Odds.txt"),
              " 2 4 6 8 10 12 14 16 18 20\r\n"
              " 22 24 26 28 30 32 34 36 38 40\r\n");
    EXPECT_EQ(fAnalysis.CurrentIndex(), 2) << "the interrupted step completes, then the run stops";
    EXPECT_EQ(fWindow.Log.size(), 1u);
    // The listing ended first: its last caption comes before the step's
    // final caption.
    const auto& h = fWindow.TextHistory;
    auto lListingEnd = std::find(h.begin(), h.end(), std::make_pair(TControl::lblCurrentPrime, std::string("42")));
    auto lStepEnd = std::find(h.begin(), h.end(), std::make_pair(TControl::lblMaxGap, std::string("1")));
    ASSERT_NE(lListingEnd, h.end());
    ASSERT_NE(lStepEnd, h.end());
    EXPECT_LT(lListingEnd - h.begin(), lStepEnd - h.begin());
    EXPECT_TRUE(fWindow.LogVisible);
    EXPECT_TRUE(fWindow.IsEnabled(TControl::btnStart));
}

TEST(OddsLine, GoesOnPastTheInt32Range) {
    int64_t lOddIndex = 2147483640;
    EXPECT_EQ(NextOddsLine(lOddIndex),
              " 2147483640 2147483642 2147483644 2147483646 2147483648"
              " 2147483650 2147483652 2147483654 2147483656 2147483658");
    EXPECT_EQ(lOddIndex, 2147483660);
    lOddIndex = 4294967290;
    EXPECT_EQ(NextOddsLine(lOddIndex),
              " 4294967290 4294967292 4294967294 4294967296 4294967298"
              " 4294967300 4294967302 4294967304 4294967306 4294967308");
}

}  // namespace
}  // namespace quillomar

#include "Analysis.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "Errors.h"
#include "ErrorOf.h"
#include "FakeWindow.h"
#include "TempDir.h"

namespace quillomar {
namespace {

using test::ErrorOf;
using test::TFakeWindow;
using test::TTempDir;

const char* const kReportFiles[] = {"ShortPrimes.txt",       "LongPrimes.txt",   "FlowPrimes.txt",
                                    "FlowPurePrimes.txt",    "FlowReversePrimes.txt", "FlowUpPrimes.txt",
                                    "FlowDownPrimes.txt",    "Odds.txt"};

// A window, an analysis in a fresh directory, and helpers to drive them.
class AnalysisTest : public ::testing::Test {
protected:
    void CreateWithPrimes(const std::string& aPrimes) {
        fDir.Write("primes.txt", aPrimes);
        fAnalysis.FormCreate();
    }
    std::string Read(const std::string& aName) const { return fDir.Read(aName); }

    TTempDir fDir;
    TFakeWindow fWindow;
    TAnalysis fAnalysis{fWindow, fDir.Path()};
};

// The worked run, written out as its table: the oracle builds the lines
// from these columns with its own formatting.
struct TWorkedRow {
    int Prime, Difference, Equals;
    const char *Upper, *Lower, *Flow, *FlowSign;
    bool Down;
};
const TWorkedRow kWorkedRun[] = {
    {3, 1, 0, "3;", "2;", "^v", "-+", true},
    {5, 0, 1, "5;", "3;2;", "^vv", "-++", true},
    {7, 1, 0, "7;2;", "5;3;", "^vv^", "-++-", false},
    {11, 0, 1, "11;3;", "7;5;2;", "^vv^v", "-++-+", true},
    {13, 1, 1, "13;5;3;", "11;7;2;", "^vv^^v", "-++=-+", true},
    {17, 0, 2, "17;7;5;", "13;11;3;2;", "^vv^^vv", "-++=-++", true},
    {19, 1, 1, "19;11;7;2;", "17;13;5;3;", "^vv^^vv^", "-++=-++-", false},
    {23, 0, 2, "23;13;11;3;", "19;17;7;5;2;", "^vv^^vv^v", "-++=-++-+", true},
    {29, 1, 1, "29;17;11;5;3;", "23;19;13;7;2;", "^vv^v^v^^v", "-++-+-+=-+", true},
    {31, 2, 1, "31;19;17;7;5;2;", "29;23;13;11;3;", "^vv^^vv^^v^", "-++--++--+-", false},
    {37, 1, 2, "37;23;19;11;7;2;", "31;29;17;13;5;3;", "^vv^^vv^^vv^", "-++=-++=-++-", false},
    {41, 2, 1, "41;29;19;17;7;5;2;", "37;31;23;13;11;3;", "^vv^v^^vv^^v^", "-++-+--++--+-", false},
    {43, 1, 2, "43;31;29;17;13;5;3;", "41;37;23;19;11;7;2;", "^vv^^vv^^vv^^v", "-++--++=-++=-+", true},
    {47, 2, 2, "47;37;31;19;17;7;5;2;", "43;41;29;23;13;11;3;", "^vv^^vv^^vv^^v^", "-++=-++--++--+-", false},
};

std::string Rev(std::string s) { return {s.rbegin(), s.rend()}; }
std::string Fmt(const char* aFormat, int a, int b, int c, const std::string& s = "") {
    char lBuffer[256];
    std::snprintf(lBuffer, sizeof lBuffer, aFormat, a, b, c, s.c_str());
    return lBuffer;
}
std::string Cont(const std::string& s) {
    char lBuffer[256];
    std::snprintf(lBuffer, sizeof lBuffer, "%29s|%s\r\n", "", s.c_str());
    return lBuffer;
}

TEST_F(AnalysisTest, StartCreatesTheFilesWithTheirHeaders) {
    CreateWithPrimes("");
    EXPECT_EQ(Read("ShortPrimes.txt"), "Liczba pierwsza|Suma|R\xf3wnowag\r\n");
    EXPECT_EQ(Read("LongPrimes.txt"), "Liczba pierwsza|Suma|R\xf3wnowag|Ci\xb9gi\r\n");
    for (const char* f : {"FlowPrimes.txt", "FlowReversePrimes.txt", "FlowUpPrimes.txt", "FlowDownPrimes.txt"}) {
        EXPECT_EQ(Read(f), "Liczba pierwsza|Suma|R\xf3wnowag|Flow\r\n") << f;
    }
    EXPECT_EQ(Read("FlowPurePrimes.txt"), "");
    EXPECT_EQ(Read("Odds.txt"), "");
}

TEST_F(AnalysisTest, WorkedRunWritesEveryReportFileByteForByte) {
    CreateWithPrimes("2 3 5 7 11 13 17 19 23 29 31 37 41 43 47\r\n");
    fAnalysis.btnStartClick();

    std::string lShort = "Liczba pierwsza|Suma|R\xf3wnowag\r\n";
    std::string lLong = "Liczba pierwsza|Suma|R\xf3wnowag|Ci\xb9gi\r\n";
    const std::string lFlowHeader = "Liczba pierwsza|Suma|R\xf3wnowag|Flow\r\n";
    std::string lFlow = lFlowHeader, lReverse = lFlowHeader, lUp = lFlowHeader, lDown = lFlowHeader, lPure;
    std::vector<std::string> lLog;
    for (const auto& r : kWorkedRun) {
        lLog.push_back(Fmt("%15d|%4d|%8d", r.Prime, r.Difference, r.Equals));
        lShort += lLog.back() + "\r\n";
        lLong += Fmt("%15d|%4d|%8d|%s\r\n", r.Prime, r.Difference, r.Equals, r.Upper) + Cont(r.Lower);
        const std::string lFlowLines = Fmt("%15d|%4d|%8d|%s\r\n", r.Prime, r.Difference, r.Equals, r.FlowSign) +
                                       Cont(r.Flow);
        lFlow += lFlowLines;
        (r.Down ? lDown : lUp) += lFlowLines;
        lReverse += Fmt("%15d|%4d|%8d|%s\r\n", r.Prime, r.Difference, r.Equals, Rev(r.FlowSign)) +
                    Cont(Rev(r.Flow));
        lPure += Rev(r.Flow) + "\r\n";
    }
    EXPECT_EQ(Read("ShortPrimes.txt"), lShort);
    EXPECT_EQ(Read("LongPrimes.txt"), lLong);
    EXPECT_EQ(Read("FlowPrimes.txt"), lFlow);
    EXPECT_EQ(Read("FlowReversePrimes.txt"), lReverse);
    EXPECT_EQ(Read("FlowUpPrimes.txt"), lUp);
    EXPECT_EQ(Read("FlowDownPrimes.txt"), lDown);
    EXPECT_EQ(Read("FlowPurePrimes.txt"), lPure);
    EXPECT_EQ(Read("Odds.txt"), "");
    EXPECT_EQ(fWindow.Log, lLog);

    // A few lines spelled out, as a check on the oracle itself.
    EXPECT_EQ(lShort.substr(lShort.find('\n') + 1, 31), "              3|   1|       0\r\n");
    EXPECT_EQ(lPure.substr(0, 4), "v^\r\n");
    const std::string lLongRead = Read("LongPrimes.txt");
    EXPECT_EQ(lLongRead.substr(lLongRead.find('\n') + 1, 68),
              "              3|   1|       0|3;\r\n                             |2;\r\n");

    EXPECT_EQ(fAnalysis.MaxGap(), 2);
    EXPECT_EQ(fAnalysis.CurrentIndex(), 15);
    EXPECT_EQ(fWindow.Texts[TControl::lblMaxGap], "2");
    EXPECT_EQ(fWindow.Texts[TControl::lblCurrentPrime], "47 (14/15)");
    EXPECT_TRUE(fWindow.LogVisible);
    EXPECT_FALSE(fWindow.IsEnabled(TControl::btnStart));  // Exhausted: Start stays disabled
}

TEST_F(AnalysisTest, CaptionsDuringASteps) {
    CreateWithPrimes("2 3 5 7 11 13 17 19 23 29 31 37 41 43 47");
    std::vector<std::string> lCaptions;
    fWindow.EveryPump = [&] {
        lCaptions.push_back(fWindow.Texts[TControl::lblCurrentPrime] + " max " + fWindow.Texts[TControl::lblMaxGap]);
    };
    fAnalysis.btnStartClick();
    ASSERT_GE(lCaptions.size(), 12u);
    EXPECT_EQ(lCaptions[0], "wczytuję max lblMaxGap");  // the pump before loading
    EXPECT_EQ(lCaptions[1], "3 (1/15) max lblMaxGap");  // lblMaxGap is set after the pump
    EXPECT_EQ(lCaptions[2], "5 (2/15) max 1");
    EXPECT_EQ(lCaptions[10], "31 (10/15) max 1");
    EXPECT_EQ(lCaptions[11], "37 (11/15) max 2");
}

TEST_F(AnalysisTest, NegativeAndWideValuesWidenTheColumns) {
    CreateWithPrimes("10 3 4");
    fAnalysis.btnStartClick();
    EXPECT_EQ(fWindow.Log, (std::vector<std::string>{"              3|  -7|       0", "              4|  -9|       0"}));
    EXPECT_EQ(fAnalysis.MaxGap(), 9);
    const std::string lLong = Read("LongPrimes.txt");
    EXPECT_EQ(lLong.substr(lLong.find('\n') + 1),
              "              3|  -7|       0|3;\r\n                             |10;\r\n"
              "              4|  -9|       0|4;\r\n                             |3;10;\r\n");
}

TEST_F(AnalysisTest, SumsPastTheInt32RangeStayExact) {
    // Values near the ends of the 32-bit range: 32-bit sums would wrap.
    CreateWithPrimes("1 2147483647 2147483629 2147483587 -2147483648\n");
    fAnalysis.btnStartClick();
    ASSERT_EQ(fWindow.Log.size(), 4u);
    EXPECT_EQ(fWindow.Log[0], "     2147483647|2147483646|       0");
    EXPECT_EQ(fWindow.Log[1], "     2147483629| -17|       0");
    // 2147483587 and 2147483647 go up (4294967234), 2147483629 and 1 down.
    EXPECT_EQ(fWindow.Log[2], "     2147483587|2147483604|       0");
    EXPECT_EQ(fWindow.Log[3], "    -2147483648| -78|       0");
    EXPECT_EQ(fAnalysis.MaxGap(), 2147483646);

    // A difference beyond the 32-bit range, and the largest difference with it.
    TTempDir lDir;
    TFakeWindow lWindow;
    TAnalysis lWide(lWindow, lDir.Path());
    lDir.Write("primes.txt", "-2147483648 2147483647");
    lWide.FormCreate();
    lWide.btnStartClick();
    EXPECT_EQ(lWindow.Log, std::vector<std::string>{"     2147483647|4294967295|       0"});
    EXPECT_EQ(lWide.MaxGap(), 4294967295LL);
    EXPECT_EQ(lWindow.Texts[TControl::lblMaxGap], "4294967295");
}

TEST_F(AnalysisTest, ListOfOnePrimeAnalysesNothing) {
    CreateWithPrimes("2\n");
    fAnalysis.btnStartClick();
    EXPECT_TRUE(fWindow.Log.empty());
    EXPECT_EQ(fAnalysis.Primes().Count(), 1);
    EXPECT_FALSE(fWindow.IsEnabled(TControl::btnStart));
    EXPECT_TRUE(fWindow.LogVisible);
}

struct TLoadCase {
    const char* Name;
    std::string Bytes;
    std::vector<int32_t> Values;
};

TEST_F(AnalysisTest, LoadPrimesReadsBlankSeparatedNumbers) {
    const TLoadCase lCases[] = {
        {"one line", "2 3 5", {2, 3, 5}},
        {"spread with blank lines and doubled blanks", "2\r\n\r\n  3  \n\n5\n", {2, 3, 5}},
        {"trailing blank", "2 3 \n", {2, 3}},
        {"hex and sign", "$B 0xB +7 -1", {11, 11, 7, -1}},
        {"duplicates kept in file order", "5 3 5", {5, 3, 5}},
        {"empty", "", {}},
    };
    for (const auto& c : lCases) {
        SCOPED_TRACE(c.Name);
        TTempDir lDir;
        TFakeWindow lWindow;
        TAnalysis lAnalysis(lWindow, lDir.Path());
        lDir.Write("in.txt", c.Bytes);
        lAnalysis.LoadPrimes("in.txt");
        EXPECT_EQ(std::vector<int32_t>(lAnalysis.Primes().begin(), lAnalysis.Primes().end()), c.Values);
    }
}

TEST_F(AnalysisTest, BadPiecesStopTheLoadWithTheirMessage) {
    const struct {
        std::string Bytes;
        std::string Message;
        std::vector<int32_t> Kept;
    } lCases[] = {
        {"2 3\n5 2,3 7\n", "'2,3' is not a valid integer value for Integer type.", {2, 3, 5}},
        {"2\t3\n", "'2\t3' is not a valid integer value for Integer type.", {}},
        {"2 2147483648\n", "'2147483648' is not a valid integer value for Integer type.", {2}},
        {"\xef\xbb\xbf" "2 3\n", "'ď»ż2' is not a valid integer value for Integer type.", {}},
    };
    for (const auto& c : lCases) {
        SCOPED_TRACE(c.Bytes);
        TTempDir lDir;
        TFakeWindow lWindow;
        TAnalysis lAnalysis(lWindow, lDir.Path());
        lDir.Write("primes.txt", c.Bytes);
        lAnalysis.FormCreate();
        EXPECT_EQ(ErrorOf([&] { lAnalysis.btnStartClick(); }), c.Message);
        EXPECT_EQ(std::vector<int32_t>(lAnalysis.Primes().begin(), lAnalysis.Primes().end()), c.Kept);
        EXPECT_TRUE(lWindow.Log.empty());  // the run did not start
        EXPECT_FALSE(lWindow.LogVisible);  // Stuck
    }
}

TEST_F(AnalysisTest, PartialLoadIsAnalysedWithoutLoadingAgain) {
    CreateWithPrimes("2 3 5 x 7");
    EXPECT_EQ(ErrorOf([&] { fAnalysis.btnStartClick(); }), "'x' is not a valid integer value for Integer type.");
    fDir.Write("primes.txt", "2 3 5 7 11 13");  // fixing the file changes nothing now
    fAnalysis.btnPauseClick();
    fAnalysis.btnStartClick();
    EXPECT_EQ(fWindow.Log.size(), 2u);
    EXPECT_EQ(fAnalysis.Primes().Count(), 3);
}

TEST_F(AnalysisTest, EmptyListReloadsAtEveryStart) {
    CreateWithPrimes("");
    fAnalysis.btnStartClick();
    EXPECT_TRUE(fWindow.Log.empty());
    EXPECT_EQ(fWindow.Texts[TControl::lblCurrentPrime], "wczytuję");
    fDir.Write("primes.txt", "2 3 5");
    fAnalysis.btnPauseClick();
    fAnalysis.btnStartClick();
    EXPECT_EQ(fWindow.Log.size(), 2u);
}

TEST_F(AnalysisTest, MissingPrimesFileIsNotFound) {
    fAnalysis.FormCreate();
    EXPECT_EQ(ErrorOf([&] { fAnalysis.btnStartClick(); }), "The specified file was not found.");
    fDir.Write("primes.txt", "2 3");
    fAnalysis.btnPauseClick();
    fAnalysis.btnStartClick();
    EXPECT_EQ(fWindow.Log.size(), 1u);
}

TEST_F(AnalysisTest, PauseAndResumeAnalyseEveryPrimeOnce) {
    CreateWithPrimes("2 3 5 7 11 13 17 19 23 29 31 37 41 43 47");
    // Pause is pressed during the pump of the 4th step (pump 1 is the load's).
    fWindow.AtPump[5] = [&] {
        fWindow.PauseDown = true;
        fAnalysis.btnPauseClick();
    };
    fAnalysis.btnStartClick();
    EXPECT_EQ(fWindow.Log.size(), 4u);  // the step in progress completes
    EXPECT_EQ(fAnalysis.CurrentIndex(), 5);
    EXPECT_TRUE(fWindow.IsEnabled(TControl::btnStart));
    EXPECT_TRUE(fWindow.LogVisible);

    fWindow.PauseDown = false;  // Start releases Pause
    fAnalysis.btnStartClick();
    std::vector<std::string> lPrimes;
    for (const auto& lLine : fWindow.Log) lPrimes.push_back(lLine.substr(0, 15));
    ASSERT_EQ(fWindow.Log.size(), 14u);
    for (size_t i = 0; i < 14; ++i) EXPECT_EQ(std::stoi(lPrimes[i]), kWorkedRun[i].Prime);

    // Exhausted: another Start returns at once.
    fAnalysis.btnPauseClick();
    fAnalysis.btnStartClick();
    EXPECT_EQ(fWindow.Log.size(), 14u);
}

TEST_F(AnalysisTest, PauseDownBeforeStartRunsNoStep) {
    CreateWithPrimes("2 3 5");
    fWindow.PauseDown = true;
    fAnalysis.btnStartClick();
    EXPECT_TRUE(fWindow.Log.empty());
    EXPECT_EQ(fAnalysis.Primes().Count(), 3);  // loaded all the same
}

TEST_F(AnalysisTest, FailedStepIsRepeatedInFullAtTheNextStart) {
    CreateWithPrimes("2 3 5 7 11");
    // During the pump of the 2nd step, FlowPrimes.txt disappears: the 3rd
    // step fails at its fourth append.
    fWindow.AtPump[3] = [&] { std::filesystem::remove(fDir.File("FlowPrimes.txt")); };
    EXPECT_EQ(ErrorOf([&] { fAnalysis.btnStartClick(); }), "The specified file was not found.");
    EXPECT_EQ(fAnalysis.CurrentIndex(), 3);
    EXPECT_FALSE(fWindow.LogVisible);
    EXPECT_EQ(fWindow.Log.size(), 3u);  // the failed step had added its log line
    const std::string lShortAfterFailure = Read("ShortPrimes.txt");
    EXPECT_NE(lShortAfterFailure.find("              7|   1|       0\r\n"), std::string::npos);

    fDir.Write("FlowPrimes.txt", "");
    fAnalysis.btnPauseClick();
    fAnalysis.btnStartClick();
    EXPECT_EQ(fAnalysis.CurrentIndex(), 5);
    // The lines of 7 appended before the failure stay and come again.
    const std::string lShort = Read("ShortPrimes.txt");
    EXPECT_EQ(lShort.substr(lShort.find("  7|")), "  7|   1|       0\r\n              7|   1|       0\r\n"
                                                  "             11|   0|       1\r\n");
    EXPECT_EQ(Read("FlowPrimes.txt"),
              "              7|   1|       0|-++-\r\n                             |^vv^\r\n"
              "             11|   0|       1|-++-+\r\n                             |^vv^v\r\n");
    // Line k of the pure flow file still belongs to the prime at index k + 1.
    EXPECT_EQ(Read("FlowPurePrimes.txt"), "v^\r\nvv^\r\n^vv^\r\nv^vv^\r\n");
}

TEST(AnalysisInstances, SecondInstanceIsRefusedAndTruncatesNothing) {
    TTempDir lDir;
    lDir.Write("primes.txt", "2 3 5 7");
    TFakeWindow lFirstWindow, lSecondWindow;
    TAnalysis lFirst(lFirstWindow, lDir.Path());
    lFirst.FormCreate();
    lFirst.btnStartClick();
    std::map<std::string, std::string> lBefore;
    for (const char* f : kReportFiles) lBefore[f] = lDir.Read(f);

    TAnalysis lSecond(lSecondWindow, lDir.Path());
    try {
        lSecond.FormCreate();
        FAIL() << "second instance created the files";
    } catch (const EInOutError& e) {
        EXPECT_EQ(ErrorBoxText(e.what()), "I/O error 32.");
    }
    // Its Start loads and fails at its first append, writing nothing.
    try {
        lSecond.btnStartClick();
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 32);
    }
    for (const char* f : kReportFiles) EXPECT_EQ(lDir.Read(f), lBefore[f]) << f;

    // The first goes on undisturbed.
    lDir.Write("primes.txt", "");
    EXPECT_NO_THROW(lFirst.CalculatePrimes());
}

TEST(AnalysisInstances, FilesOfAnEndedInstanceCanBeRecreated) {
    TTempDir lDir;
    TFakeWindow lWindow;
    {
        TAnalysis lFirst(lWindow, lDir.Path());
        lFirst.FormCreate();
    }
    TAnalysis lSecond(lWindow, lDir.Path());
    EXPECT_NO_THROW(lSecond.FormCreate());
}

TEST(AnalysisCreation, ErrorSkipsTheRemainingFiles) {
    TTempDir lDir;
    std::filesystem::create_directory(lDir.File("FlowPrimes.txt"));  // cannot be opened for writing
    TFakeWindow lWindow;
    TAnalysis lAnalysis(lWindow, lDir.Path());
    try {
        lAnalysis.FormCreate();
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_EQ(ErrorBoxText(e.what()), "File access denied.");
    }
    EXPECT_TRUE(std::filesystem::exists(lDir.File("LongPrimes.txt")));
    EXPECT_FALSE(std::filesystem::exists(lDir.File("FlowPurePrimes.txt")));
    EXPECT_FALSE(std::filesystem::exists(lDir.File("Odds.txt")));
}

TEST(PrimeList, OperationsAndRangeError) {
    TPrimeList lList;
    EXPECT_EQ(lList.IndexOf(2), -1);
    EXPECT_EQ(lList.Add(2), 0);
    EXPECT_EQ(lList.Add(3), 1);
    EXPECT_EQ(lList.Add(2), 2);
    EXPECT_EQ(lList.Count(), 3);
    EXPECT_EQ(lList.IndexOf(2), 0);
    EXPECT_EQ(lList.IndexOf(3), 1);
    EXPECT_EQ(lList[2], 2);
    for (int32_t lBad : {-1, 3, INT32_MIN}) {
        try {
            lList.Items(lBad);
            FAIL() << lBad;
        } catch (const EArgumentOutOfRangeException& e) {
            EXPECT_STREQ(e.what(), "Specified argument was out of the range of valid values: index");
        }
    }
}

}  // namespace
}  // namespace quillomar

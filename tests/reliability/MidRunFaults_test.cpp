// A report file deleted, replaced by a link to /dev/full or made read-only
// while a run goes on. The failing step raises the exact message, keeps the
// lines appended before it, leaves the current index at the failed prime, and
// once the fault is gone the next Start repeats that step in full and
// finishes the run: every file then holds the undisturbed run's bytes with the
// failed step's early lines once more. The read-only cases need an
// unprivileged user; ctest runs this program through unprivileged.sh.
#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "Analysis.h"
#include "Errors.h"
#include "ErrorOf.h"
#include "FakeWindow.h"
#include "Faults.h"
#include "RunModel.h"
#include "TempDir.h"

namespace quillomar::test {
namespace {

const std::vector<std::string> kAnalysisFiles(ReportFileNames().begin(), ReportFileNames().end() - 1);

// The index in a step's appends of the first one to aName.
int FirstAppendTo(const TRunModel& aModel, int aStep, const std::string& aName) {
    const std::vector<std::string> lOrder = aModel.Appends(aStep);
    return static_cast<int>(std::find(lOrder.begin(), lOrder.end(), aName) - lOrder.begin());
}

class MidRunFault : public ::testing::TestWithParam<std::tuple<TFaultCase, std::string>> {};

TEST_P(MidRunFault, StepFailsKeepsItsLinesAndIsRepeatedAfterTheFault) {
    const auto& [lCase, lFile] = GetParam();
    if (!FaultPossible(lCase.Fault)) GTEST_SKIP() << "root writes read-only files; run through unprivileged.sh";
    const std::string lPrimes = PrimesText(40);
    const TRunModel lModel = ReferenceRun(lPrimes);

    TTempDir lDir;
    lDir.Write("primes.txt", lPrimes);
    TFakeWindow lWindow;
    TAnalysis lAnalysis(lWindow, lDir.Path());
    lAnalysis.FormCreate();
    // The fault comes in the pump of step 12 (pump 1 is the loading one),
    // so the next step that writes the file fails at its first append to it.
    constexpr int kQuietSteps = 12;
    const TFaultOn lFault(lCase.Fault, lDir.File(lFile));
    lWindow.AtPump[kQuietSteps + 1] = [&] { lFault.Apply(); };
    EXPECT_EQ(ErrorOf([&] { lAnalysis.btnStartClick(); }), lCase.Message);

    const int lFailed = lModel.NextStepWriting(lFile, kQuietSteps);
    ASSERT_GT(lFailed, 0);
    EXPECT_EQ(lAnalysis.CurrentIndex(), lFailed);
    EXPECT_FALSE(lWindow.LogVisible);
    const int lAppendsDone = FirstAppendTo(lModel, lFailed, lFile);
    std::map<std::string, std::string> lAtFailure;
    for (const std::string& f : kAnalysisFiles) {
        lAtFailure[f] = f == lFile ? lFault.Content() : lDir.Read(f);
        if (f == lFile && lCase.Fault == TFault::Deleted) continue;
        EXPECT_EQ(lAtFailure[f], lModel.After(f, lFailed, lAppendsDone)) << f;
    }

    lFault.Remove();
    lWindow.PauseDown = true;
    lAnalysis.btnPauseClick();
    lWindow.PauseDown = false;
    lAnalysis.btnStartClick();
    EXPECT_EQ(lAnalysis.CurrentIndex(), lAnalysis.Primes().Count());
    EXPECT_EQ(lWindow.Log.size(), static_cast<size_t>(lModel.Steps()) + 1);  // the failed step's line twice
    for (const std::string& f : kAnalysisFiles) {
        const std::string lBefore = f == lFile && lCase.Fault == TFault::Deleted ? "" : lAtFailure[f];
        EXPECT_EQ(lDir.Read(f), lBefore + lModel.FromStep(f, lFailed)) << f;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryFileEveryFault, MidRunFault,
                         ::testing::Combine(::testing::ValuesIn(kFaultCases), ::testing::ValuesIn(kAnalysisFiles)),
                         [](const auto& aInfo) {
                             std::string lName = std::string(std::get<0>(aInfo.param).Name) + "_" +
                                                 std::get<1>(aInfo.param);
                             return lName.substr(0, lName.find('.'));
                         });

// The even numbers of Odds.txt, in file order; false when a line is not
// a blank before each of ten numbers followed by CR LF.
bool OddsNumbers(const std::string& aText, std::vector<int64_t>& aNumbers) {
    for (const std::string& lLine : TRunModel::Lines(aText)) {
        if (!lLine.ends_with("\r\n")) return false;
        std::istringstream lIn(lLine);
        int lCount = 0;
        for (int64_t n; lIn >> n; ++lCount) aNumbers.push_back(n);
        if (lCount != 10 || lLine[0] != ' ') return false;
    }
    return true;
}

class OddsFault : public ::testing::TestWithParam<TFaultCase> {};

// A line that fails leaves its numbers to the next press: Odds.txt goes on
// without a gap once the fault is gone.
TEST_P(OddsFault, ListingStopsAndTheNextPressListsTheFailedLine) {
    const TFaultCase& lCase = GetParam();
    if (!FaultPossible(lCase.Fault)) GTEST_SKIP() << "root writes read-only files; run through unprivileged.sh";
    TTempDir lDir;
    TFakeWindow lWindow;
    TAnalysis lAnalysis(lWindow, lDir.Path());
    lAnalysis.FormCreate();
    const TFaultOn lFault(lCase.Fault, lDir.File("Odds.txt"));
    lWindow.AtPump[3] = [&] { lFault.Apply(); };  // after the third line: 42 .. 60
    EXPECT_EQ(ErrorOf([&] { lAnalysis.btnParzysteClick(); }), lCase.Message);
    EXPECT_EQ(lAnalysis.OddIndex(), 62);

    lFault.Remove();
    lWindow.PauseDown = true;
    lAnalysis.btnPauseClick();
    lWindow.AtPump[lWindow.Pumps + 2] = [&] {
        lWindow.PauseDown = true;
        lAnalysis.btnPauseClick();
    };
    lWindow.PauseDown = false;
    lAnalysis.btnParzysteClick();
    std::vector<int64_t> lNumbers;
    ASSERT_TRUE(OddsNumbers(lDir.Read("Odds.txt"), lNumbers));
    const int64_t lFirst = lCase.Fault == TFault::Deleted ? 62 : 2;  // a deleted file took its lines along
    ASSERT_EQ(lNumbers.size(), static_cast<size_t>((100 - lFirst) / 2 + 1));
    for (size_t i = 0; i < lNumbers.size(); ++i) EXPECT_EQ(lNumbers[i], lFirst + 2 * static_cast<int64_t>(i));
}

INSTANTIATE_TEST_SUITE_P(EveryFault, OddsFault, ::testing::ValuesIn(kFaultCases),
                         [](const auto& aInfo) { return std::string(aInfo.param.Name); });

}  // namespace
}  // namespace quillomar::test

// The faults of a running quillomar-cli, put in place at a moment the test
// does not choose exactly: the run stops with the message on standard error
// and exit status 1, every report file holds whole lines, exactly those of
// the undisturbed run up to the failing append, and once the fault is gone a
// fresh run writes the undisturbed run's bytes again.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <thread>
#include <tuple>

#include "Faults.h"
#include "RunModel.h"
#include "TempDir.h"

namespace quillomar::test {
namespace {

constexpr int kPrimes = 2000;

// Runs quillomar-cli run in aDirectory to its end; returns its exit code.
int RunToEnd(const std::string& aDirectory, const TTempDir& aLogs) {
    TChild lRun({CliPath(), "run"}, aDirectory, aLogs.File("out"), aLogs.File("err"));
    return lRun.ExitCode();
}

off_t SizeOf(const std::string& aPath) {
    struct stat lStat {};
    return ::stat(aPath.c_str(), &lStat) == 0 ? lStat.st_size : 0;
}

class ProcessFault : public ::testing::TestWithParam<std::tuple<TFaultCase, std::string>> {};

TEST_P(ProcessFault, RunStopsWithTheMessageAndLeavesTheLinesBeforeTheFailure) {
    const auto& [lCase, lFile] = GetParam();
    if (!FaultPossible(lCase.Fault)) GTEST_SKIP() << "root writes read-only files; run through unprivileged.sh";
    const std::string lPrimes = PrimesText(kPrimes);
    TTempDir lLogs, lReference, lDir;
    lReference.Write("primes.txt", lPrimes);
    ASSERT_EQ(RunToEnd(lReference.Path(), lLogs), 0);
    const TRunModel lModel(ReadReportFiles(lReference.Path()));

    lDir.Write("primes.txt", lPrimes);
    const TFaultOn lFault(lCase.Fault, lDir.File(lFile));
    {
        TChild lRun({CliPath(), "run"}, lDir.Path(), lLogs.File("out"), lLogs.File("err"));
        // A quarter of the steps in (the short records are 31 bytes each).
        while (SizeOf(lDir.File("ShortPrimes.txt")) < 31 * (kPrimes / 4)) {
            ASSERT_FALSE(lRun.Ended()) << "the run ended before the fault";
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        lFault.Apply();
        EXPECT_EQ(lRun.ExitCode(), 1);
    }
    EXPECT_EQ(lLogs.Read("err"), std::string(lCase.Message) + "\n");

    // The last log line belongs to the failed step; which of its appends
    // to the file failed depends on the moment of the fault.
    const std::string lLog = lLogs.Read("out");
    const int lFailed = static_cast<int>(std::count(lLog.begin(), lLog.end(), '\n'));
    ASSERT_GT(lFailed, 0);
    ASSERT_LE(lFailed, lModel.Steps());
    std::map<std::string, std::string> lNow;  // not read through the link: /dev/full never ends
    for (const std::string& f : ReportFileNames()) lNow[f] = f == lFile ? lFault.Content() : lDir.Read(f);
    bool lMatched = false;
    const std::vector<std::string> lOrder = lModel.Appends(lFailed);
    for (int a = 0; a < static_cast<int>(lOrder.size()) && !lMatched; ++a) {
        if (lOrder[static_cast<size_t>(a)] != lFile) continue;
        lMatched = true;
        for (const std::string& f : ReportFileNames()) {
            if (f == "Odds.txt" || (f == lFile && lCase.Fault == TFault::Deleted)) continue;
            lMatched = lMatched && lNow[f] == lModel.After(f, lFailed, a);
        }
    }
    EXPECT_TRUE(lMatched) << "the files are not those of a run stopped at an append to " << lFile
                          << " in step " << lFailed;

    lFault.Remove();
    ASSERT_EQ(RunToEnd(lDir.Path(), lLogs), 0);
    for (const std::string& f : ReportFileNames()) EXPECT_EQ(lDir.Read(f), lModel.File(f)) << f;
}

INSTANTIATE_TEST_SUITE_P(Cli, ProcessFault,
                         ::testing::Combine(::testing::ValuesIn(kFaultCases),
                                            ::testing::Values("FlowPrimes.txt", "FlowPurePrimes.txt")),
                         [](const auto& aInfo) {
                             std::string lName = std::string(std::get<0>(aInfo.param).Name) + "_" +
                                                 std::get<1>(aInfo.param);
                             return lName.substr(0, lName.find('.'));
                         });

}  // namespace
}  // namespace quillomar::test

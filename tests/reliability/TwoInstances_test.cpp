// A second instance started while the first is in the middle of its run is
// refused with I/O error 32 at its start, truncates nothing, cannot append
// either, and the first one's files come out whole and correct.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <thread>

#include "Analysis.h"
#include "Errors.h"
#include "ErrorOf.h"
#include "FakeWindow.h"
#include "RunModel.h"
#include "TempDir.h"

namespace quillomar::test {
namespace {

TEST(TwoInstances, SecondStartedInTheFirstsPumpIsRefusedAndChangesNothing) {
    const std::string lPrimes = PrimesText(60);
    TTempDir lDir;
    lDir.Write("primes.txt", lPrimes);
    TFakeWindow lFirstWindow;
    TAnalysis lFirst(lFirstWindow, lDir.Path());
    lFirst.FormCreate();
    bool lTried = false;
    lFirstWindow.AtPump[20] = [&] {
        const auto lBefore = ReadReportFiles(lDir.Path());
        TFakeWindow lSecondWindow;
        TAnalysis lSecond(lSecondWindow, lDir.Path());
        EXPECT_EQ(ErrorOf([&] { lSecond.FormCreate(); }), "I/O error 32.");
        EXPECT_EQ(ErrorOf([&] { lSecond.btnStartClick(); }), "I/O error 32.");
        EXPECT_EQ(ReadReportFiles(lDir.Path()), lBefore);
        lTried = true;
    };
    lFirst.btnStartClick();
    EXPECT_TRUE(lTried);
    EXPECT_EQ(ReadReportFiles(lDir.Path()), LibraryRun(lPrimes));
}

off_t SizeOf(const std::string& aPath) {
    struct stat lStat {};
    return ::stat(aPath.c_str(), &lStat) == 0 ? lStat.st_size : 0;
}

std::vector<off_t> Sizes(const std::string& aDirectory) {
    std::vector<off_t> lSizes;
    for (const std::string& lName : ReportFileNames()) lSizes.push_back(SizeOf(aDirectory + "/" + lName));
    return lSizes;
}

TEST(TwoInstances, SecondCliStartedMidRunIsRefusedAndTheFirstFinishesWhole) {
    constexpr int kPrimes = 3000;
    constexpr int kAttempts = 4;
    const std::string lPrimes = PrimesText(kPrimes);
    TTempDir lLogs, lReference, lDir;
    lReference.Write("primes.txt", lPrimes);
    {
        TChild lRun({CliPath(), "run"}, lReference.Path(), lLogs.File("out"), lLogs.File("err"));
        ASSERT_EQ(lRun.ExitCode(), 0);
    }
    const auto lExpected = ReadReportFiles(lReference.Path());

    lDir.Write("primes.txt", lPrimes);
    TChild lFirst({CliPath(), "run"}, lDir.Path(), lLogs.File("out1"), lLogs.File("err1"));
    int lRefused = 0;
    for (int lAttempt = 1; lAttempt <= kAttempts; ++lAttempt) {
        // Wait for a few more steps of the first run, then try a second one.
        const off_t lTarget = 31 * (kPrimes / 2 * lAttempt / kAttempts);
        while (SizeOf(lDir.File("ShortPrimes.txt")) < lTarget && !lFirst.Ended()) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        ASSERT_FALSE(lFirst.Ended()) << "the first run ended before attempt " << lAttempt;
        const std::vector<off_t> lBefore = Sizes(lDir.Path());
        TChild lSecond({CliPath(), "run"}, lDir.Path(), lLogs.File("out2"), lLogs.File("err2"));
        EXPECT_EQ(lSecond.ExitCode(), 1);
        EXPECT_EQ(lLogs.Read("err2"), "I/O error 32.\n");
        EXPECT_EQ(lLogs.Read("out2"), "");
        const std::vector<off_t> lAfter = Sizes(lDir.Path());
        for (size_t i = 0; i < lAfter.size(); ++i) {
            EXPECT_GE(lAfter[i], lBefore[i]) << ReportFileNames()[i] << " shrank at attempt " << lAttempt;
        }
        ++lRefused;
    }
    EXPECT_EQ(lFirst.ExitCode(), 0);
    EXPECT_EQ(lRefused, kAttempts);
    for (const std::string& f : ReportFileNames()) EXPECT_EQ(lDir.Read(f), lExpected.at(f)) << f;
}

}  // namespace
}  // namespace quillomar::test

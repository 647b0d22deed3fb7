// Whole lines only. A line reaches a report file whole or not at all: a
// write that fails part way is taken back, and a run killed in the middle of
// a write leaves no torn line once its files are released. The kill test
// SIGKILLs quillomar-cli run at random moments of a long run.
#include <sys/resource.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <csignal>
#include <iostream>
#include <random>
#include <thread>

#include "Errors.h"
#include "LineGuard.h"
#include "ReportFiles.h"
#include "RunModel.h"
#include "TempDir.h"
#include "TextFile.h"

namespace quillomar::test {
namespace {

struct TCutCase {
    const char* Name;
    std::string Before;
    std::string After;
};

// The guard's repair scans back in chunks of 8 KiB: the long cases cross
// them, one with its CR LF split between two chunks.
TEST(LineGuardCut, CutsBackToTheLastCompleteLine) {
    const TCutCase kCases[] = {
        {"empty", "", ""},
        {"whole", "a\r\nb\r\n", "a\r\nb\r\n"},
        {"torn", "a\r\nbc", "a\r\n"},
        {"torn after CR", "a\r\nb\r", "a\r\n"},
        {"no complete line", "abc", ""},
        {"long torn line", "a\r\n" + std::string(20000, 'x'), "a\r\n"},
        {"CR LF across chunks", "h\r\n" + std::string(8191, 'x'), "h\r\n"},
    };
    for (const TCutCase& c : kCases) {
        TTempDir lDir;
        lDir.Write("f.txt", c.Before);
        TFileHandle lFd(::open(lDir.File("f.txt").c_str(), O_WRONLY | O_CLOEXEC));
        TLineGuard::CutToLastLine(lFd.Get());
        EXPECT_EQ(lDir.Read("f.txt"), c.After) << c.Name;
    }
}

TEST(LineGuard, KeepsTheLockUntilTheFileIsRepaired) {
    TTempDir lDir;
    TTextFile lOwner;
    lOwner.AssignFile(lDir.File("f.txt"));
    lOwner.Rewrite();
    lOwner.WriteLn("whole");
    lOwner.CloseFile();
    TLineGuard lGuard;
    ASSERT_TRUE(lGuard.Start({lOwner.LockDescriptor()}));
    {
        std::ofstream lTorn(lDir.File("f.txt"), std::ios::binary | std::ios::app);
        lTorn << "torn";
    }
    lOwner.AssignFile(lDir.File("other.txt"));  // the owner lets go, as a killed one would

    TTextFile lNext;
    lNext.AssignFile(lDir.File("f.txt"));
    try {
        lNext.Rewrite();
        FAIL() << "the file was re-created while the guard held it";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 32);
    }
    lGuard.Stop();
    EXPECT_EQ(lDir.Read("f.txt"), "whole\r\n");
    EXPECT_NO_THROW(lNext.Rewrite());
}

// A file size limit stands in for a disk that fills in the middle of a
// line: the write stops short at the limit, then fails with EFBIG.
TEST(TornWrite, AWriteCutShortIsTakenBack) {
    TTempDir lDir;
    lDir.Write("f.txt", "whole\r\n");
    const pid_t lPid = ::fork();
    ASSERT_GE(lPid, 0);
    if (lPid == 0) {
        const struct rlimit lLimit {4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &lLimit);
        std::signal(SIGXFSZ, SIG_IGN);
        TTextFile lFile;
        lFile.AssignFile(lDir.File("f.txt"));
        int lCode = 0;
        try {
            WriteToFile(lFile, std::string(10000, 'x'));
        } catch (const EInOutError& e) {
            lCode = e.ErrorCode();
        }
        ::_exit(lCode);
    }
    int lStatus = 0;
    ::waitpid(lPid, &lStatus, 0);
    ASSERT_TRUE(WIFEXITED(lStatus));
    EXPECT_EQ(WEXITSTATUS(lStatus), EFBIG);
    EXPECT_EQ(lDir.Read("f.txt"), "whole\r\n");
    TTextFile lFile;
    lFile.AssignFile(lDir.File("f.txt"));
    WriteToFile(lFile, "next");
    EXPECT_EQ(lDir.Read("f.txt"), "whole\r\nnext\r\n");
}

// Every file empty or ending in CR LF, and a prefix of the undisturbed
// run's file; line k of FlowPurePrimes.txt has k + 2 characters.
void ExpectWholeLines(const std::string& aDirectory, const TRunModel& aModel, int aKill) {
    for (const std::string& lName : ReportFileNames()) {
        const std::string lText = ReadFile(aDirectory + "/" + lName);
        EXPECT_TRUE(lText.empty() || lText.ends_with("\r\n")) << lName << " torn after kill " << aKill;
        EXPECT_TRUE(aModel.File(lName).starts_with(lText)) << lName << " differs after kill " << aKill;
    }
    const std::vector<std::string> lPure = TRunModel::Lines(ReadFile(aDirectory + "/FlowPurePrimes.txt"));
    for (size_t k = 0; k < lPure.size(); ++k) {
        ASSERT_EQ(lPure[k].size(), k + 2 + 2) << "line " << k << " of FlowPurePrimes.txt after kill " << aKill;
    }
}

TEST(KillTest, KilledRunLeavesWholeLinesAndAFreshRunMatches) {
    constexpr int kPrimes = 3000;
    constexpr int kKills = 20;
    constexpr int kFreshRunEvery = 5;
    const std::string lPrimes = PrimesText(kPrimes);
    TTempDir lLogs, lReference;
    lReference.Write("primes.txt", lPrimes);
    const auto lStart = std::chrono::steady_clock::now();
    {
        TChild lRun({CliPath(), "run"}, lReference.Path(), lLogs.File("out"), lLogs.File("err"));
        ASSERT_EQ(lRun.ExitCode(), 0);
    }
    const auto lRunTime = std::chrono::steady_clock::now() - lStart;
    const TRunModel lModel(ReadReportFiles(lReference.Path()));

    const unsigned lSeed = std::random_device{}();
    std::mt19937 lRandom(lSeed);
    std::uniform_int_distribution<long long> lMoment(
        0, std::chrono::duration_cast<std::chrono::microseconds>(lRunTime).count());
    int lSurvived = 0;
    for (int lKill = 1; lKill <= kKills; ++lKill) {
        SCOPED_TRACE("kill " + std::to_string(lKill) + ", seed " + std::to_string(lSeed));
        TTempDir lDir;
        lDir.Write("primes.txt", lPrimes);
        {
            TChild lRun({CliPath(), "run"}, lDir.Path(), lLogs.File("out"), lLogs.File("err"));
            std::this_thread::sleep_for(std::chrono::microseconds(lMoment(lRandom)));
            // The run may end by itself just before the signal lands: then
            // it exits cleanly and the files are checked all the same.
            lRun.Kill(SIGKILL);
            const int lCode = lRun.ExitCode();
            EXPECT_TRUE(lCode == -SIGKILL || lCode == 0) << "exit code " << lCode;
            if (lCode == -SIGKILL) ++lSurvived;
        }
        ASSERT_TRUE(WaitForRelease(lDir.Path())) << "the files stay locked after the kill";
        ExpectWholeLines(lDir.Path(), lModel, lKill);
        if (lKill % kFreshRunEvery == 0) {
            TChild lRun({CliPath(), "run"}, lDir.Path(), lLogs.File("out"), lLogs.File("err"));
            ASSERT_EQ(lRun.ExitCode(), 0) << ReadFile(lLogs.File("err"));
            for (const std::string& f : ReportFileNames()) EXPECT_EQ(lDir.Read(f), lModel.File(f)) << f;
        }
    }
    std::cout << "kills during a run: " << lSurvived << " of " << kKills << " (seed " << lSeed << ")\n";
    RecordProperty("kills", lSurvived);
}

}  // namespace
}  // namespace quillomar::test

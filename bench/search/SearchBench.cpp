// Times the two-level sibling search after a run over the first 10,000
// primes against `cp FlowPurePrimes.txt`, reports the longest stretch
// without an event pump and the peak memory, and compares the one-pass
// search with the plain one (a pass per sibling) on a smaller run.
//
// bench_search [--primes N] [--plain-primes N] [--rounds R] [--dir DIR] [NUMBER...]
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Analysis.h"
#include "LineReader.h"
#include "PlainSearch.h"
#include "SiblingSearch.h"
#include "WindowOps.h"

extern char** environ;

namespace {

using namespace quillomar;
using TClock = std::chrono::steady_clock;

double Ms(TClock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double CpuMs(const struct rusage& u) {
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

double ThreadCpuMs() {
    struct timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// A window that keeps texts and measures the time between event pumps.
class TTimingWindow : public TWindowOps {
public:
    void SetText(TControl aControl, const std::string& aText) override { fTexts[aControl] = aText; }
    std::string GetText(TControl aControl) override { return fTexts[aControl]; }
    void AddLogLine(const std::string&) override {}
    void SetLogVisible(bool) override {}
    void SetEnabled(TControl, bool) override {}
    bool IsPauseDown() override { return false; }
    bool IsSearchDown() override { return true; }
    void ProcessMessages() override {
        Lap();
        ++fPumps;
    }
    void StartTiming() {
        fLast = TClock::now();
        fLastCpu = ThreadCpuMs();
        fLongestGap = {};
        fLongestCpuGap = 0;
        fPumps = 0;
    }
    // The gap up to now counts too: the end of the handler is where the
    // window gets its events again.
    void StopTiming() { Lap(); }

    // Wall time, and the thread's own CPU time, which leaves out the time
    // other processes of the machine had the processor.
    TClock::duration fLongestGap{};
    double fLongestCpuGap = 0;
    long fPumps = 0;

private:
    void Lap() {
        const auto lNow = TClock::now();
        const double lCpu = ThreadCpuMs();
        fLongestGap = std::max(fLongestGap, lNow - fLast);
        fLongestCpuGap = std::max(fLongestCpuGap, lCpu - fLastCpu);
        fLast = lNow;
        fLastCpu = lCpu;
    }

    std::map<TControl, std::string> fTexts;
    TClock::time_point fLast{};
    double fLastCpu = 0;
};

std::vector<int32_t> FirstPrimes(int aCount) {
    std::vector<int32_t> lPrimes;
    size_t lLimit = 64;
    while (lPrimes.size() < static_cast<size_t>(aCount)) {
        lLimit *= 2;
        std::vector<bool> lComposite(lLimit, false);
        lPrimes.clear();
        for (size_t i = 2; i < lLimit && lPrimes.size() < static_cast<size_t>(aCount); ++i) {
            if (lComposite[i]) continue;
            lPrimes.push_back(static_cast<int32_t>(i));
            for (size_t j = i * i; j < lLimit; j += i) lComposite[j] = true;
        }
    }
    return lPrimes;
}

// Writes primes.txt with aAnalysed + 1 primes and runs the analysis over it.
void MakeRun(const std::string& aDir, int aAnalysed) {
    std::filesystem::create_directories(aDir);
    {
        std::ofstream lOut(aDir + "/primes.txt");
        const auto lPrimes = FirstPrimes(aAnalysed + 1);
        for (size_t i = 0; i < lPrimes.size(); ++i) lOut << lPrimes[i] << (i % 10 == 9 ? "\n" : " ");
        lOut << "\n";
    }
    TTimingWindow lWindow;
    TAnalysis lAnalysis(lWindow, aDir);
    const auto t0 = TClock::now();
    lAnalysis.FormCreate();
    lAnalysis.btnStartClick();
    std::printf("run over %d primes: %.0f ms, FlowPurePrimes.txt %ju bytes\n", aAnalysed, Ms(TClock::now() - t0),
                static_cast<uintmax_t>(std::filesystem::file_size(aDir + "/FlowPurePrimes.txt")));
}

// Wall time of `cp aFrom aTo` as a process of its own; aCpuMs its CPU time.
double CopyMs(const std::string& aFrom, const std::string& aTo, double& aCpuMs) {
    std::filesystem::remove(aTo);
    std::vector<char*> lArgs = {const_cast<char*>("cp"), const_cast<char*>(aFrom.c_str()),
                                const_cast<char*>(aTo.c_str()), nullptr};
    const auto t0 = TClock::now();
    pid_t lPid;
    if (posix_spawnp(&lPid, "cp", nullptr, nullptr, lArgs.data(), environ) != 0) {
        std::perror("cp");
        std::exit(1);
    }
    int lStatus = 0;
    struct rusage lUsage {};
    wait4(lPid, &lStatus, 0, &lUsage);
    const double lMs = Ms(TClock::now() - t0);
    aCpuMs = CpuMs(lUsage);
    std::filesystem::remove(aTo);
    return lMs;
}

struct TSearchResult {
    std::string Sibiles, SibilesAll, EdtSibiles;
};

// One two-level search of aNumber by the program, through its Search button.
TSearchResult SearchOnce(TAnalysis& aAnalysis, TTimingWindow& aWindow, int32_t aNumber, double& aMs,
                         double& aCpuMs) {
    aWindow.SetText(TControl::edtFirst, std::to_string(aNumber));
    aWindow.StartTiming();
    const double lCpu0 = ThreadCpuMs();
    const auto t0 = TClock::now();
    aAnalysis.btnSearchClick();
    aMs = Ms(TClock::now() - t0);
    aCpuMs = ThreadCpuMs() - lCpu0;
    aWindow.StopTiming();
    return {aWindow.GetText(TControl::lblSibiles), aWindow.GetText(TControl::lblSibilesAll),
            aWindow.GetText(TControl::edtSibiles)};
}

long PeakRssKb() {
    struct rusage lUsage {};
    getrusage(RUSAGE_SELF, &lUsage);
    return lUsage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
    int lAnalysed = 10000, lPlainAnalysed = 1000, lRounds = 7;
    std::string lDir;
    std::vector<int32_t> lNumbers;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto lNext = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "%s needs a value\n", a.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--primes") {
            lAnalysed = std::stoi(lNext());
        } else if (a == "--plain-primes") {
            lPlainAnalysed = std::stoi(lNext());
        } else if (a == "--rounds") {
            lRounds = std::max(1, std::stoi(lNext()));
        } else if (a == "--dir") {
            lDir = lNext();
        } else if (a == "--help") {
            std::puts("bench_search [--primes N] [--plain-primes N] [--rounds R] [--dir DIR] [NUMBER...]");
            return 0;
        } else {
            lNumbers.push_back(std::stoi(a));
        }
    }
    if (lNumbers.empty()) lNumbers = {3};

    std::string lTemp;
    if (lDir.empty()) {
        lTemp = (std::filesystem::temp_directory_path() / "quillomar-bench-XXXXXX").string();
        if (!mkdtemp(lTemp.data())) {
            std::perror("mkdtemp");
            return 1;
        }
        lDir = lTemp;
    }
    const std::string lRunDir = lDir + "/run";
    const std::string lFlow = lRunDir + "/FlowPurePrimes.txt";
    if (!std::filesystem::exists(lFlow)) {
        MakeRun(lRunDir, lAnalysed);
    } else {
        std::printf("reusing %s (%ju bytes)\n", lFlow.c_str(), static_cast<uintmax_t>(std::filesystem::file_size(lFlow)));
    }

    std::vector<double> lCopy, lCopyCpu;
    for (int r = 0; r < lRounds; ++r) {
        double lCpu;
        lCopy.push_back(CopyMs(lFlow, lDir + "/copy.txt", lCpu));
        lCopyCpu.push_back(lCpu);
    }
    const double lCopyMs = Median(lCopy), lCopyCpuMs = Median(lCopyCpu);
    std::printf("cp FlowPurePrimes.txt: %.1f ms wall, %.1f ms CPU (medians of %d), fastest %.1f ms\n", lCopyMs,
                lCopyCpuMs, lRounds, *std::min_element(lCopy.begin(), lCopy.end()));

    {
        TTimingWindow lWindow;
        TAnalysis lAnalysis(lWindow, lRunDir);
        lAnalysis.LoadPrimes("primes.txt");
        for (int32_t lNumber : lNumbers) {
            std::vector<double> lTimes, lCpuTimes;
            TClock::duration lGap{};
            double lCpuGap = 0;
            long lPumps = 0;
            TSearchResult lResult;
            for (int r = 0; r < lRounds; ++r) {
                double lMs, lCpuMs;
                lResult = SearchOnce(lAnalysis, lWindow, lNumber, lMs, lCpuMs);
                lTimes.push_back(lMs);
                lCpuTimes.push_back(lCpuMs);
                lGap = std::max(lGap, lWindow.fLongestGap);
                lCpuGap = std::max(lCpuGap, lWindow.fLongestCpuGap);
                lPumps = lWindow.fPumps;
            }
            const double lSearchMs = Median(lTimes), lSearchCpuMs = Median(lCpuTimes);
            const double lFastestMs = *std::min_element(lTimes.begin(), lTimes.end());
            std::printf("two-level search of %d, %s: %.1f ms wall = %.2f x cp (target <= 3); %.1f ms CPU = %.2f x cp\n",
                        lNumber, lResult.Sibiles.c_str(), lSearchMs, lSearchMs / lCopyMs, lSearchCpuMs,
                        lSearchCpuMs / lCopyCpuMs);
            std::printf("  fastest round %.1f ms wall; longest stretch without a pump %.2f ms wall, %.2f ms CPU"
                        " (target <= 20); %ld pumps\n",
                        lFastestMs, Ms(lGap), lCpuGap, lPumps);
        }
        std::printf("peak memory of the process: %.1f MiB\n", PeakRssKb() / 1024.0);

        // Where the time of the first number's search goes.
        const int32_t lNumber = lNumbers.front();
        const int32_t lIndex = lAnalysis.Primes().IndexOf(lNumber);
        auto lFastest = [&](const std::function<void()>& f) {
            double lBest = 1e300;
            for (int r = 0; r < lRounds; ++r) {
                const auto t0 = TClock::now();
                f();
                lBest = std::min(lBest, Ms(TClock::now() - t0));
            }
            return lBest;
        };
        const double lRead = lFastest([&] {
            TLineReader lReader(lFlow);
            size_t lLines = 0;
            while (!lReader.Eof()) lLines += lReader.ReadLn().size() > 0;
        });
        const double lOneLevel = lFastest([&] {
            TSiblingSearch lSearch(lAnalysis.Primes(), lWindow, lFlow);
            (void)lSearch.Siblings(lIndex, false);
        });
        double lCounts = 0;
        const double lTwoLevel = lFastest([&] {
            TSiblingSearch lSearch(lAnalysis.Primes(), lWindow, lFlow);
            const TPrimeList lSiblings = lSearch.Siblings(lIndex, true);
            const auto t0 = TClock::now();
            for (int32_t x : lSiblings) (void)lSearch.Count(x);
            lCounts = Ms(TClock::now() - t0);
        });
        std::printf("breakdown for %d (fastest rounds): reading the lines %.1f ms, one level %.1f ms,"
                    " both levels without the window %.1f ms (of which the counts %.1f ms)\n",
                    lNumber, lRead, lOneLevel, lTwoLevel, lCounts);
    }

    // The plain search, one pass per sibling, against the one-pass search
    // on a smaller run: time and agreement.
    if (lPlainAnalysed > 0) {
        const std::string lSmallDir = lDir + "/small";
        if (!std::filesystem::exists(lSmallDir + "/FlowPurePrimes.txt")) MakeRun(lSmallDir, lPlainAnalysed);
        TTimingWindow lWindow;
        TAnalysis lAnalysis(lWindow, lSmallDir);
        lAnalysis.LoadPrimes("primes.txt");
        for (int32_t lNumber : lNumbers) {
            double lFastMs, lFastCpuMs;
            const TSearchResult lFast = SearchOnce(lAnalysis, lWindow, lNumber, lFastMs, lFastCpuMs);
            TTimingWindow lPlainWindow;
            bool lBreak = false;
            test::TPlainSearch lPlain(lAnalysis.Primes(), lPlainWindow, lSmallDir + "/FlowPurePrimes.txt", lBreak);
            const auto t0 = TClock::now();
            lPlain.SearchiSibilings(lNumber);
            const double lPlainMs = Ms(TClock::now() - t0);
            const bool lSame = lFast.Sibiles == lPlainWindow.GetText(TControl::lblSibiles) &&
                               lFast.SibilesAll == lPlainWindow.GetText(TControl::lblSibilesAll) &&
                               lFast.EdtSibiles == lPlainWindow.GetText(TControl::edtSibiles);
            std::printf("after %d primes, search of %d: plain %.1f ms, one pass %.2f ms (%.0f x faster), %s\n",
                        lPlainAnalysed, lNumber, lPlainMs, lFastMs, lPlainMs / lFastMs,
                        lSame ? "same texts" : "TEXTS DIFFER");
            if (!lSame) return 1;
        }
    }
    if (!lTemp.empty()) std::filesystem::remove_all(lTemp);
    return 0;
}

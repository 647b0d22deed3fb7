// bench_window [COUNT [REPEATS [nolog]]]: times a run over the first COUNT primes
// (10,000 by default) started from the window's Start button against
// `quillomar-cli run` over the same primes.txt, checks that both make the
// same report files, and measures what one log line costs as the log grows.
// Prints the figures; the exit status is 0 unless something failed to run
// (the 1.3 target is reported, not enforced). Temporary files go to
// $TMPDIR; run.sh puts them in /dev/shm when it has room.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <vector>

#include "ReportFiles.h"
#include "frmMain.h"

using namespace quillomar;
using namespace quillomar::window;

namespace {

const char* const kReportFiles[] = {"ShortPrimes.txt",    "LongPrimes.txt",        "FlowPrimes.txt",
                                    "FlowPurePrimes.txt", "FlowReversePrimes.txt", "FlowUpPrimes.txt",
                                    "FlowDownPrimes.txt", "Odds.txt"};

class TSilentPresenter : public TErrorPresenter {
public:
    void ShowError(QWidget*, const QString&, const QString& aText) override {
        std::fprintf(stderr, "error box: %s\n", qPrintable(aText));
        fFailed = true;
    }
    bool fFailed = false;
};

bool RunCli(const QStringList& aArguments, const QString& aDirectory, const QString& aStdout) {
    QProcess lProcess;
    lProcess.setWorkingDirectory(aDirectory);
    lProcess.setStandardOutputFile(aStdout);
    lProcess.start(QStringLiteral(QUILLOMAR_CLI), aArguments);
    return lProcess.waitForFinished(-1) && lProcess.exitStatus() == QProcess::NormalExit && lProcess.exitCode() == 0;
}

bool SameFiles(const QString& aLeft, const QString& aRight) {
    bool lSame = true;
    for (const char* lName : kReportFiles) {
        QFile a(aLeft + u'/' + QLatin1String(lName)), b(aRight + u'/' + QLatin1String(lName));
        if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly) || a.readAll() != b.readAll()) {
            std::printf("  %s differs\n", lName);
            lSame = false;
        }
    }
    return lSame;
}

// CPU seconds (user + system) of this process or of its waited-for children.
double CpuSeconds(int aWho) {
    rusage lUsage{};
    getrusage(aWho, &lUsage);
    return lUsage.ru_utime.tv_sec + lUsage.ru_stime.tv_sec + (lUsage.ru_utime.tv_usec + lUsage.ru_stime.tv_usec) / 1e6;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QApplication lApplication(argc, argv);
    const int lCount = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int lRepeats = argc > 2 ? std::atoi(argv[2]) : 5;
    QTemporaryDir lRoot;
    std::printf("platform %s, %d primes, %d repeats, in %s\n", qPrintable(QGuiApplication::platformName()), lCount,
                lRepeats, qPrintable(lRoot.path()));

    const QString lPrimes = lRoot.filePath(QStringLiteral("primes.txt"));
    if (!RunCli({QStringLiteral("primes"), QString::number(lCount)}, lRoot.path(), lPrimes)) return 2;

    std::vector<double> lCliTimes, lWindowTimes, lWindowAllTimes, lRatios, lCliCpu, lWindowCpu, lCpuRatios;
    bool lSame = true;
    const QString lHome = QDir::currentPath();
    for (int r = 0; r < lRepeats; ++r) {
        // The companion, in a directory of its own.
        const QString lCliDir = lRoot.filePath(QStringLiteral("cli"));
        QDir(lCliDir).removeRecursively();
        QDir().mkpath(lCliDir);
        QFile::copy(lPrimes, lCliDir + QStringLiteral("/primes.txt"));
        ::sync();  // no write-back of the previous run's 600 MB during this one
        QElapsedTimer lTimer;
        double lCpu = CpuSeconds(RUSAGE_CHILDREN);
        lTimer.start();
        if (!RunCli({QStringLiteral("run")}, lCliDir, QProcess::nullDevice())) return 2;
        lCliTimes.push_back(lTimer.nsecsElapsed() / 1e9);
        lCliCpu.push_back(CpuSeconds(RUSAGE_CHILDREN) - lCpu);

        // The window, in another.
        const QString lWinDir = lRoot.filePath(QStringLiteral("window"));
        QDir(lWinDir).removeRecursively();
        QDir().mkpath(lWinDir);
        QFile::copy(lPrimes, lWinDir + QStringLiteral("/primes.txt"));
        QDir::setCurrent(lWinDir);
        ::sync();
        {
            lCpu = CpuSeconds(RUSAGE_SELF);
            lTimer.restart();
            auto lOwnedPresenter = std::make_unique<TSilentPresenter>();
            TSilentPresenter* lPresenter = lOwnedPresenter.get();
            TForm1 lForm{std::move(lOwnedPresenter)};
            lForm.show();
            QCoreApplication::processEvents();
            QElapsedTimer lRun;
            lRun.start();
            lForm.findChild<QAbstractButton*>(QStringLiteral("btnStart"))->click();
            lWindowTimes.push_back(lRun.nsecsElapsed() / 1e9);
            lWindowAllTimes.push_back(lTimer.nsecsElapsed() / 1e9);
            lWindowCpu.push_back(CpuSeconds(RUSAGE_SELF) - lCpu);
            if (lPresenter->fFailed || lForm.Analysis().CurrentIndex() != lCount) return 3;
        }
        QDir::setCurrent(lHome);
        lSame = SameFiles(lCliDir, lWinDir) && lSame;
        lRatios.push_back(lWindowAllTimes.back() / lCliTimes.back());
        lCpuRatios.push_back(lWindowCpu.back() / lCliCpu.back());
        std::printf("  repeat %d: cli run %.3f s (cpu %.3f s), window run %.3f s (with window creation %.3f s, cpu %.3f s)\n",
                    r + 1, lCliTimes.back(), lCliCpu.back(), lWindowTimes.back(), lWindowAllTimes.back(), lWindowCpu.back());
        std::fflush(stdout);
    }
    const double lCli = Median(lCliTimes), lWin = Median(lWindowTimes), lWinAll = Median(lWindowAllTimes);
    const double lRatio = Median(lRatios);
    std::printf("median: quillomar-cli run %.3f s, window run %.3f s (%.3f s with window creation)\n", lCli, lWin, lWinAll);
    std::printf("window / cli, median of the paired repeats: elapsed %.2f, cpu %.2f; target <= 1.30 (elapsed): %s\n",
                lRatio, Median(lCpuRatios), lRatio <= 1.3 ? "met" : "NOT met");
    std::printf("report files identical: %s\n", lSame ? "yes" : "NO");

    // The log's cost per line as it grows, hidden (as during a run) and shown.
    if (argc > 3 && std::string_view(argv[3]) == "nolog") return 0;
    for (bool lVisible : {false, true}) {
        TForm1 lForm{std::make_unique<TSilentPresenter>(), lRoot.filePath(QStringLiteral("window")).toStdString()};
        lForm.show();
        QCoreApplication::processEvents();
        lForm.SetLogVisible(lVisible);
        constexpr int kLines = 20000, kChunk = 2000;
        std::vector<double> lPerLine;
        QElapsedTimer lTimer;
        lTimer.start();
        for (int i = 1; i <= kLines; ++i) {
            lForm.AddLogLine(ShortRecord(i, i % 7 - 3, i % 11));
            if (lVisible) QCoreApplication::processEvents();
            if (i % kChunk == 0) {
                lPerLine.push_back(lTimer.nsecsElapsed() / 1e3 / kChunk);
                lTimer.restart();
            }
        }
        lTimer.restart();
        lForm.SetLogVisible(true);
        QCoreApplication::processEvents();
        const double lShow = lTimer.nsecsElapsed() / 1e6;
        std::printf("log %s: us per line per %d lines:", lVisible ? "shown (pump per line)" : "hidden", kChunk);
        for (double d : lPerLine) std::printf(" %.2f", d);
        const double lFirst = std::max(lPerLine.front(), 0.01);
        std::printf("\n  last/first chunk %.2f; showing the log afterwards %.1f ms; %d lines\n", lPerLine.back() / lFirst,
                    lShow, lForm.findChild<QPlainTextEdit*>(QStringLiteral("mmoLog"))->document()->blockCount());
    }
    return 0;
}

// The window's guard under mid-run faults: a report file deleted, replaced
// by a link to /dev/full or made read-only in the middle of a run started by
// a click on Start. The error box shows the exact message once, the window
// stays usable (the arrows still step the number field), Start stays
// pressed and disabled until Pause, and Pause then Start repeats the failed
// step and finishes the run. Runs through unprivileged.sh for the read-only
// case.
#include <QtTest>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <map>
#include <memory>
#include <vector>

#include "Analysis.h"
#include "FakeWindow.h"
#include "Faults.h"
#include "RunModel.h"
#include "TempDir.h"
#include "frmMain.h"

using namespace quillomar;
using namespace quillomar::test;
using namespace quillomar::window;

namespace {

struct TShownError {
    QString Caption;
    QString Text;
};

class TRecordingPresenter : public TErrorPresenter {
public:
    explicit TRecordingPresenter(std::vector<TShownError>& aErrors) : fErrors(aErrors) {}
    void ShowError(QWidget*, const QString& aCaption, const QString& aText) override {
        fErrors.push_back({aCaption, aText});
    }

private:
    std::vector<TShownError>& fErrors;
};

}  // namespace

Q_DECLARE_METATYPE(TFault)

class TWindowFaultTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void errorBoxThenPauseStartResumes_data() {
        QTest::addColumn<TFault>("fault");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        for (const TFaultCase& c : kFaultCases) {
            for (const char* lFile : {"FlowReversePrimes.txt", "FlowPurePrimes.txt"}) {
                QTest::addRow("%s %s", c.Name, lFile) << c.Fault << QString::fromLatin1(lFile)
                                                      << QString::fromLatin1(c.Message);
            }
        }
    }

    void errorBoxThenPauseStartResumes() {
        QFETCH(TFault, fault);
        QFETCH(QString, file);
        QFETCH(QString, message);
        if (!FaultPossible(fault)) QSKIP("root writes read-only files; run through unprivileged.sh");
        const std::string lFile = file.toStdString();
        const std::string lPrimes = PrimesText(40);
        const TRunModel lModel = ReferenceRun(lPrimes);

        TTempDir lDir;
        lDir.Write("primes.txt", lPrimes);
        std::vector<TShownError> lErrors;
        TForm1 lForm(std::make_unique<TRecordingPresenter>(lErrors), lDir.Path());
        lForm.show();
        QVERIFY(QTest::qWaitForWindowExposed(&lForm));
        const TFaultOn lFault(fault, lDir.File(lFile));
        constexpr int kQuietSteps = 12;  // the fault comes in the pump of this step
        int lPumps = 0;
        lForm.SetPumpHook([&] {
            if (++lPumps == kQuietSteps + 1) lFault.Apply();
        });
        auto* lStart = qobject_cast<QAbstractButton*>(lForm.Control(TControl::btnStart));
        auto* lPause = qobject_cast<QAbstractButton*>(lForm.Control(TControl::btnPause));
        auto* lRight = lForm.findChild<QAbstractButton*>(QStringLiteral("btnRight"));
        QVERIFY(lRight);
        auto* lFirst = qobject_cast<QLineEdit*>(lForm.Control(TControl::edtFirst));
        QWidget* lLog = lForm.Control(TControl::mmoLog);

        QTest::mouseClick(lStart, Qt::LeftButton);
        QCOMPARE(lErrors.size(), size_t(1));
        QCOMPARE(lErrors[0].Text, message);
        QCOMPARE(lErrors[0].Caption, ApplicationTitle());
        const int lFailed = lModel.NextStepWriting(lFile, kQuietSteps);
        QCOMPARE(lForm.Analysis().CurrentIndex(), lFailed);
        QVERIFY(lStart->isChecked());
        QVERIFY(!lStart->isEnabled());
        QVERIFY(lLog->isHidden());
        QCOMPARE(lForm.HandlerDepth(), 0);

        // Still usable: the arrows step the number field.
        lFirst->setText(QStringLiteral("2"));
        QTest::mouseClick(lRight, Qt::LeftButton);
        QCOMPARE(lFirst->text(), QStringLiteral("3"));
        std::map<std::string, std::string> lAtFailure;
        for (const std::string& f : ReportFileNames()) {
            lAtFailure[f] = f != lFile ? lDir.Read(f) : lFault.Content();  // never read through the link
        }

        lFault.Remove();
        QTest::mouseClick(lPause, Qt::LeftButton);
        QVERIFY(lStart->isEnabled());
        QVERIFY(lLog->isVisible());
        QTest::mouseClick(lStart, Qt::LeftButton);
        QCOMPARE(lErrors.size(), size_t(1));
        QCOMPARE(lForm.Analysis().CurrentIndex(), lForm.Analysis().Primes().Count());
        // Every file: what it held at the failure, then the failed step
        // again in full and the rest of the run.
        for (const std::string& f : ReportFileNames()) {
            if (f == "Odds.txt") continue;
            QVERIFY2(lDir.Read(f) == lAtFailure[f] + lModel.FromStep(f, lFailed), f.c_str());
        }
    }
};

QTEST_MAIN(TWindowFaultTest)
#include "WindowFaults_test.moc"

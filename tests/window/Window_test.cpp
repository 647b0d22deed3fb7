// QtTest tests of TForm1: its controls and layout, the runs, the exploration
// tools and the error box as the window shows them. Every test runs in a fresh temporary directory, which is the
// current directory while the window lives; the window finds its controls'
// objectNames. Clicks are real mouse or key events
// sent to the buttons; a click "during a loop" is sent from inside the
// analysis' event pump through TForm1's pump hook, so it runs nested in the
// loop as a click handled by that pump would.
#include <QtTest>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "ReportFiles.h"
#include "TempDir.h"
#include "frmMain.h"

using namespace quillomar;
using namespace quillomar::window;

namespace {

struct TShownError {
    QString Caption;
    QString Text;
    bool ParentVisible;
};

class TRecordingPresenter : public TErrorPresenter {
public:
    explicit TRecordingPresenter(std::vector<TShownError>& aErrors) : fErrors(aErrors) {}
    void ShowError(QWidget* aParent, const QString& aCaption, const QString& aText) override {
        fErrors.push_back({aCaption, aText, aParent && aParent->isVisible()});
    }

private:
    std::vector<TShownError>& fErrors;
};

const char* const kReportFiles[] = {"ShortPrimes.txt",       "LongPrimes.txt",    "FlowPrimes.txt",
                                    "FlowPurePrimes.txt",    "FlowReversePrimes.txt", "FlowUpPrimes.txt",
                                    "FlowDownPrimes.txt",    "Odds.txt"};

const char* const kControlNames[] = {"mmoLog",   "lblCurrentPrime", "lblMaxGap", "cxLabel1",   "cxLabel2",
                                     "btnPause", "btnStart",        "edtFirst",  "btnLeft",    "btnRight",
                                     "btnSearch", "edtSibiles",     "lblSibiles", "lblSibilesAll", "btnParzyste"};

// Runs the command-line companion in aDirectory and returns its output.
QByteArray RunCompanion(const QStringList& aArguments, const QString& aDirectory, int* aExitCode = nullptr) {
    QProcess lProcess;
    lProcess.setWorkingDirectory(aDirectory);
    lProcess.setProcessChannelMode(QProcess::SeparateChannels);
    lProcess.start(QStringLiteral(QUILLOMAR_CLI), aArguments);
    lProcess.waitForFinished(300000);
    if (aExitCode) *aExitCode = lProcess.exitCode();
    return lProcess.readAllStandardOutput();
}

QByteArray ReadFile(const QString& aPath) {
    QFile lFile(aPath);
    if (!lFile.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
    return lFile.readAll();
}

QStringList LogLines(QPlainTextEdit* aLog) {
    QStringList lLines;
    for (QTextBlock b = aLog->document()->firstBlock(); b.isValid(); b = b.next()) lLines << b.text();
    return lLines;
}

}  // namespace

class TWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TTempDir> fDir;
    QString fOldDirectory;
    std::vector<TShownError> fErrors;
    std::unique_ptr<TForm1> fForm;
    int fPumps = 0;
    std::map<int, std::function<void()>> fAtPump;

    // The window, created with the recording presenter (or the default
    // QMessageBox one) in the current temporary directory.
    TForm1& MakeForm(bool aShow = true, bool aDefaultPresenter = false) {
        fForm = std::make_unique<TForm1>(
            aDefaultPresenter ? nullptr : std::make_unique<TRecordingPresenter>(fErrors), ".");
        fForm->SetPumpHook([this] {
            ++fPumps;
            auto lIt = fAtPump.find(fPumps);
            if (lIt != fAtPump.end()) {
                auto lAction = std::move(lIt->second);
                fAtPump.erase(lIt);
                lAction();
            }
        });
        if (aShow) {
            fForm->show();
            if (!QTest::qWaitForWindowExposed(fForm.get())) qWarning("window not exposed");
        }
        return *fForm;
    }

    template <class T>
    T* Find(const char* aName) const {
        T* lWidget = fForm->findChild<T*>(QString::fromLatin1(aName));
        if (!lWidget) qFatal("no control named %s", aName);
        return lWidget;
    }
    TSpeedButton* Button(const char* aName) const { return Find<TSpeedButton>(aName); }
    QLabel* Label(const char* aName) const { return Find<QLabel>(aName); }
    QLineEdit* Edit(const char* aName) const { return Find<QLineEdit>(aName); }
    QPlainTextEdit* Log() const { return Find<QPlainTextEdit>("mmoLog"); }

    static void Click(QWidget* aWidget) { QTest::mouseClick(aWidget, Qt::LeftButton); }
    // Clicks aWidget from inside the event pump number aPump (from 1).
    void ClickAtPump(int aPump, QWidget* aWidget) {
        fAtPump[aPump] = [aWidget] { Click(aWidget); };
    }
    void Type(const char* aEdit, const QString& aText) {
        QLineEdit* lEdit = Edit(aEdit);
        lEdit->clear();
        QTest::keyClicks(lEdit, aText);
    }

    void WritePrimes(int aCount) {
        int lExit = -1;
        const QByteArray lPrimes = RunCompanion({QStringLiteral("primes"), QString::number(aCount)}, QDir::currentPath(), &lExit);
        QCOMPARE(lExit, 0);
        fDir->Write("primes.txt", lPrimes.toStdString());
    }
    void WriteInput(const std::string& aBytes) { fDir->Write("primes.txt", aBytes); }

    // The report files of the window's directory equal those that
    // `quillomar-cli run` makes from the same primes.txt.
    void CompareWithCompanion() {
        test::TTempDir lOther;
        lOther.Write("primes.txt", fDir->Read("primes.txt"));
        int lExit = -1;
        RunCompanion({QStringLiteral("run")}, QString::fromStdString(lOther.Path()), &lExit);
        QCOMPARE(lExit, 0);
        for (const char* lName : kReportFiles) {
            const QByteArray lMine = ReadFile(QString::fromStdString(fDir->File(lName)));
            const QByteArray lTheirs = ReadFile(QString::fromStdString(lOther.File(lName)));
            if (lMine != lTheirs) QFAIL(qPrintable(QStringLiteral("%1 differs from the companion's").arg(lName)));
        }
    }

    void ExpectReady() {
        QVERIFY(Button("btnPause")->isChecked());
        QVERIFY(!Button("btnStart")->isChecked());
        QVERIFY(Button("btnStart")->isEnabled());
        QVERIFY(Button("btnParzyste")->isEnabled());
        QVERIFY(Log()->isVisible());
    }
    void ExpectExhausted() {
        QVERIFY(Button("btnStart")->isChecked());
        QVERIFY(!Button("btnStart")->isEnabled());
        QVERIFY(!Button("btnPause")->isChecked());
        QVERIFY(Log()->isVisible());
        QCOMPARE(fForm->Analysis().CurrentIndex(), fForm->Analysis().Primes().Count());
    }

private Q_SLOTS:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void init() {
        fDir = std::make_unique<test::TTempDir>();
        fOldDirectory = QDir::currentPath();
        QVERIFY(QDir::setCurrent(QString::fromStdString(fDir->Path())));
        fErrors.clear();
        fPumps = 0;
        fAtPump.clear();
    }

    void cleanup() {
        fForm.reset();
        QDir::setCurrent(fOldDirectory);
        fDir.reset();
    }

    // What the window shows at start, and the files FormCreate makes.
    void initialState() {
        TForm1& lForm = MakeForm();
        QCOMPARE(fErrors.size(), size_t(0));
        for (const char* lName : kControlNames) QVERIFY2(lForm.findChild<QWidget*>(QString::fromLatin1(lName)), lName);
        QCOMPARE(Label("lblCurrentPrime")->text(), QStringLiteral("lblCurrentPrime"));
        QCOMPARE(Label("lblMaxGap")->text(), QStringLiteral("lblMaxGap"));
        QCOMPARE(Label("lblSibiles")->text(), QStringLiteral("???"));
        QCOMPARE(Label("lblSibilesAll")->text(), QStringLiteral("???"));
        QCOMPARE(Label("cxLabel1")->text(), QString::fromUtf8("Największa różnica"));
        QCOMPARE(Label("cxLabel2")->text(), QString::fromUtf8("Bieżąca liczba pierwsza"));
        QCOMPARE(Edit("edtFirst")->text(), QStringLiteral("2"));
        QCOMPARE(Edit("edtSibiles")->text(), QString());
        QCOMPARE(Log()->document()->blockCount(), 1);
        QCOMPARE(Log()->toPlainText(), QString::fromUtf8("Liczba pierwsza|Suma|Równowag|Ciągi"));
        QVERIFY(Log()->isVisible());
        QVERIFY(Log()->isReadOnly());
        QCOMPARE(Log()->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(Log()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(Log()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        for (const char* lName : {"btnStart", "btnPause", "btnParzyste", "btnSearch", "btnLeft", "btnRight"}) {
            QVERIFY2(!Button(lName)->isChecked(), lName);
            QVERIFY2(Button(lName)->isEnabled(), lName);
            QVERIFY2(!Button(lName)->isDefault() && !Button(lName)->autoDefault(), lName);
        }
        for (const char* lName : {"btnStart", "btnPause", "btnParzyste", "btnSearch"}) QVERIFY(Button(lName)->isCheckable());
        for (const char* lName : {"btnLeft", "btnRight"}) QVERIFY(!Button(lName)->isCheckable());
        QCOMPARE(Button("btnStart")->text(), QStringLiteral("Start"));
        QCOMPARE(Button("btnPause")->text(), QStringLiteral("Pauza"));
        QCOMPARE(Button("btnSearch")->text(), QStringLiteral("Szukaj"));
        QCOMPARE(Button("btnParzyste")->text(), QStringLiteral("Parzyste"));
        QCOMPARE(Button("btnLeft")->text(), QString());
        QCOMPARE(lForm.windowTitle(), QStringLiteral("Quillomar Magic"));
        QCOMPARE(lForm.size(), QSize(941, 630));
        QVERIFY(lForm.minimumSize() == QSize(0, 0));
        QVERIFY(lForm.maximumSize() == QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
        QCOMPARE(ReadFile("ShortPrimes.txt"), QByteArray("Liczba pierwsza|Suma|R\xF3wnowag\r\n"));
        QCOMPARE(ReadFile("LongPrimes.txt"), QByteArray("Liczba pierwsza|Suma|R\xF3wnowag|Ci\xB9gi\r\n"));
        QCOMPARE(ReadFile("FlowPurePrimes.txt"), QByteArray());
        QCOMPARE(ReadFile("Odds.txt"), QByteArray());
        QCOMPARE(lForm.Analysis().Primes().Count(), 0);
    }

    void layoutAtDesignSize() {
        MakeForm();
        const std::pair<const char*, QRect> lFixed[] = {
            {"mmoLog", QRect(16, 76, 901, 409)},   {"btnPause", QRect(97, 595, 75, 25)},
            {"btnStart", QRect(16, 595, 75, 25)},  {"edtFirst", QRect(16, 501, 121, 21)},
            {"btnLeft", QRect(143, 499, 29, 25)},  {"btnRight", QRect(178, 499, 29, 25)},
            {"btnSearch", QRect(213, 499, 75, 25)}, {"edtSibiles", QRect(44, 561, 873, 21)},
            {"btnParzyste", QRect(842, 597, 75, 25)},
        };
        for (const auto& [lName, lRect] : lFixed) {
            QCOMPARE(fForm->findChild<QWidget*>(QString::fromLatin1(lName))->geometry(), lRect);
        }
        // Labels: left-aligned ones by their top-left corner, right-aligned
        // ones by their right edge; each sized to its text.
        const std::pair<const char*, QPoint> lLeft[] = {{"lblCurrentPrime", {144, 16}}, {"lblMaxGap", {144, 39}},
                                                        {"lblSibiles", {16, 524}},      {"lblSibilesAll", {16, 540}}};
        for (const auto& [lName, lOrigin] : lLeft) {
            QCOMPARE(Label(lName)->pos(), lOrigin);
            QCOMPARE(Label(lName)->size(), Label(lName)->sizeHint());
        }
        QCOMPARE(Label("cxLabel1")->geometry().x() + Label("cxLabel1")->width(), 138);
        QCOMPARE(Label("cxLabel1")->y(), 39);
        QCOMPARE(Label("cxLabel2")->geometry().x() + Label("cxLabel2")->width(), 137);
        QCOMPARE(Label("cxLabel2")->y(), 16);
        for (const char* lName : {"lblCurrentPrime", "lblMaxGap", "cxLabel1", "cxLabel2", "lblSibiles", "lblSibilesAll"}) {
            const QRect r = Label(lName)->geometry();
            qInfo("%s at %d,%d size %dx%d", lName, r.x(), r.y(), r.width(), r.height());
        }
        for (const char* lName : {"cxLabel1", "cxLabel2"}) {
            QCOMPARE(Label(lName)->size(), Label(lName)->sizeHint());
            QVERIFY(Label(lName)->alignment().testFlag(Qt::AlignRight));
        }
    }

    void fontsAndColours() {
        TForm1& lForm = MakeForm();
        const QFont lWindowFont = lForm.font();
        QCOMPARE(lWindowFont.families().value(0), QStringLiteral("Tahoma"));
        QCOMPARE(lWindowFont.pixelSize(), 11);
        for (const char* lName : {"lblCurrentPrime", "lblMaxGap", "lblSibiles", "lblSibilesAll", "cxLabel1"}) {
            QCOMPARE(Label(lName)->font().families().value(0), QStringLiteral("Tahoma"));
            QCOMPARE(Label(lName)->font().pixelSize(), 11);
        }
        const QFont lLogFont = Log()->font();
        QCOMPARE(lLogFont.families().value(0), QStringLiteral("Courier New"));
        QCOMPARE(lLogFont.pixelSize(), 13);
        QVERIFY(lLogFont.bold());
        // The fallback is a monospace face (QFontInfo::fixedPitch is unreliable
        // for some fontconfig faces, so measure).
        const QFontMetrics lLogMetrics(lLogFont);
        QVERIFY2(lLogMetrics.horizontalAdvance(u'i') == lLogMetrics.horizontalAdvance(u'W'), qPrintable(QFontInfo(lLogFont).family()));
        QCOMPARE(Label("lblCurrentPrime")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        for (const char* lName : {"lblMaxGap", "lblSibiles", "lblSibilesAll"}) {
            QCOMPARE(Label(lName)->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        }
        QCOMPARE(Label("cxLabel1")->palette().color(QPalette::WindowText), lForm.palette().color(QPalette::WindowText));
        QVERIFY(Label("lblCurrentPrime")->autoFillBackground());
        QCOMPARE(Label("lblCurrentPrime")->palette().color(QPalette::Window), lForm.palette().color(QPalette::Button));
        QCOMPARE(lForm.palette().color(QPalette::Window), lForm.palette().color(QPalette::Button));
        QCOMPARE(Log()->palette().color(QPalette::Text), lForm.palette().color(QPalette::Text));
        qInfo("window font: %s, log font: %s", qPrintable(QFontInfo(lWindowFont).family()),
              qPrintable(QFontInfo(lLogFont).family()));
    }

    void tabOrder() {
        TForm1& lForm = MakeForm();
        lForm.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&lForm));
        const char* const lOrder[] = {"mmoLog", "btnLeft", "btnRight", "btnSearch", "edtFirst", "edtSibiles",
                                      "btnStart", "btnPause", "btnParzyste", "mmoLog"};
        Log()->setFocus();
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Log()));
        for (size_t i = 1; i < std::size(lOrder); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(lOrder[i]));
        }
        for (const char* lName : {"lblCurrentPrime", "lblMaxGap", "cxLabel1", "cxLabel2", "lblSibiles", "lblSibilesAll"}) {
            QCOMPARE(Label(lName)->focusPolicy(), Qt::NoFocus);
        }
    }

    void arrowGlyphs() {
        MakeForm();
        for (const char* lName : {"btnLeft", "btnRight"}) {
            QCOMPARE(Button(lName)->iconSize(), QSize(16, 16));
            QVERIFY(!Button(lName)->icon().isNull());
        }
        const QImage lLeft = Button("btnLeft")->icon().pixmap(QSize(16, 16), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage lRight = Button("btnRight")->icon().pixmap(QSize(16, 16), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(lLeft.size(), QSize(16, 16));
        QCOMPARE(lRight.size(), QSize(16, 16));
        auto lBlue = [](const QImage& aImage, int x, int y) {
            const QColor c = aImage.pixelColor(x, y);
            return c.alpha() > 200 && c.blue() > 200 && c.red() < 60 && c.green() < 60;
        };
        auto lEmpty = [](const QImage& aImage, int x, int y) { return aImage.pixelColor(x, y).alpha() < 40; };
        QVERIFY(lBlue(lLeft, 8, 8) && lBlue(lRight, 8, 8));
        QVERIFY(lBlue(lLeft, 10, 4) && lEmpty(lRight, 10, 4));   // a left triangle is tall on its right
        QVERIFY(lBlue(lRight, 5, 4) && lEmpty(lLeft, 5, 4));     // a right one on its left
        QVERIFY(lEmpty(lLeft, 0, 0) && lEmpty(lRight, 15, 15));
    }

    // Resizing grows the log and edtSibiles; anchored edges keep their distances.
    void resizeKeepsAnchors() {
        TForm1& lForm = MakeForm();
        const int lLabel1Right = Label("cxLabel1")->x() + Label("cxLabel1")->width();
        const QPoint lMaxGap = Label("lblMaxGap")->pos();
        for (QSize lSize : {QSize(1200, 800), QSize(800, 560), QSize(941, 630)}) {
            lForm.resize(lSize);
            QTRY_COMPARE(lForm.size(), lSize);
            const int dw = lSize.width() - 941, dh = lSize.height() - 630;
            QCOMPARE(Log()->geometry(), QRect(16, 76, 901 + dw, 409 + dh));
            QCOMPARE(Edit("edtSibiles")->geometry(), QRect(44, 561 + dh, 873 + dw, 21));
            QCOMPARE(Button("btnParzyste")->geometry(), QRect(842 + dw, 597 + dh, 75, 25));
            QCOMPARE(Button("btnStart")->geometry(), QRect(16, 595 + dh, 75, 25));
            QCOMPARE(Button("btnPause")->geometry(), QRect(97, 595 + dh, 75, 25));
            QCOMPARE(Edit("edtFirst")->geometry(), QRect(16, 501 + dh, 121, 21));
            QCOMPARE(Button("btnLeft")->geometry(), QRect(143, 499 + dh, 29, 25));
            QCOMPARE(Button("btnRight")->geometry(), QRect(178, 499 + dh, 29, 25));
            QCOMPARE(Button("btnSearch")->geometry(), QRect(213, 499 + dh, 75, 25));
            QCOMPARE(Label("lblSibiles")->pos(), QPoint(16, 524 + dh));
            QCOMPARE(Label("lblSibilesAll")->pos(), QPoint(16, 540 + dh));
            QCOMPARE(Label("cxLabel1")->x() + Label("cxLabel1")->width(), lLabel1Right + dw);
            QCOMPARE(Label("cxLabel1")->y(), 39);
            QCOMPARE(Label("cxLabel2")->x() + Label("cxLabel2")->width(), 137);
            QCOMPARE(Label("lblMaxGap")->pos(), lMaxGap);
            QCOMPARE(Label("lblCurrentPrime")->pos(), QPoint(144, 16));
        }
    }

    void labelsSizeToTheirText() {
        TForm1& lForm = MakeForm();
        QLabel* lMaxGap = Label("lblMaxGap");
        const int lShort = lMaxGap->width();
        lForm.SetText(TControl::lblMaxGap, "123456789012345678901234567890");
        QCOMPARE(lMaxGap->pos(), QPoint(144, 39));
        QCOMPARE(lMaxGap->size(), lMaxGap->sizeHint());
        QVERIFY(lMaxGap->width() > lShort);
        lForm.SetText(TControl::lblMaxGap, "2");
        QCOMPARE(lMaxGap->size(), lMaxGap->sizeHint());
        QVERIFY(lMaxGap->width() < lShort);
        // After a resize, a label that changes its text keeps its anchors.
        lForm.resize(1100, 700);
        QTRY_COMPARE(lForm.size(), QSize(1100, 700));
        lForm.SetText(TControl::lblSibilesAll, "3;5;7;11;13;17;19;23;29;31;37;41;43;47;");
        QCOMPARE(Label("lblSibilesAll")->pos(), QPoint(16, 540 + 70));
        QCOMPARE(Label("lblSibilesAll")->size(), Label("lblSibilesAll")->sizeHint());
        lForm.SetText(TControl::lblCurrentPrime, "wczytuję");
        QCOMPARE(Label("lblCurrentPrime")->text(), QString::fromUtf8("wczytuję"));
        QCOMPARE(Label("lblCurrentPrime")->size(), Label("lblCurrentPrime")->sizeHint());
        QVERIFY(Label("lblCurrentPrime")->sizeHint().height() > 0);
    }

    // Start, Pause, Start ... to the end; the companion's files byte for byte.
    void startPauseCycleMatchesCompanion() {
        WritePrimes(60);
        MakeForm();
        ClickAtPump(8, Button("btnPause"));
        ClickAtPump(20, Button("btnPause"));
        ClickAtPump(35, Button("btnPause"));
        int lStarts = 0;
        QList<int> lStops;
        while (lStarts < 10) {
            Click(Button("btnStart"));
            ++lStarts;
            lStops << fForm->Analysis().CurrentIndex();
            if (fForm->Analysis().CurrentIndex() >= fForm->Analysis().Primes().Count()) break;
            ExpectReady();
            if (QTest::currentTestFailed()) return;
        }
        QCOMPARE(lStarts, 4);
        QCOMPARE(lStops, (QList<int>{8, 20, 35, 60}));
        ExpectExhausted();
        QCOMPARE(fErrors.size(), size_t(0));
        QCOMPARE(Log()->document()->blockCount(), 60);
        CompareWithCompanion();
    }

    void resumeAnalysesEveryPrimeOnce() {
        WritePrimes(50);
        MakeForm();
        const QList<int> lPausePumps{2, 3, 10, 11, 30};
        for (int p : lPausePumps) ClickAtPump(p, Button("btnPause"));
        QList<int> lStops;
        for (int i = 0; i < 10 && fForm->Analysis().CurrentIndex() < 50; ++i) {
            Click(Button("btnStart"));
            lStops << fForm->Analysis().CurrentIndex();
        }
        // A Pause during a step lets that step finish and count.
        QCOMPARE(lStops, (QList<int>{2, 3, 10, 11, 30, 50}));
        const TPrimeList& lPrimes = fForm->Analysis().Primes();
        const QStringList lLog = LogLines(Log());
        QCOMPARE(lLog.size(), 50);
        const QList<QByteArray> lShort = ReadFile("ShortPrimes.txt").split('\n');
        QCOMPARE(lShort.size(), 51);  // header, 49 records, the empty piece after the last CR LF
        for (int i = 1; i < 50; ++i) {
            QCOMPARE(lLog[i].section(u'|', 0, 0).trimmed().toInt(), lPrimes.Items(i));
            QCOMPARE(lShort[i].split('|').value(0).trimmed().toInt(), lPrimes.Items(i));
        }
        QCOMPARE(ReadFile("FlowPurePrimes.txt").count('\n'), 49);
        CompareWithCompanion();
    }

    // Ready, Loading, Running, Exhausted as the window shows them.
    void runStates() {
        WritePrimes(20);
        MakeForm();
        struct TSeen {
            QString Current;
            bool StartEnabled, StartDown, LogVisible;
        };
        std::map<int, TSeen> lSeen;
        auto lRecord = [&](int aPump) {
            fAtPump[aPump] = [&, aPump] {
                // The caption as the handlers left it; the label itself shows
                // it at the next frame.
                lSeen[aPump] = {QString::fromStdString(fForm->GetText(TControl::lblCurrentPrime)),
                                Button("btnStart")->isEnabled(),
                                Button("btnStart")->isChecked(), Log()->isVisible()};
            };
        };
        lRecord(1);
        lRecord(3);
        Click(Button("btnStart"));
        // Loading: the caption says so, Start is disabled, the log hidden.
        QCOMPARE(lSeen[1].Current, QString::fromUtf8("wczytuję"));
        QVERIFY(!lSeen[1].StartEnabled && lSeen[1].StartDown && !lSeen[1].LogVisible);
        // Running.
        QCOMPARE(lSeen[3].Current, QStringLiteral("5 (2/20)"));
        QVERIFY(!lSeen[3].StartEnabled && lSeen[3].StartDown && !lSeen[3].LogVisible);
        // Exhausted.
        ExpectExhausted();
        QCOMPARE(Label("lblCurrentPrime")->text(), QStringLiteral("71 (19/20)"));
        QCOMPARE(Label("lblMaxGap")->text(), QString::number(fForm->Analysis().MaxGap()));
        // Ready.
        Click(Button("btnPause"));
        ExpectReady();
        // A new Start returns at once: no reload, no step.
        const QByteArray lBefore = ReadFile("ShortPrimes.txt");
        const int lPumps = fPumps;
        Click(Button("btnStart"));
        QCOMPARE(fPumps, lPumps);
        QCOMPARE(fForm->Analysis().Primes().Count(), 20);
        QCOMPARE(ReadFile("ShortPrimes.txt"), lBefore);
        ExpectExhausted();
    }

    // Captions given inside a handler reach the labels once per frame while
    // the run goes on, and every one of them when it ends.
    void captionsFollowTheRunFrameByFrame() {
        WritePrimes(40);
        MakeForm();
        QString lShown, lGiven;
        fAtPump[10] = [] { QTest::qSleep(30); };
        fAtPump[11] = [&] {
            lShown = Label("lblCurrentPrime")->text();
            lGiven = QString::fromStdString(fForm->GetText(TControl::lblCurrentPrime));
        };
        Click(Button("btnStart"));
        QCOMPARE(lShown, lGiven);
        QVERIFY(lShown.contains(u'('));
        QCOMPARE(Label("lblCurrentPrime")->text(), QStringLiteral("173 (39/40)"));
        QCOMPARE(Label("lblCurrentPrime")->size(), Label("lblCurrentPrime")->sizeHint());
        QCOMPARE(Label("lblMaxGap")->text(), QString::number(fForm->Analysis().MaxGap()));
    }

    void radioGroupRules() {
        WriteInput("2\r\n");  // a list of one prime: Start analyses nothing
        TForm1& lForm = MakeForm();
        Edit("edtFirst")->setText(QStringLiteral("x"));  // Search then does nothing
        Click(Button("btnSearch"));
        QVERIFY(Button("btnSearch")->isChecked());

        Click(Button("btnStart"));
        QVERIFY(Button("btnStart")->isChecked());
        QVERIFY(!Button("btnStart")->isEnabled());
        QVERIFY(Log()->isVisible());
        QVERIFY(Button("btnSearch")->isChecked());  // another group

        // Pause releases Start although Start is disabled.
        Click(Button("btnPause"));
        QVERIFY(!Button("btnStart")->isChecked());
        QVERIFY(Button("btnPause")->isChecked());
        QVERIFY(Button("btnStart")->isEnabled());
        QVERIFY(Button("btnSearch")->isChecked());

        // A click on a pressed Pause runs its handler again.
        lForm.SetEnabled(TControl::btnStart, false);
        lForm.SetEnabled(TControl::btnParzyste, false);
        lForm.SetLogVisible(false);
        Click(Button("btnPause"));
        QVERIFY(Button("btnPause")->isChecked());
        QVERIFY(Button("btnStart")->isEnabled());
        QVERIFY(Button("btnParzyste")->isEnabled());
        QVERIFY(Log()->isVisible());

        // Start again: it is pressed before its handler runs (which sees
        // Pause released and so is not stopped by it).
        Click(Button("btnStart"));
        QVERIFY(Button("btnStart")->isChecked() && !Button("btnPause")->isChecked());

        // btnParzyste releases the pressed, disabled Start; the handler sees
        // Pause released; Pause then ends the listing and releases it.
        bool lStartDownInListing = true, lPauseDownInListing = true, lParzysteDownInListing = false;
        fPumps = 0;
        fAtPump[1] = [&] {
            lStartDownInListing = Button("btnStart")->isChecked();
            lPauseDownInListing = Button("btnPause")->isChecked();
            lParzysteDownInListing = Button("btnParzyste")->isChecked();
        };
        ClickAtPump(2, Button("btnPause"));
        Click(Button("btnParzyste"));
        QVERIFY(!lStartDownInListing && !lPauseDownInListing && lParzysteDownInListing);
        QVERIFY(Button("btnPause")->isChecked());
        QVERIFY(!Button("btnParzyste")->isChecked() && !Button("btnStart")->isChecked());
        QVERIFY(Button("btnParzyste")->isEnabled());
        QCOMPARE(ReadFile("Odds.txt"), QByteArray(" 2 4 6 8 10 12 14 16 18 20\r\n 22 24 26 28 30 32 34 36 38 40\r\n"));
        QCOMPARE(Label("lblCurrentPrime")->text(), QStringLiteral("42"));
        // Left and Right are never pressed.
        Click(Button("btnLeft"));
        Click(Button("btnRight"));
        QVERIFY(!Button("btnLeft")->isChecked() && !Button("btnRight")->isChecked());
        QVERIFY(Button("btnPause")->isChecked());
        QCOMPARE(fErrors.size(), size_t(0));
    }

    void disabledButtonIgnoresClicks() {
        TForm1& lForm = MakeForm();  // no primes.txt: a Start handler would fail
        lForm.SetEnabled(TControl::btnStart, false);
        Click(Button("btnStart"));
        QVERIFY(!Button("btnStart")->isChecked());
        QCOMPARE(fErrors.size(), size_t(0));
        lForm.SetEnabled(TControl::btnParzyste, false);
        Click(Button("btnParzyste"));
        QVERIFY(!Button("btnParzyste")->isChecked());
        QCOMPARE(fPumps, 0);
        QCOMPARE(ReadFile("Odds.txt"), QByteArray());
        // A pressed, disabled button keeps its state on a click.
        Click(Button("btnPause"));
        lForm.SetEnabled(TControl::btnParzyste, true);
        ClickAtPump(1, Button("btnPause"));
        Click(Button("btnParzyste"));
        lForm.SetEnabled(TControl::btnPause, false);
        Click(Button("btnPause"));
        QVERIFY(Button("btnPause")->isChecked());
        QCOMPARE(fErrors.size(), size_t(0));
    }

    void keyboardClicks() {
        WriteInput("2\r\n");
        TForm1& lForm = MakeForm();
        lForm.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&lForm));
        Button("btnStart")->setFocus();
        QTest::keyClick(Button("btnStart"), Qt::Key_Space);
        QVERIFY(Button("btnStart")->isChecked());
        QVERIFY(!Button("btnStart")->isEnabled());
        Button("btnPause")->setFocus();
        QTest::keyClick(Button("btnPause"), Qt::Key_Return);
        QVERIFY(Button("btnPause")->isChecked());
        QVERIFY(Button("btnStart")->isEnabled() && !Button("btnStart")->isChecked());
        lForm.SetEnabled(TControl::btnStart, false);
        QTest::keyClick(Button("btnPause"), Qt::Key_Enter);
        QVERIFY(Button("btnStart")->isEnabled());
        Edit("edtFirst")->setText(QStringLiteral("x"));
        Button("btnSearch")->setFocus();
        QTest::keyClick(Button("btnSearch"), Qt::Key_Space);
        QVERIFY(Button("btnSearch")->isChecked());
        QTest::keyClick(Button("btnSearch"), Qt::Key_Return);
        QVERIFY(!Button("btnSearch")->isChecked());
        QVERIFY(lForm.Analysis().SearchBreak());
    }

    void doubleClickIsTwoClicks() {
        TForm1& lForm = MakeForm();
        Edit("edtFirst")->setText(QStringLiteral("x"));
        QPushButton* lSearch = Button("btnSearch");
        int lClicks = 0;
        connect(lSearch, &QAbstractButton::clicked, this, [&] { ++lClicks; });
        const QPoint lCentre = lSearch->rect().center();
        QTest::mousePress(lSearch, Qt::LeftButton, {}, lCentre);
        QTest::mouseRelease(lSearch, Qt::LeftButton, {}, lCentre);
        QMouseEvent lDouble(QEvent::MouseButtonDblClick, QPointF(lCentre), QPointF(lSearch->mapToGlobal(lCentre)),
                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(lSearch, &lDouble);
        QTest::mouseRelease(lSearch, Qt::LeftButton, {}, lCentre);
        QCOMPARE(lClicks, 2);
        QVERIFY(!lSearch->isChecked());
        QVERIFY(lForm.Analysis().SearchBreak());  // the second click released it
    }

    // The Search toggle, after a run over the primes up to 47.
    void searchToggle() {
        WritePrimes(15);
        TForm1& lForm = MakeForm();
        Click(Button("btnStart"));
        ExpectExhausted();
        Type("edtFirst", QStringLiteral("3"));
        Click(Button("btnSearch"));
        QVERIFY(Button("btnSearch")->isChecked());  // a search that ends on its own leaves it pressed
        QVERIFY(!lForm.Analysis().SearchBreak());
        QCOMPARE(Label("lblSibiles")->text(), QStringLiteral("3(5)"));
        QCOMPARE(Label("lblSibilesAll")->text(), QStringLiteral("11;13;23;29;43;"));
        QCOMPARE(Edit("edtSibiles")->text(), QStringLiteral("11(1);13(1);23(0);29(0);43(0);"));
        QCOMPARE(Label("lblSibilesAll")->size(), Label("lblSibilesAll")->sizeHint());
        // The next click only releases it and sets the stop flag.
        Type("edtFirst", QStringLiteral("7"));
        Click(Button("btnSearch"));
        QVERIFY(!Button("btnSearch")->isChecked());
        QVERIFY(lForm.Analysis().SearchBreak());
        QCOMPARE(Label("lblSibiles")->text(), QStringLiteral("3(5)"));
        // The click after that starts a new search.
        Click(Button("btnSearch"));
        QCOMPARE(Label("lblSibiles")->text(), QStringLiteral("7(2)"));
        QCOMPARE(Label("lblSibilesAll")->text(), QStringLiteral("19;37;"));
        QCOMPARE(Edit("edtSibiles")->text(), QStringLiteral("19(1);37(0);"));
        Click(Button("btnSearch"));
        Type("edtFirst", QStringLiteral("47"));
        Click(Button("btnSearch"));
        QCOMPARE(Label("lblSibiles")->text(), QStringLiteral("47(0)"));
        QCOMPARE(Label("lblSibilesAll")->text(), QString());
        QCOMPARE(Edit("edtSibiles")->text(), QString());
        // Not an integer: nothing changes.
        Click(Button("btnSearch"));
        Type("edtFirst", QStringLiteral("abc"));
        Click(Button("btnSearch"));
        QCOMPARE(Label("lblSibiles")->text(), QStringLiteral("47(0)"));
        QCOMPARE(fErrors.size(), size_t(0));
    }

    void searchStoppedAtFirstPump() {
        WritePrimes(15);
        MakeForm();
        Click(Button("btnStart"));
        Type("edtFirst", QStringLiteral("3"));
        fPumps = 0;
        ClickAtPump(1, Button("btnSearch"));
        Click(Button("btnSearch"));
        QVERIFY(!Button("btnSearch")->isChecked());
        QCOMPARE(Label("lblSibiles")->text(), QStringLiteral("3(0)"));
        QCOMPARE(Label("lblSibilesAll")->text(), QString());
        QCOMPARE(Edit("edtSibiles")->text(), QString());
    }

    // Thousands of siblings: edtSibiles takes the whole text (no 32767 cut),
    // it matches the companion, and the user always acts on the current text.
    void searchWithManySiblings() {
        WritePrimes(4000);
        TForm1& lForm = MakeForm();
        Click(Button("btnStart"));
        ExpectExhausted();
        Type("edtFirst", QStringLiteral("2"));
        QString lSeenByUser, lGivenByHandler;
        fPumps = 0;
        fAtPump[2000] = [&] {
            QTest::keyClick(Edit("edtSibiles"), Qt::Key_End);
            lSeenByUser = Edit("edtSibiles")->text();
            lGivenByHandler = QString::fromStdString(lForm.GetText(TControl::edtSibiles));
        };
        Click(Button("btnSearch"));
        QVERIFY(!lSeenByUser.isEmpty());
        QCOMPARE(lSeenByUser, lGivenByHandler);
        int lExit = -1;
        const QList<QByteArray> lLines =
            RunCompanion({QStringLiteral("siblings"), QStringLiteral("2")}, QString::fromStdString(fDir->Path()), &lExit)
                .split('\n');
        QCOMPARE(lExit, 0);
        QVERIFY(lLines.size() >= 3);
        QCOMPARE(Label("lblSibiles")->text(), QString::fromUtf8(lLines[0]));
        QCOMPARE(Label("lblSibilesAll")->text(), QString::fromUtf8(lLines[1]));
        QVERIFY(Edit("edtSibiles")->text().size() > 32767);
        QCOMPARE(Edit("edtSibiles")->text(), QString::fromUtf8(lLines[2]));
    }

    // The arrows step the number field through the prime list.
    void arrowsStepThroughList() {
        WriteInput("2 3 5\r\n");
        MakeForm();
        Click(Button("btnRight"));  // before the list is loaded: nothing
        QCOMPARE(Edit("edtFirst")->text(), QStringLiteral("2"));
        Click(Button("btnStart"));
        Click(Button("btnLeft"));
        QCOMPARE(Edit("edtFirst")->text(), QStringLiteral("2"));
        Click(Button("btnRight"));
        QCOMPARE(Edit("edtFirst")->text(), QStringLiteral("3"));
        Click(Button("btnRight"));
        QCOMPARE(Edit("edtFirst")->text(), QStringLiteral("5"));
        Click(Button("btnRight"));
        QCOMPARE(Edit("edtFirst")->text(), QStringLiteral("5"));
        Click(Button("btnLeft"));
        QCOMPARE(Edit("edtFirst")->text(), QStringLiteral("3"));
        for (const char* lText : {"4", "7a"}) {
            Type("edtFirst", QString::fromLatin1(lText));
            Click(Button("btnLeft"));
            Click(Button("btnRight"));
            QCOMPARE(Edit("edtFirst")->text(), QString::fromLatin1(lText));
        }
        QCOMPARE(fErrors.size(), size_t(0));
    }

    // The even-number listing nested in a run's event pump.
    void evenNumbersNestedInRun() {
        WritePrimes(50);
        MakeForm();
        bool lStartDown = true, lStartEnabled = true, lLogVisible = true;
        ClickAtPump(5, Button("btnParzyste"));
        fAtPump[6] = [&] {
            lStartDown = Button("btnStart")->isChecked();
            lStartEnabled = Button("btnStart")->isEnabled();
            lLogVisible = Log()->isVisible();
        };
        ClickAtPump(10, Button("btnPause"));
        Click(Button("btnStart"));
        QVERIFY(!lStartDown && !lStartEnabled && !lLogVisible);  // released though disabled
        QCOMPARE(fForm->Analysis().CurrentIndex(), 5);  // the interrupted step finished, then Pause ended the run
        const QList<QByteArray> lLines = ReadFile("Odds.txt").split('\n');
        QCOMPARE(lLines.size(), 6);
        QCOMPARE(lLines[0], QByteArray(" 2 4 6 8 10 12 14 16 18 20\r"));
        QCOMPARE(lLines[4], QByteArray(" 82 84 86 88 90 92 94 96 98 100\r"));
        QCOMPARE(Label("lblCurrentPrime")->text(), QStringLiteral("102"));
        ExpectReady();
        QVERIFY(!Button("btnParzyste")->isChecked());
        // The next press continues where the listing stopped.
        ClickAtPump(fPumps + 1, Button("btnPause"));
        Click(Button("btnParzyste"));
        QVERIFY(ReadFile("Odds.txt").endsWith(" 102 104 106 108 110 112 114 116 118 120\r\n"));
        // And the run resumes to its end with the files of the companion.
        Click(Button("btnStart"));
        ExpectExhausted();
        QCOMPARE(fErrors.size(), size_t(0));
        // Odds.txt differs from the companion's (it lists nothing); compare the rest.
        test::TTempDir lOther;
        lOther.Write("primes.txt", fDir->Read("primes.txt"));
        RunCompanion({QStringLiteral("run")}, QString::fromStdString(lOther.Path()));
        for (const char* lName : kReportFiles) {
            if (QByteArray(lName) == "Odds.txt") continue;
            QVERIFY2(ReadFile(QString::fromStdString(fDir->File(lName))) == ReadFile(QString::fromStdString(lOther.File(lName))), lName);
        }
    }

    void errorBoxForMissingPrimes() {
        TForm1& lForm = MakeForm();
        Click(Button("btnStart"));
        QCOMPARE(fErrors.size(), size_t(1));
        QCOMPARE(fErrors[0].Text, QStringLiteral("The specified file was not found."));
        QCOMPARE(fErrors[0].Caption, ApplicationTitle());
        QCOMPARE(fErrors[0].Caption, QStringLiteral("window_tests"));
        QVERIFY(fErrors[0].ParentVisible);
        // Stuck: the window stays open with the state the handler left.
        QVERIFY(lForm.isVisible());
        QVERIFY(Button("btnStart")->isChecked() && !Button("btnStart")->isEnabled());
        QVERIFY(!Log()->isVisible());
        QCOMPARE(Label("lblCurrentPrime")->text(), QString::fromUtf8("wczytuję"));
        QCOMPARE(lForm.HandlerDepth(), 0);
        Click(Button("btnPause"));
        ExpectReady();
        WritePrimes(10);
        Click(Button("btnStart"));
        ExpectExhausted();
        QCOMPARE(fErrors.size(), size_t(1));
    }

    void errorBoxConversionError() {
        WriteInput("2 3,5 7\r\n");
        TForm1& lForm = MakeForm();
        Click(Button("btnStart"));
        QCOMPARE(fErrors.size(), size_t(1));
        QCOMPARE(fErrors[0].Text, QStringLiteral("'3,5' is not a valid integer value for Integer type."));
        QCOMPARE(lForm.Analysis().Primes().Count(), 1);
        QVERIFY(!Log()->isVisible());
        Click(Button("btnPause"));
        Click(Button("btnStart"));  // the list is not empty: no second load, no step
        QCOMPARE(fErrors.size(), size_t(1));
        ExpectExhausted();
    }

    // The default presenter: a real QMessageBox, read and dismissed.
    void realMessageBox() {
        MakeForm(true, true);
        QString lTitle, lText;
        QMessageBox::Icon lIcon = QMessageBox::NoIcon;
        qsizetype lButtons = -1;
        bool lOk = false, lModal = false;
        int lTries = 0;
        std::function<void()> lDismiss = [&] {
            auto* lBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!lBox) {
                if (++lTries < 500) QTimer::singleShot(10, lDismiss);
                return;
            }
            lTitle = lBox->windowTitle();
            lText = lBox->text();
            lIcon = lBox->icon();
            lButtons = lBox->buttons().size();
            lOk = lBox->standardButton(lBox->buttons().value(0)) == QMessageBox::Ok;
            lModal = lBox->isModal();
            lBox->button(QMessageBox::Ok)->click();
        };
        QTimer::singleShot(0, lDismiss);
        Click(Button("btnStart"));
        QCOMPARE(lTitle, QStringLiteral("window_tests"));
        QCOMPARE(lText, QStringLiteral("The specified file was not found."));
        QCOMPARE(lIcon, QMessageBox::Critical);
        QCOMPARE(lButtons, qsizetype(1));
        QVERIFY(lOk && lModal);
        QVERIFY(fForm->isVisible());
    }

    // An error in FormCreate is shown; the window opens all the same.
    void formCreateError() {
        QVERIFY(QDir().mkdir(QStringLiteral("LongPrimes.txt")));
        TForm1& lForm = MakeForm(false);
        QCOMPARE(fErrors.size(), size_t(1));
        QCOMPARE(fErrors[0].Text, QStringLiteral("File access denied."));
        QVERIFY(!fErrors[0].ParentVisible);  // before the window is shown
        QVERIFY(QFile::exists(QStringLiteral("ShortPrimes.txt")));
        QVERIFY(!QFile::exists(QStringLiteral("FlowPrimes.txt")));  // the rest was skipped
        lForm.show();
        QVERIFY(QTest::qWaitForWindowExposed(&lForm));
        QCOMPARE(Label("lblCurrentPrime")->text(), QStringLiteral("lblCurrentPrime"));
        WritePrimes(5);
        Click(Button("btnStart"));
        QCOMPARE(fErrors.size(), size_t(2));
        QCOMPARE(fErrors[1].Text, QStringLiteral("File access denied."));
        QVERIFY(lForm.isVisible());
    }

    // A close request during a run is held until the outermost
    // handler returns; then the window closes and the event loop ends, as
    // the program's would.
    void closeDuringRun() {
        WritePrimes(100);
        TForm1& lForm = MakeForm();
        bool lClosed = true, lVisible = false, lRemembered = false, lClickReturned = false;
        QApplication::setQuitOnLastWindowClosed(true);  // as in the program
        auto lRestore = qScopeGuard([] { QApplication::setQuitOnLastWindowClosed(false); });
        fAtPump[5] = [&] {
            lClosed = lForm.close();
            lVisible = lForm.isVisible();
            lRemembered = lForm.CloseRequested();
        };
        ClickAtPump(10, Button("btnPause"));
        QTimer::singleShot(0, this, [&] {
            Click(Button("btnStart"));
            lClickReturned = true;
        });
        QTimer::singleShot(60000, this, [] { QApplication::exit(1); });  // safety net
        QCOMPARE(QApplication::exec(), 0);  // ended by the closed last window
        QVERIFY(lClickReturned);
        QVERIFY(!lClosed && lVisible && lRemembered);
        QCOMPARE(lForm.Analysis().CurrentIndex(), 10);  // the run went on until Pause
        QVERIFY(Button("btnPause")->isChecked());      // the window stayed usable
        QVERIFY(!lForm.isVisible());                   // closed when the outermost handler returned
        QVERIFY(!lForm.CloseRequested());
    }

    // Painting inside a run is limited to about one frame per 20 ms, and
    // the last frame is painted once the handler has returned.
    void paintingIsThrottledDuringRun() {
        WritePrimes(3000);
        MakeForm();
        QLabel* lCurrent = Label("lblCurrentPrime");
        int lPaints = 0;
        struct TCounter : QObject {
            int* Count;
            bool eventFilter(QObject*, QEvent* aEvent) override {
                if (aEvent->type() == QEvent::Paint) ++*Count;
                return false;
            }
        } lCounter;
        lCounter.Count = &lPaints;
        lCurrent->installEventFilter(&lCounter);
        QElapsedTimer lTimer;
        lTimer.start();
        Click(Button("btnStart"));
        const qint64 lMs = lTimer.elapsed();
        ExpectExhausted();
        qInfo("%d steps in %lld ms, %d paints of lblCurrentPrime", 2999, lMs, lPaints);
        QVERIFY(lPaints >= 1);
        QVERIFY(lPaints <= lMs / 20 + 5);
        const int lDuring = lPaints;
        QTRY_VERIFY(lPaints > lDuring);  // the final frame
        QCOMPARE(lCurrent->text(), QStringLiteral("27449 (2999/3000)"));
    }

    void closeWhenIdle() {
        TForm1& lForm = MakeForm();
        QVERIFY(lForm.close());
        QVERIFY(!lForm.isVisible());
    }

    void logTakesManyLines() {
        TForm1& lForm = MakeForm();
        lForm.SetLogVisible(false);
        constexpr int kLines = 12000;
        QElapsedTimer lTimer;
        QList<qint64> lChunks;
        lTimer.start();
        for (int i = 1; i <= kLines; ++i) {
            lForm.AddLogLine(ShortRecord(i, i % 7 - 3, i % 11));
            if (i % 1000 == 0) lChunks << lTimer.nsecsElapsed(), lTimer.restart();
        }
        lForm.SetLogVisible(true);
        QCOMPARE(Log()->document()->blockCount(), kLines + 1);
        QCOMPARE(Log()->document()->lastBlock().text(), QString::fromStdString(ShortRecord(kLines, kLines % 7 - 3, kLines % 11)));
        QStringList lFigures;
        for (qint64 n : lChunks) lFigures << QString::number(n / 1000.0 / 1000.0, 'f', 2);
        qInfo("log: microseconds per line, per 1000 lines: %s", qPrintable(lFigures.join(u' ')));
    }

    void applicationTitleRule() {
        QCOMPARE(ApplicationTitle(QStringLiteral("/usr/local/bin/Quillomar")), QStringLiteral("Quillomar"));
        QCOMPARE(ApplicationTitle(QStringLiteral("C:\\Program Files\\QUILLOMAR.EXE")), QStringLiteral("Quillomar"));
        QCOMPARE(ApplicationTitle(QStringLiteral("/opt/my.prog.exe")), QStringLiteral("my"));
        QCOMPARE(ApplicationTitle(QStringLiteral("/opt/MY.PROG")), QStringLiteral("My"));
        QCOMPARE(ApplicationTitle(QStringLiteral("quillomar")), QStringLiteral("quillomar"));
        QCOMPARE(ApplicationTitle(QStringLiteral("/x/.hidden")), QString());
        QCOMPARE(ApplicationTitle(), QStringLiteral("window_tests"));
    }
};

QTEST_MAIN(TWindowTest)
#include "Window_test.moc"

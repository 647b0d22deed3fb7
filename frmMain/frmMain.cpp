#include "frmMain.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QResizeEvent>

#include <limits>

#include "Errors.h"
#include "Glyphs.h"
#include "ReportFiles.h"

namespace quillomar::window {

namespace {

constexpr TAnchors kLeftTop = TAnchor::Left | TAnchor::Top;
constexpr TAnchors kLeftBottom = TAnchor::Left | TAnchor::Bottom;

// Button face and the colours clRed and clBlue of the original.
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

// "Tahoma" 8 point and "Courier New" 10 point at 96 dpi are 11 px and 13 px
// character heights; they are asked for in pixels, which Qt scales to the
// monitor's resolution. A missing family falls back by the style hint.
QFont TahomaFont() {
    QFont lFont;
    lFont.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("sans-serif")});
    lFont.setStyleHint(QFont::SansSerif);
    lFont.setPixelSize(11);
    return lFont;
}

QFont CourierNewBoldFont() {
    QFont lFont;
    lFont.setFamilies({QStringLiteral("Courier New"), QStringLiteral("monospace")});
    lFont.setStyleHint(QFont::TypeWriter);
    lFont.setFixedPitch(true);
    lFont.setPixelSize(13);
    lFont.setBold(true);
    return lFont;
}

void SetTextColour(QWidget* aWidget, const QColor& aColour) {
    QPalette lPalette = aWidget->palette();
    lPalette.setColor(QPalette::WindowText, aColour);
    aWidget->setPalette(lPalette);
}

QString FromUtf8(std::string_view aText) { return QString::fromUtf8(aText.data(), qsizetype(aText.size())); }

}  // namespace

TForm1::TForm1(std::unique_ptr<TErrorPresenter> aPresenter, std::string aDirectory, QWidget* aParent)
    : QWidget(aParent),
      fPresenter(aPresenter ? std::move(aPresenter) : std::make_unique<TMessageBoxPresenter>()),
      fAnalysis(*this, std::move(aDirectory)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quillomar Magic"));
    setWindowIcon(ProgramIcon());
    setFont(TahomaFont());
    QPalette lPalette = palette();
    lPalette.setColor(QPalette::Window, lPalette.color(QPalette::Button));  // button face
    setPalette(lPalette);
    resize(kClientWidth, kClientHeight);
    CreateControls();
    fLayout.Apply(size());

    connect(btnStart, &QAbstractButton::clicked, this, &TForm1::btnStartClick);
    connect(btnPause, &QAbstractButton::clicked, this, &TForm1::btnPauseClick);
    connect(btnParzyste, &QAbstractButton::clicked, this, &TForm1::btnParzysteClick);
    connect(btnSearch, &QAbstractButton::clicked, this, &TForm1::btnSearchClick);
    connect(btnLeft, &QAbstractButton::clicked, this, &TForm1::btnLeftClick);
    connect(btnRight, &QAbstractButton::clicked, this, &TForm1::btnRightClick);

    Guard([this] { fAnalysis.FormCreate(); });
}

TForm1::~TForm1() = default;

QLabel* TForm1::CreateLabel(const char* aName, QPoint aOrigin, TAnchors aAnchors, const QString& aText,
                            bool aRightAligned) {
    auto* lLabel = new QLabel(this);
    lLabel->setObjectName(QString::fromLatin1(aName));
    lLabel->setTextFormat(Qt::PlainText);
    lLabel->setWordWrap(false);
    lLabel->setAlignment((aRightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    lLabel->setText(aText);
    // For a right-aligned label aOrigin.x() is its right edge.
    fLayout.Add(lLabel, QRect(aOrigin, QSize(0, 0)), aAnchors);
    if (aRightAligned) fLayout.SetSize(lLabel, QSize(0, 0), false);
    AutoSize(lLabel);
    return lLabel;
}

void TForm1::AutoSize(QLabel* aLabel) {
    const bool lRightAligned = aLabel->alignment().testFlag(Qt::AlignRight);
    fLayout.SetSize(aLabel, aLabel->sizeHint(), lRightAligned);
    fLayout.Apply(aLabel, size());
}

void TForm1::CreateControls() {
    mmoLog = new QPlainTextEdit(this);
    mmoLog->setObjectName(QStringLiteral("mmoLog"));
    mmoLog->setReadOnly(true);
    mmoLog->setUndoRedoEnabled(false);
    mmoLog->setTabChangesFocus(true);
    mmoLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    mmoLog->setWordWrapMode(QTextOption::NoWrap);
    mmoLog->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmoLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmoLog->setFont(CourierNewBoldFont());
    mmoLog->setPlainText(FromUtf8(kLongHeader));
    fLayout.Add(mmoLog, QRect(16, 76, 901, 409), TAnchor::Left | TAnchor::Top | TAnchor::Right | TAnchor::Bottom);

    lblCurrentPrime = CreateLabel("lblCurrentPrime", {144, 16}, kLeftTop, QStringLiteral("lblCurrentPrime"), false);
    SetTextColour(lblCurrentPrime, kRed);
    lblCurrentPrime->setAutoFillBackground(true);  // button-face background
    {
        QPalette lPalette = lblCurrentPrime->palette();
        lPalette.setColor(QPalette::Window, lPalette.color(QPalette::Button));
        lblCurrentPrime->setPalette(lPalette);
    }
    lblMaxGap = CreateLabel("lblMaxGap", {144, 39}, kLeftTop, QStringLiteral("lblMaxGap"), false);
    SetTextColour(lblMaxGap, kBlue);
    cxLabel1 = CreateLabel("cxLabel1", {138, 39}, TAnchor::Top | TAnchor::Right,
                           QString::fromUtf8("Największa różnica"), true);
    cxLabel2 = CreateLabel("cxLabel2", {137, 16}, kLeftTop, QString::fromUtf8("Bieżąca liczba pierwsza"), true);

    btnPause = new TSpeedButton(this, 1);
    btnPause->setObjectName(QStringLiteral("btnPause"));
    btnPause->setText(QStringLiteral("Pauza"));
    fLayout.Add(btnPause, QRect(97, 595, 75, 25), kLeftBottom);

    btnStart = new TSpeedButton(this, 1);
    btnStart->setObjectName(QStringLiteral("btnStart"));
    btnStart->setText(QStringLiteral("Start"));
    fLayout.Add(btnStart, QRect(16, 595, 75, 25), kLeftBottom);

    edtFirst = new QLineEdit(this);
    edtFirst->setObjectName(QStringLiteral("edtFirst"));
    edtFirst->setText(QStringLiteral("2"));
    edtFirst->setMaxLength(std::numeric_limits<int>::max());
    edtFirst->installEventFilter(this);
    fLayout.Add(edtFirst, QRect(16, 501, 121, 21), kLeftBottom);

    btnLeft = new TSpeedButton(this);
    btnLeft->setObjectName(QStringLiteral("btnLeft"));
    btnLeft->setIcon(TriangleGlyph(TGlyphDirection::Left));
    btnLeft->setIconSize(QSize(16, 16));
    fLayout.Add(btnLeft, QRect(143, 499, 29, 25), kLeftBottom);

    btnRight = new TSpeedButton(this);
    btnRight->setObjectName(QStringLiteral("btnRight"));
    btnRight->setIcon(TriangleGlyph(TGlyphDirection::Right));
    btnRight->setIconSize(QSize(16, 16));
    fLayout.Add(btnRight, QRect(178, 499, 29, 25), kLeftBottom);

    btnSearch = new TSpeedButton(this, 2, true);
    btnSearch->setObjectName(QStringLiteral("btnSearch"));
    btnSearch->setText(QStringLiteral("Szukaj"));
    fLayout.Add(btnSearch, QRect(213, 499, 75, 25), kLeftBottom);

    edtSibiles = new QLineEdit(this);
    edtSibiles->setObjectName(QStringLiteral("edtSibiles"));
    // Unlimited, as the search appends an entry per sibling (Qt's default cuts at 32767).
    edtSibiles->setMaxLength(std::numeric_limits<int>::max());
    edtSibiles->installEventFilter(this);
    fLayout.Add(edtSibiles, QRect(44, 561, 873, 21), TAnchor::Left | TAnchor::Right | TAnchor::Bottom);

    lblSibiles = CreateLabel("lblSibiles", {16, 524}, kLeftBottom, QStringLiteral("???"), false);
    SetTextColour(lblSibiles, kBlue);
    lblSibilesAll = CreateLabel("lblSibilesAll", {16, 540}, kLeftBottom, QStringLiteral("???"), false);
    SetTextColour(lblSibilesAll, kBlue);

    btnParzyste = new TSpeedButton(this, 1);
    btnParzyste->setObjectName(QStringLiteral("btnParzyste"));
    btnParzyste->setText(QStringLiteral("Parzyste"));
    fLayout.Add(btnParzyste, QRect(842, 597, 75, 25), TAnchor::Right | TAnchor::Bottom);

    // Tab order 4 to 14 of the table; the labels take no focus.
    QWidget* const lTabOrder[] = {mmoLog, btnLeft, btnRight, btnSearch, edtFirst, edtSibiles,
                                  btnStart, btnPause, btnParzyste};
    for (size_t i = 1; i < std::size(lTabOrder); ++i) setTabOrder(lTabOrder[i - 1], lTabOrder[i]);
    mmoLog->setFocus(Qt::OtherFocusReason);
}

template <class F>
void TForm1::Guard(F&& aHandler) {
    ++fHandlerDepth;
    try {
        aHandler();
    } catch (const std::exception& e) {
        ShowError(e.what());
    } catch (...) {
        ShowError("Unknown error");
    }
    --fHandlerDepth;
    if (fHandlerDepth == 0) FlushTexts();
    if (fHandlerDepth == 0 && fPaintDeferred) {
        QCoreApplication::postEvent(this, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
    }
    if (fHandlerDepth == 0 && fCloseRequested) {
        fCloseRequested = false;
        close();
    }
}

void TForm1::ShowError(const std::string& aMessage) {
    FlushTexts();  // the box shows over the texts the handler left
    fPresenter->ShowError(this, ApplicationTitle(), QString::fromStdString(ErrorBoxText(aMessage)));
}

void TForm1::btnStartClick() { Guard([this] { fAnalysis.btnStartClick(); }); }
void TForm1::btnPauseClick() { Guard([this] { fAnalysis.btnPauseClick(); }); }
void TForm1::btnParzysteClick() { Guard([this] { fAnalysis.btnParzysteClick(); }); }
void TForm1::btnSearchClick() { Guard([this] { fAnalysis.btnSearchClick(); }); }
void TForm1::btnLeftClick() { Guard([this] { fAnalysis.btnLeftClick(); }); }
void TForm1::btnRightClick() { Guard([this] { fAnalysis.btnRightClick(); }); }

QWidget* TForm1::Control(TControl aControl) const {
    switch (aControl) {
        case TControl::lblCurrentPrime: return lblCurrentPrime;
        case TControl::lblMaxGap: return lblMaxGap;
        case TControl::lblSibiles: return lblSibiles;
        case TControl::lblSibilesAll: return lblSibilesAll;
        case TControl::edtFirst: return edtFirst;
        case TControl::edtSibiles: return edtSibiles;
        case TControl::mmoLog: return mmoLog;
        case TControl::btnStart: return btnStart;
        case TControl::btnPause: return btnPause;
        case TControl::btnParzyste: return btnParzyste;
        case TControl::btnSearch: return btnSearch;
    }
    return nullptr;
}

void TForm1::SetText(TControl aControl, const std::string& aText) {
    QWidget* lControl = Control(aControl);
    const QString lText = QString::fromStdString(aText);
    if (auto* lLabel = qobject_cast<QLabel*>(lControl)) {
        if (fHandlerDepth > 0) {
            fPendingLabels[lLabel] = lText;
        } else if (lLabel->text() != lText) {
            lLabel->setText(lText);
            AutoSize(lLabel);
        }
    } else if (auto* lEdit = qobject_cast<QLineEdit*>(lControl)) {
        if (fHandlerDepth > 0) {
            fPendingEdits[lEdit] = aText;
        } else {
            lEdit->setText(lText);
        }
    } else if (auto* lButton = qobject_cast<QAbstractButton*>(lControl)) {
        lButton->setText(lText);
    } else if (lControl == mmoLog) {
        mmoLog->setPlainText(lText);
    }
}

std::string TForm1::GetText(TControl aControl) {
    QWidget* lControl = Control(aControl);
    if (auto* lLabel = qobject_cast<QLabel*>(lControl)) {
        auto lPending = fPendingLabels.find(lLabel);
        return (lPending != fPendingLabels.end() ? lPending->second : lLabel->text()).toStdString();
    }
    if (auto* lEdit = qobject_cast<QLineEdit*>(lControl)) {
        auto lPending = fPendingEdits.find(lEdit);
        if (lPending != fPendingEdits.end()) return lPending->second;
        return lEdit->text().toStdString();
    }
    if (auto* lButton = qobject_cast<QAbstractButton*>(lControl)) return lButton->text().toStdString();
    if (lControl == mmoLog) {
        FlushLog();
        return mmoLog->toPlainText().toStdString();
    }
    return {};
}

void TForm1::AddLogLine(const std::string& aLine) {
    if (fLogHidden) {
        fPendingLog.append(QString::fromStdString(aLine));
    } else {
        mmoLog->appendPlainText(QString::fromStdString(aLine));
    }
}

void TForm1::FlushLog() {
    if (fPendingLog.isEmpty()) return;
    // One paragraph per line: appendPlainText turns the line breaks into
    // block separators.
    mmoLog->appendPlainText(fPendingLog.join(u'\n'));
    fPendingLog.clear();
}

void TForm1::SetLogVisible(bool aVisible) {
    fLogHidden = !aVisible;
    if (aVisible) FlushLog();
    mmoLog->setVisible(aVisible);
}

void TForm1::SetEnabled(TControl aControl, bool aEnabled) {
    if (QWidget* lControl = Control(aControl)) lControl->setEnabled(aEnabled);
}

bool TForm1::IsPauseDown() { return btnPause->isChecked(); }

bool TForm1::IsSearchDown() { return btnSearch->isChecked(); }

void TForm1::FlushTexts() {
    if (fPendingEdits.empty() && fPendingLabels.empty()) return;  // the next frame's clock keeps running
    auto lEdits = std::move(fPendingEdits);
    fPendingEdits.clear();
    for (auto& [lEdit, lText] : lEdits) lEdit->setText(QString::fromStdString(lText));
    auto lLabels = std::move(fPendingLabels);
    fPendingLabels.clear();
    for (auto& [lLabel, lText] : lLabels) {
        if (lLabel->text() == lText) continue;
        lLabel->setText(lText);
        AutoSize(lLabel);
    }
    fLastTextFlush.start();
}

bool TForm1::eventFilter(QObject* aWatched, QEvent* aEvent) {
    if (!fPendingEdits.empty() && fPendingEdits.count(qobject_cast<QLineEdit*>(aWatched))) {
        switch (aEvent->type()) {
            case QEvent::KeyPress:
            case QEvent::ShortcutOverride:
            case QEvent::InputMethod:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::FocusIn:
                FlushTexts();  // the user acts on the text the handlers gave it
                break;
            default: break;
        }
    }
    return QWidget::eventFilter(aWatched, aEvent);
}

void TForm1::ProcessMessages() {
    if (!fLastTextFlush.isValid() || fLastTextFlush.elapsed() >= kPaintIntervalMs) FlushTexts();
    if (fPumpHook) fPumpHook();
    QCoreApplication::processEvents();
    if (fPaintDeferred && fLastPaint.elapsed() >= kPaintIntervalMs) {
        QEvent lUpdate(QEvent::UpdateRequest);
        QCoreApplication::sendEvent(this, &lUpdate);
    }
}

bool TForm1::event(QEvent* aEvent) {
    if (aEvent->type() == QEvent::UpdateRequest) {
        if (fHandlerDepth > 0 && fLastPaint.isValid() && fLastPaint.elapsed() < kPaintIntervalMs) {
            fPaintDeferred = true;  // painted at a later pump, see ProcessMessages
            return true;
        }
        fPaintDeferred = false;
        fLastPaint.start();
    }
    return QWidget::event(aEvent);
}

void TForm1::resizeEvent(QResizeEvent* aEvent) {
    QWidget::resizeEvent(aEvent);
    fLayout.Apply(aEvent->size());
}

void TForm1::closeEvent(QCloseEvent* aEvent) {
    if (fHandlerDepth > 0) {
        // Held until the outermost handler returns (see Guard).
        fCloseRequested = true;
        aEvent->ignore();
        return;
    }
    QWidget::closeEvent(aEvent);
}

}  // namespace quillomar::window

// TForm1, the main window: every control of the layout with
// its position, size, anchors, initial text, font, colour and tab order; the
// window operations the analysis calls; and the wiring of the handlers,
// each entered through one guard that shows escaping errors in the error
// box. The analysis state and all handler logic live in TAnalysis.
#pragma once

#include <QElapsedTimer>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "Analysis.h"
#include "Anchors.h"
#include "ErrorPresenter.h"
#include "SpeedButton.h"
#include "WindowOps.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace quillomar::window {

class TForm1 : public QWidget, public TWindowOps {
    Q_OBJECT
public:
    // The client area's size at 96 pixels per inch.
    static constexpr int kClientWidth = 941;
    static constexpr int kClientHeight = 630;

    // Builds the controls, then runs FormCreate through the guard (an error
    // there is shown and the window is created all the same). aPresenter
    // null: the QMessageBox presenter. aDirectory: where the analysis finds
    // primes.txt and writes its report files; the program uses ".".
    explicit TForm1(std::unique_ptr<TErrorPresenter> aPresenter = nullptr, std::string aDirectory = ".",
                    QWidget* aParent = nullptr);
    ~TForm1() override;

    // TWindowOps
    void SetText(TControl aControl, const std::string& aText) override;
    std::string GetText(TControl aControl) override;
    void AddLogLine(const std::string& aLine) override;
    void SetLogVisible(bool aVisible) override;
    void SetEnabled(TControl aControl, bool aEnabled) override;
    bool IsPauseDown() override;
    bool IsSearchDown() override;
    void ProcessMessages() override;

    // The control of aControl (its objectName is ControlName(aControl)).
    QWidget* Control(TControl aControl) const;

    TAnalysis& Analysis() noexcept { return fAnalysis; }
    // Handlers running now (more than one when nested in an event pump).
    int HandlerDepth() const noexcept { return fHandlerDepth; }
    // A close request is waiting for the outermost handler to return.
    bool CloseRequested() const noexcept { return fCloseRequested; }
    // Test seam: called at every event pump of the analysis, before the
    // pending events are handled.
    void SetPumpHook(std::function<void()> aHook) { fPumpHook = std::move(aHook); }

    // The handlers, each through the guard.
    void btnStartClick();
    void btnPauseClick();
    void btnParzysteClick();
    void btnSearchClick();
    void btnLeftClick();
    void btnRightClick();

protected:
    bool event(QEvent* aEvent) override;
    bool eventFilter(QObject* aWatched, QEvent* aEvent) override;
    void resizeEvent(QResizeEvent* aEvent) override;
    void closeEvent(QCloseEvent* aEvent) override;

private:
    template <class F>
    void Guard(F&& aHandler);
    void ShowError(const std::string& aMessage);
    void CreateControls();
    QLabel* CreateLabel(const char* aName, QPoint aOrigin, TAnchors aAnchors, const QString& aText, bool aRightAligned);
    void AutoSize(QLabel* aLabel);
    void FlushLog();
    void FlushTexts();

    // Controls, in declaration order.
    QPlainTextEdit* mmoLog = nullptr;
    QLabel* lblCurrentPrime = nullptr;
    QLabel* lblMaxGap = nullptr;
    QLabel* cxLabel1 = nullptr;
    QLabel* cxLabel2 = nullptr;
    TSpeedButton* btnPause = nullptr;
    TSpeedButton* btnStart = nullptr;
    QLineEdit* edtFirst = nullptr;
    TSpeedButton* btnLeft = nullptr;
    TSpeedButton* btnRight = nullptr;
    TSpeedButton* btnSearch = nullptr;
    QLineEdit* edtSibiles = nullptr;
    QLabel* lblSibiles = nullptr;
    QLabel* lblSibilesAll = nullptr;
    TSpeedButton* btnParzyste = nullptr;

    TAnchorLayout fLayout{QSize(kClientWidth, kClientHeight)};
    std::unique_ptr<TErrorPresenter> fPresenter;
    std::function<void()> fPumpHook;
    int fHandlerDepth = 0;
    bool fCloseRequested = false;
    // Lines added while the log is hidden, appended in one go when it is
    // shown (or read): a run adds one per prime with the log hidden.
    QStringList fPendingLog;
    bool fLogHidden = false;
    // Painting inside a handler's loop is limited to one frame per
    // kPaintInterval; events other than painting are all handled at every
    // pump. The frame held back is painted at the next pump after the
    // interval or when the outermost handler returns.
    static constexpr qint64 kPaintIntervalMs = 20;
    QElapsedTimer fLastPaint;
    bool fPaintDeferred = false;
    // Texts given to an edit inside a handler, not shown yet: a search with
    // thousands of siblings extends edtSibiles once per sibling, and laying
    // out its growing text at every pump would cost seconds. They are shown
    // once per kPaintInterval, before the user acts on the edit, and when the
    // outermost handler returns; GetText reads them meanwhile.
    std::map<QLineEdit*, std::string> fPendingEdits;
    // Captions given to a label inside a handler, held the same way: a run
    // changes lblCurrentPrime at every step, and sizing the label to each
    // caption costs more than the pump. GetText reads them meanwhile.
    std::map<QLabel*, QString> fPendingLabels;
    QElapsedTimer fLastTextFlush;
    TAnalysis fAnalysis;
};

}  // namespace quillomar::window

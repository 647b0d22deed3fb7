// A push button with the pressed-state rules of the window: buttons sharing a
// group index (> 0) under one parent form a radio group in which a click
// presses the clicked button and releases every other pressed one (disabled
// ones included) before the clicked() signal runs the handler; with
// all-up allowed a click on the pressed button releases it. Group 0 is a
// plain button that is never pressed. Space and Enter click it while it has
// the focus.
#pragma once

#include <QPushButton>

namespace quillomar::window {

class TSpeedButton : public QPushButton {
    Q_OBJECT
public:
    explicit TSpeedButton(QWidget* aParent, int aGroupIndex = 0, bool aAllowAllUp = false);

    int GroupIndex() const noexcept { return fGroupIndex; }
    bool AllowAllUp() const noexcept { return fAllowAllUp; }

protected:
    void nextCheckState() override;
    void keyPressEvent(QKeyEvent* aEvent) override;

private:
    int fGroupIndex;
    bool fAllowAllUp;
};

}  // namespace quillomar::window

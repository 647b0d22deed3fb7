#include "SpeedButton.h"

#include <QKeyEvent>

namespace quillomar::window {

TSpeedButton::TSpeedButton(QWidget* aParent, int aGroupIndex, bool aAllowAllUp)
    : QPushButton(aParent), fGroupIndex(aGroupIndex), fAllowAllUp(aAllowAllUp) {
    setCheckable(aGroupIndex > 0);
    setAutoDefault(false);
    setDefault(false);
}

// Called by QAbstractButton's click before clicked() is emitted, so the
// handler sees the new state.
void TSpeedButton::nextCheckState() {
    if (fGroupIndex <= 0) return;
    const bool lPress = !(isChecked() && fAllowAllUp);
    setChecked(lPress);
    if (!lPress || !parentWidget()) return;
    for (TSpeedButton* lOther : parentWidget()->findChildren<TSpeedButton*>(Qt::FindDirectChildrenOnly)) {
        if (lOther != this && lOther->fGroupIndex == fGroupIndex && lOther->isChecked()) {
            lOther->setChecked(false);
        }
    }
}

void TSpeedButton::keyPressEvent(QKeyEvent* aEvent) {
    // Enter clicks the focused button; no button is a dialog default.
    if ((aEvent->key() == Qt::Key_Return || aEvent->key() == Qt::Key_Enter) && aEvent->modifiers() == Qt::NoModifier) {
        if (!aEvent->isAutoRepeat()) click();
        aEvent->accept();
        return;
    }
    QPushButton::keyPressEvent(aEvent);
}

}  // namespace quillomar::window

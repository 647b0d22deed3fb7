// The error box. Every handler of the window is entered through one guard
// that turns an escaping exception into a call of the presenter; the default
// presenter shows a modal QMessageBox with a stop icon and one OK button.
// Tests inject a presenter of their own to read and dismiss it.
#pragma once

#include <QString>

class QWidget;

namespace quillomar::window {

class TErrorPresenter {
public:
    virtual ~TErrorPresenter() = default;
    // Shows aText under aCaption and returns once it is dismissed.
    virtual void ShowError(QWidget* aParent, const QString& aCaption, const QString& aText) = 0;
};

class TMessageBoxPresenter : public TErrorPresenter {
public:
    void ShowError(QWidget* aParent, const QString& aCaption, const QString& aText) override;
};

// The application title, left at its default: the program file's name without
// its directory and without everything from its first "." on, every
// character after the first in lower case ("/opt/bin/QUILLOMAR.exe" gives
// "Quillomar").
QString ApplicationTitle(const QString& aProgramFilePath);

// ApplicationTitle of the running program.
QString ApplicationTitle();

}  // namespace quillomar::window

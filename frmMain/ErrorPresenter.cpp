#include "ErrorPresenter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <algorithm>

namespace quillomar::window {

void TMessageBoxPresenter::ShowError(QWidget* aParent, const QString& aCaption, const QString& aText) {
    QMessageBox lBox(QMessageBox::Critical, aCaption, aText, QMessageBox::Ok, aParent);
    lBox.setObjectName(QStringLiteral("errorBox"));
    lBox.setTextFormat(Qt::PlainText);
    lBox.setDefaultButton(QMessageBox::Ok);
    lBox.setEscapeButton(QMessageBox::Ok);
    lBox.exec();
}

QString ApplicationTitle(const QString& aProgramFilePath) {
    QString lName = aProgramFilePath;
    const qsizetype lSlash = std::max(lName.lastIndexOf(u'/'), lName.lastIndexOf(u'\\'));
    if (lSlash >= 0) lName = lName.mid(lSlash + 1);
    const qsizetype lDot = lName.indexOf(u'.');
    if (lDot >= 0) lName.truncate(lDot);
    if (lName.size() > 1) lName = lName.left(1) + lName.mid(1).toLower();
    return lName;
}

QString ApplicationTitle() { return ApplicationTitle(QCoreApplication::applicationFilePath()); }

}  // namespace quillomar::window

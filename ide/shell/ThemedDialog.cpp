#include "ide/shell/ThemedDialog.h"

#include "ide/shell/TranslateWidgets.h"
#include "ide/shell/UiLanguage.h"

namespace zov::shell {

ThemedDialogBase::ThemedDialogBase(QWidget* parent) : QDialog(parent) {}

void ThemedDialogBase::InitialiseOnce()
{
    if (initialised_)
        return;
    initialised_ = true;
    TranslateDialog(*this, UiLanguage());
    OnInitDialog();
}

void ThemedDialogBase::setVisible(bool visible)
{
    if (visible)
        InitialiseOnce();
    QDialog::setVisible(visible);
}

ThemedPropertyPageBase::ThemedPropertyPageBase(const QString& caption, QWidget* parent) : QWidget(parent)
{
    if (!caption.isEmpty())
        setWindowTitle(caption);
}

void ThemedPropertyPageBase::InitialiseOnce()
{
    if (initialised_)
        return;
    initialised_ = true;
    TranslateDialog(*this, UiLanguage());
    OnInitDialog();
}

void ThemedPropertyPageBase::setVisible(bool visible)
{
    if (visible)
        InitialiseOnce();
    QWidget::setVisible(visible);
}

}  // namespace zov::shell

#include "ide/interfaces/DialogParts.h"

#include "ide/shell/ObjectNames.h"
#include "ide/shell/UiLanguage.h"

#include <QGridLayout>
#include <QHBoxLayout>

namespace zov::interfaces {

QString TT(const char* text)
{
    return shell::TranslateLabel(QString::fromUtf8(text));
}

QLabel* MakeSunkenStatic(QWidget& parent, int id)
{
    auto* label = new QLabel(&parent);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setTextFormat(Qt::PlainText);
    shell::SetControlId(*label, id);
    return label;
}

QPushButton* MakeButton(QWidget& parent, int id, const QString& text)
{
    auto* button = new QPushButton(text, &parent);
    shell::SetControlId(*button, id);
    button->setAutoDefault(false);
    return button;
}

QHBoxLayout* MakeButtonRow(QWidget& parent, QPushButton*& ok, QPushButton*& cancel)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    ok = MakeButton(parent, 1, QStringLiteral("OK"));
    ok->setDefault(true);
    cancel = MakeButton(parent, 2, QStringLiteral("Annuler"));
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

void InterfaceRow::Build(QWidget& parent, QGridLayout& grid, int row)
{
    grid.addWidget(new QLabel(QStringLiteral("Interface :"), &parent), row, 0);
    combo = new QComboBox(&parent);
    shell::SetControlId(*combo, 1231);
    single = MakeSunkenStatic(parent, 1263);
    grid.addWidget(combo, row, 1, 1, -1);
    grid.addWidget(single, row, 1, 1, -1);
}

void InterfaceRow::Fill(const QStringList& offered, int& choice)
{
    names = offered;
    if (names.size() == 1) {
        combo->hide();
        single->setText(names.front());
        single->show();
        return;
    }
    combo->clear();
    combo->addItems(names);
    combo->setCurrentIndex(names.isEmpty() ? -1 : 0);
    choice = 0;
    single->hide();
}

void InterfaceRow::TakeChoice(int& choice) const
{
    if (names.size() > 1)
        choice = combo->currentIndex() - 1;
}

}  // namespace zov::interfaces

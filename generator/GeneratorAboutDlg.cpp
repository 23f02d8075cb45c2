#include "generator/GeneratorAboutDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

static void InitAboutResources()
{
    Q_INIT_RESOURCE(vantoro);
}

namespace zov::vantoro {

CGeneratorAboutDlg::CGeneratorAboutDlg(QWidget* parent) : QDialog(parent)
{
    InitAboutResources();
    setObjectName("about");
    setWindowTitle(QString::fromUtf8("A propos de Vantoro"));
    const QIcon icon(":/vantoro/vantoro.png");
    setWindowIcon(icon);

    auto* iconLabel = new QLabel(this);
    iconLabel->setPixmap(icon.pixmap(48, 48));
    iconLabel->setAlignment(Qt::AlignTop);
    auto* text = new QLabel(QString::fromUtf8("Vantoro version 0.9.9"), this);
    text->setObjectName(kTextName);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* row = new QHBoxLayout;
    row->setSpacing(16);
    row->addWidget(iconLabel);
    row->addWidget(text, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace zov::vantoro

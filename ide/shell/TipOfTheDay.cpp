#include "ide/shell/TipOfTheDay.h"

#include "ide/shell/ObjectNames.h"
#include "ide/shell/ShellPictures.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/core/ApplicationCore.h"
#include "ide/shell/core/StringTable.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace zov::shell {
namespace {

// The white band at the top: the bulb, and "Le saviez-vous ?" beside it.
class TipsHeading : public QWidget {
public:
    TipsHeading(QString text, QWidget* parent) : QWidget(parent), picture_(TipsPicture()), text_(std::move(text))
    {
        SetControlId(*this, TipOfTheDay::kHeadingId);
        setFixedHeight(picture_.height());
        setAccessibleName(text_);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.drawPixmap(0, 0, picture_);
        QFont heading = font();
        heading.setBold(true);
        heading.setPointSizeF(heading.pointSizeF() * 1.3);
        painter.setFont(heading);
        painter.setPen(Qt::black);
        painter.drawText(QRect(picture_.width() + 4, 0, width() - picture_.width() - 4, picture_.height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text_);
    }

private:
    QPixmap picture_;
    QString text_;
};

}  // namespace

TipOfTheDay::TipOfTheDay(const Settings& settings, const std::string& tipsFileName, Prompter& prompter,
                         Translate translate, QWidget* parent)
    : ThemedDialogBase(parent)
{
    const QString heading = QString::fromStdString(translate(LoadStringResource(string_ids::kTipsDidYouKnow)));
    tips_ = std::make_unique<TipsFile>(settings, tipsFileName, prompter, std::move(translate));
    showAtStartup_ = tips_->ShowAtStartup();

    setWindowTitle(QStringLiteral("Astuce du jour"));
    auto* layout = new QVBoxLayout(this);
    auto* panel = new QWidget(this);
    panel->setAutoFillBackground(true);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(white);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(8, 8, 8, 8);
    panelLayout->addWidget(new TipsHeading(heading, panel));
    tipText_ = new QLabel(panel);
    SetControlId(*tipText_, kTipTextId);
    tipText_->setWordWrap(true);
    tipText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    tipText_->setTextFormat(Qt::PlainText);
    tipText_->setMinimumHeight(tipText_->fontMetrics().height() * 5);
    tipText_->setContentsMargins(56, 4, 4, 4);
    panelLayout->addWidget(tipText_, 1);
    layout->addWidget(panel, 1);

    auto* bottom = new QHBoxLayout;
    showCheck_ = new QCheckBox(QStringLiteral("A&fficher les astuces au démarrage"), this);
    SetControlId(*showCheck_, kShowAtStartupId);
    bottom->addWidget(showCheck_);
    bottom->addStretch(1);
    nextTip_ = new QPushButton(QStringLiteral("Astuce suivante"), this);
    SetControlId(*nextTip_, kNextTipId);
    bottom->addWidget(nextTip_);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    SetControlId(*ok, 1);
    ok->setDefault(true);
    bottom->addWidget(ok);
    layout->addLayout(bottom);
    connect(nextTip_, &QPushButton::clicked, this, &TipOfTheDay::ShowNextTip);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    resize(460, 260);
}

TipOfTheDay::~TipOfTheDay() = default;

void TipOfTheDay::OnInitDialog()
{
    showCheck_->setChecked(showAtStartup_);
    tipText_->setText(QString::fromStdString(tips_->Tip()));
    nextTip_->setEnabled(tips_->IsOpen());
}

void TipOfTheDay::ShowNextTip()
{
    tips_->ReadNextTip();
    tipText_->setText(QString::fromStdString(tips_->Tip()));
}

void TipOfTheDay::accept()
{
    showAtStartup_ = showCheck_->isChecked();
    tips_->SaveShowAtStartup(showAtStartup_);
    ThemedDialogBase::accept();
}

int RunTipOfTheDay(const ApplicationCore& application, ShellPrompter& prompter, bool atStartup, QWidget* parent)
{
    TipOfTheDay dialog(application.GetSettings(), application.TipsFile(), prompter, application.Translator(), parent);
    if (atStartup && !dialog.ShowAtStartup())
        return -1;
    return prompter.Exec(dialog);
}

}  // namespace zov::shell

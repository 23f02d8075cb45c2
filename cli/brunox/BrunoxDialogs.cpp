#include "BrunoxDialogs.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kLogoSize = 32;
constexpr QSize kMinimumResizable(300, 150);
// Part of the screen that a dialog grown for a long text may take.
constexpr double kLargestScreenShare = 0.8;

QPixmap MakeLogo()
{
    QPixmap logo(kLogoSize, kLogoSize);
    logo.fill(Qt::white);
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0, 84, 166));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(1, 1, kLogoSize - 2, kLogoSize - 2), 6, 6);
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(20);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(logo.rect(), Qt::AlignCenter, QStringLiteral("Z"));
    return logo;
}

QSize ButtonSize(const QPushButton* button)
{
    return button->sizeHint().expandedTo(QSize(75, 23));
}

QRect AvailableScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 800, 600);
}

}  // namespace

CWhiteDlg::CWhiteDlg(bool bResizable, QSize templateSize) : m_bResizable(bResizable), m_tTemplateSize(templateSize)
{
    setWindowTitle(QStringLiteral("Dialog"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    m_pLogo = new QLabel(this);
    m_pLogo->setPixmap(MakeLogo());
    m_pLogo->setGeometry(kGap, kGap, kLogoSize, kLogoSize);

    // A message longer than the dialog scrolls rather than being cut.
    m_pLabelArea = new QScrollArea(this);
    m_pLabelArea->setFrameShape(QFrame::NoFrame);
    m_pLabelArea->setWidgetResizable(true);
    m_pLabelArea->setPalette(white);
    m_pLabel = new zov::CFormatLabel;
    m_pLabel->setObjectName(kLabelName);
    m_pLabelArea->setWidget(m_pLabel);

    if (m_bResizable)
        setMinimumSize(kMinimumResizable);
    resize(templateSize);
}

void CWhiteDlg::SetCaption(const QString& caption)
{
    setWindowTitle(caption);
}

void CWhiteDlg::SetLabelText(const std::string& text)
{
    m_pLabel->SetText(text);
    m_pLabel->setMinimumSize(m_pLabel->sizeHint());
}

int CWhiteDlg::LabelLeft() const
{
    return kGap + kLogoSize + kGap;
}

QPushButton* CWhiteDlg::AddButton(const QString& text, const char* name, bool bDefault)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setAutoDefault(bDefault);
    button->setDefault(bDefault);
    return button;
}

void CWhiteDlg::LayOut(QSize client)
{
    m_pLabelArea->setGeometry(LabelLeft(), kGap, client.width() - LabelLeft() - kGap, client.height() - 2 * kGap);
}

void CWhiteDlg::ApplyInitialPlacement()
{
    const QRect screen = AvailableScreen();
    QSize size = m_tTemplateSize;
    if (m_tInitial.iWidth > 0 && m_tInitial.iHeight > 0) {
        // A file edited by hand, or written on a larger screen, must not make a window beyond reach.
        size = QSize(m_tInitial.iWidth, m_tInitial.iHeight).boundedTo(screen.size());
    } else {
        // First use: large enough for the whole text, within reason.
        LayOut(m_tTemplateSize);
        const QRect area = m_pLabelArea->geometry();
        const QSize text = m_pLabel->sizeHint();
        size = size.expandedTo(
            QSize(area.x() + text.width() + kGap, m_tTemplateSize.height() - area.height() + text.height()));
        size = size.boundedTo(QSize(static_cast<int>(screen.width() * kLargestScreenShare),
                                    static_cast<int>(screen.height() * kLargestScreenShare)))
                   .expandedTo(m_tTemplateSize);
    }
    if (m_bResizable) {
        resize(size.expandedTo(minimumSize()));
    } else {
        setFixedSize(size);
    }

    const bool bCentre = m_tInitial.iLeft == -1 && m_tInitial.iTop == -1;
    // A saved position is used only where the operator can still reach the window's top left.
    constexpr int kFarAway = 1000000;
    const bool bInRange = std::abs(m_tInitial.iLeft) < kFarAway && std::abs(m_tInitial.iTop) < kFarAway;
    const bool bOnScreen =
        bInRange && QGuiApplication::screenAt(QPoint(m_tInitial.iLeft + 20, m_tInitial.iTop + 10)) != nullptr;
    if (!bCentre && bOnScreen) {
        move(m_tInitial.iLeft, m_tInitial.iTop);
    } else {
        move(screen.x() + (screen.width() - width()) / 2, screen.y() + (screen.height() - height()) / 2);
    }
}

void CWhiteDlg::showEvent(QShowEvent* event)
{
    if (!m_bPlaced && !event->spontaneous()) {
        m_bPlaced = true;
        ApplyInitialPlacement();
    }
    QDialog::showEvent(event);
    m_tCurrent = {x(), y(), width(), height()};
}

void CWhiteDlg::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    m_tCurrent.iLeft = x();
    m_tCurrent.iTop = y();
}

void CWhiteDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    m_tCurrent.iWidth = width();
    m_tCurrent.iHeight = height();
    LayOut(size());
}

void CWhiteDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
}

CWaitDlg::CWaitDlg() : CWhiteDlg(true, QSize(360, 160))
{
    setWindowTitle(QStringLiteral("ZOV"));
    m_pOk = AddButton(QStringLiteral("OK"), kOkName, true);
    connect(m_pOk, &QPushButton::clicked, this, &QDialog::accept);
    LayOut(size());
}

void CWaitDlg::LayOut(QSize client)
{
    if (m_pOk == nullptr)
        return;
    const QSize button = ButtonSize(m_pOk);
    const int cx = client.width();
    const int cy = client.height();
    m_pOk->setGeometry(cx / 2 - button.width() / 2, cy - button.height() - kGap, button.width(), button.height());
    m_pLabelArea->setGeometry(LabelLeft(), kGap, cx - LabelLeft() - kGap, cy - 2 * button.height() - 2 * kGap);
}

CAskDlg::CAskDlg() : CWhiteDlg(true, QSize(360, 160))
{
    setWindowTitle(QStringLiteral("ZOV"));
    m_pYes = AddButton(QStringLiteral("Oui"), kOkName, true);
    m_pNo = AddButton(QStringLiteral("Non"), kCancelName, false);
    connect(m_pYes, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_pNo, &QPushButton::clicked, this, &QDialog::reject);
    LayOut(size());
}

void CAskDlg::LayOut(QSize client)
{
    if (m_pYes == nullptr || m_pNo == nullptr)
        return;
    const QSize button = ButtonSize(m_pYes);
    const int cx = client.width();
    const int cy = client.height();
    const int y = cy - button.height() - kGap;
    m_pYes->setGeometry(cx / 2 - button.width() - kGap, y, button.width(), button.height());
    m_pNo->setGeometry(cx / 2 + kGap, y, button.width(), button.height());
    m_pLabelArea->setGeometry(LabelLeft(), kGap, cx - LabelLeft() - kGap, cy - 2 * button.height() - 2 * kGap);
}

namespace {

// The fixed dialogs: a field above two buttons at the bottom right.
void LayOutFieldDialog(QSize client, QScrollArea* labelArea, int labelLeft, QWidget* field, QPushButton* ok,
                       QPushButton* cancel, int gap)
{
    const QSize button = ButtonSize(ok).expandedTo(ButtonSize(cancel));
    const int cx = client.width();
    const int cy = client.height();
    const int buttonTop = cy - button.height() - gap;
    cancel->setGeometry(cx - button.width() - gap, buttonTop, button.width(), button.height());
    ok->setGeometry(cx - 2 * button.width() - 2 * gap, buttonTop, button.width(), button.height());
    const int fieldHeight = field->sizeHint().height();
    const int fieldTop = buttonTop - gap - fieldHeight;
    field->setGeometry(gap, fieldTop, cx - 2 * gap, fieldHeight);
    labelArea->setGeometry(labelLeft, gap, cx - labelLeft - gap, std::max(0, fieldTop - 2 * gap));
}

}  // namespace

CEditDlg::CEditDlg() : CWhiteDlg(false, QSize(360, 150))
{
    m_pEdit = new QLineEdit(this);
    m_pEdit->setObjectName(kEditName);
    m_pOk = AddButton(QStringLiteral("OK"), kOkName, true);
    m_pCancel = AddButton(QStringLiteral("Annuler"), kCancelName, false);
    connect(m_pOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_pCancel, &QPushButton::clicked, this, &QDialog::reject);
    m_pEdit->setFocus();
    LayOut(size());
}

QString CEditDlg::EditText() const
{
    return m_pEdit->text();
}

void CEditDlg::SetEditText(const QString& text)
{
    m_pEdit->setText(text);
}

void CEditDlg::LayOut(QSize client)
{
    if (m_pEdit == nullptr || m_pOk == nullptr || m_pCancel == nullptr)
        return;
    LayOutFieldDialog(client, m_pLabelArea, LabelLeft(), m_pEdit, m_pOk, m_pCancel, kGap);
}

CComboDlg::CComboDlg() : CWhiteDlg(false, QSize(360, 150))
{
    setWindowTitle(QStringLiteral("ZOV"));
    m_pCombo = new QComboBox(this);
    m_pCombo->setObjectName(kComboName);
    m_pCombo->setEditable(false);
    m_pOk = AddButton(QStringLiteral("OK"), kOkName, true);
    m_pCancel = AddButton(QStringLiteral("Annuler"), kCancelName, false);
    connect(m_pOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_pCancel, &QPushButton::clicked, this, &QDialog::reject);
    LayOut(size());
}

void CComboDlg::SetItems(const QString& items, int selection)
{
    m_pCombo->clear();
    m_pCombo->addItems(items.split(QLatin1Char('|')));
    m_pCombo->setCurrentIndex(selection >= 0 && selection < m_pCombo->count() ? selection : -1);
}

int CComboDlg::SelectedIndex() const
{
    return m_pCombo->currentIndex();
}

int CComboDlg::Count() const
{
    return m_pCombo->count();
}

void CComboDlg::SelectIndex(int index)
{
    m_pCombo->setCurrentIndex(index);
}

void CComboDlg::LayOut(QSize client)
{
    if (m_pCombo == nullptr || m_pOk == nullptr || m_pCancel == nullptr)
        return;
    LayOutFieldDialog(client, m_pLabelArea, LabelLeft(), m_pCombo, m_pOk, m_pCancel, kGap);
}

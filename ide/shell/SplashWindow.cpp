#include "ide/shell/SplashWindow.h"

#include "common/gui/FormatLabel.h"
#include "ide/shell/ObjectNames.h"
#include "ide/shell/ShellPictures.h"
#include "ide/shell/core/ApplicationCore.h"

#include <QKeyEvent>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

namespace zov::shell {

SplashWindow::SplashWindow(const std::string& versionText, const Translate& translate, QWidget* parent, int durationMs)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), picture_(SplashPicture()), durationMs_(durationMs)
{
    setWindowTitle(QStringLiteral("Zovatron"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, picture_.height() + 2, 6, 2);
    caption_ = new CFormatLabel(this, markup::Dialect::Caption);
    SetControlId(*caption_, kCaptionId);
    caption_->SetBackgroundColour(markup::kWhite);
    caption_->SetText(CaptionText(versionText, translate));
    caption_->setFixedHeight(caption_->sizeHint().height() + 8);
    layout->addWidget(caption_);
    setFixedSize(picture_.width(), picture_.height() + caption_->height() + 4);
}

std::string SplashWindow::CaptionText(const std::string& versionText, const Translate& translate)
{
    return "#BZ.O.V. " + translate("Version") + " " + versionText;
}

void SplashWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (timerStarted_)
        return;
    timerStarted_ = true;
    QTimer::singleShot(durationMs_, this, [this] { done(0); });
}

void SplashWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Escape) {
        done(0);
        return;
    }
    QDialog::keyPressEvent(event);
}

void SplashWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawPixmap(0, 0, picture_);
    // Frameless: a thin edge keeps it apart from what lies behind.
    painter.setPen(QColor(22, 56, 112));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

int RunSplashWindow(const ApplicationCore& application, QWidget* parent)
{
    if (application.Values().noSplash != 0)
        return -1;
    SplashWindow splash(application.VersionText(), application.Translator(), parent);
    return splash.exec();
}

}  // namespace zov::shell

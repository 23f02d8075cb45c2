#include "ide/shell/CompactPathWidget.h"

#include "common/PathUtils.h"

#include <QFontMetrics>
#include <QWidget>

#include <string>

namespace zov::shell {

QString CompactPathForWindow(const QWidget& window, const QString& path)
{
    const QFontMetrics metrics(window.font());
    const auto measure = [&metrics](std::string_view text) {
        return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    };
    // The outer width, frame included, as the window occupies it on screen.
    const int width = window.frameGeometry().width();
    const QByteArray utf8 = path.toUtf8();
    return QString::fromStdString(CompactPath(width, measure, std::string_view(utf8.constData(), utf8.size())));
}

}  // namespace zov::shell

#include "ide/shell/UiLanguage.h"

namespace zov::shell {

namespace {

Translate& Installed()
{
    static Translate translate;
    return translate;
}

}  // namespace

void InstallUiLanguage(Translate translate)
{
    Installed() = std::move(translate);
}

bool HasUiLanguage()
{
    return static_cast<bool>(Installed());
}

const Translate& UiLanguage()
{
    return Installed();
}

QString TranslateLabel(const QString& text, const Translate& translate)
{
    if (!translate || text.isEmpty())
        return text;
    const QByteArray utf8 = text.toUtf8();
    const std::string translated = translate(std::string_view(utf8.constData(), utf8.size()));
    if (translated.empty())
        return text;
    return QString::fromStdString(translated);
}

QString TranslateLabel(const QString& text)
{
    return TranslateLabel(text, Installed());
}

}  // namespace zov::shell

// Making file contents fit for messages.
#include "base/QuotedText.h"

#include <QStringDecoder>

QString quotedFileText(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    QString quoted;
    quoted.reserve(text.size());
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code == u'\\')
            quoted += QStringLiteral("\\\\");
        else if (code < 0x20 || (code >= 0x7F && code <= 0x9F))
            quoted += QStringLiteral("\\x%1").arg(unsigned(code), 2, 16, QLatin1Char('0'));
        else
            quoted += c;
    }
    return quoted;
}

#include "pages/SsidDisplay.h"

#include <QStringDecoder>

#include <algorithm>

namespace {

bool IsPrintableAscii(unsigned char byte) {
    return byte >= 0x20 && byte < 0x7F;
}

QString Escaped(std::string_view bytes) {
    QString text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\\') {
            text += QStringLiteral("\\\\");
        } else if (IsPrintableAscii(byte)) {
            text += QLatin1Char(c);
        } else {
            text += QString::asprintf("\\x%02X", byte);
        }
    }
    return text;
}

} // namespace

QString SsidDisplayText(std::string_view bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text =
        decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    // Control characters are valid UTF-8 but not readable; a name that
    // holds one shows escaped as a whole.
    const bool readable = std::all_of(text.cbegin(), text.cend(),
                                      [](QChar c) { return c.category() != QChar::Other_Control; });
    if (decoder.hasError() || !readable) {
        return Escaped(bytes);
    }
    return text;
}

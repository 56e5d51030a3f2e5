#include "pages/GroupBoxFrame.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>
#include <QPixmapCache>
#include <QStyle>

#include <cstddef>

namespace {

// A number as the pixmap cache keys of pictures loaded by name spell it:
// byte by byte in memory order, the low hex digit of each byte first.
template <typename T> QString KeyDigits(T value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    QString text;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&value);
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        text += QLatin1Char(kDigits[bytes[i] & 0xf]);
        text += QLatin1Char(kDigits[bytes[i] >> 4]);
    }
    return text;
}

} // namespace

void PrimeGroupBoxFrame() {
    if (QApplication::style() == nullptr ||
        QApplication::style()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0) {
        return;
    }
    const QString path =
        QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png");
    const QFileInfo info(path);
    // The key a load by name looks up: path, modification time, size and
    // the kind of pixmap (0: an ordinary one, not a bitmap).
    const QString key = QLatin1String("qt_pixmap") + info.absoluteFilePath() +
                        KeyDigits(static_cast<unsigned>(info.lastModified().toSecsSinceEpoch())) +
                        KeyDigits(static_cast<quint64>(info.size())) +
                        KeyDigits(static_cast<unsigned>(0));
    QPixmap cached;
    if (QPixmapCache::find(key, &cached)) {
        return;
    }
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    const QImage image = reader.read();
    if (!image.isNull()) {
        QPixmapCache::insert(key, QPixmap::fromImage(image));
    }
}

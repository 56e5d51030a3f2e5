// A page with group boxes is painted without any image-format plugin, from
// the same frame picture the style reads when left to itself.
#include "pages/DialogBuilder.h"
#include "res/DialogTemplate.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QPixmapCache>
#include <QWidget>

namespace {

bool ImagePluginLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
}

constexpr ControlTemplate kControls[] = {
    {IDC_STATIC, ControlKind::GroupBox, "Frame", 7, 7, 100, 40},
    {IDC_STATIC, ControlKind::GroupBox, "", 7, 50, 100, 30},
};
const DialogTemplate kTemplate = {1, "Frames", 115, 90, kControls};

} // namespace

TEST(GroupBoxFrame, PaintsWithoutImagePluginsFromTheStylesOwnPicture) {
    if (ImagePluginLoaded()) {
        GTEST_SKIP() << "an earlier case in this process loaded an image plugin";
    }
    QPixmapCache::clear();
    {
        QWidget body;
        BuildDialogControls(kTemplate, &body);
        body.show();
        EXPECT_FALSE(body.grab().isNull());
    }
    EXPECT_FALSE(ImagePluginLoaded());

    // The picture as the style finds it, then as it reads it by itself.
    const QString path =
        QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png");
    const QImage found = QPixmap(path).toImage();
    QPixmapCache::clear();
    const QImage read = QPixmap(path).toImage();
    ASSERT_FALSE(read.isNull());
    EXPECT_EQ(found, read);
}

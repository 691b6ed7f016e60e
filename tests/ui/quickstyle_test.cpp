// Tests that the program's style draws what Fusion draws, only sooner.
#include "ui/quickstyle.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QStyle>
#include <QStyleFactory>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

QImage groupBoxDrawnBy(QStyle* style, const QString& caption, QSize size) {
    QGroupBox box(caption);
    box.setStyle(style);
    box.resize(size);
    return box.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

// A list header with a wide, a narrow and a last section, as the card's lists have.
QImage headerDrawnBy(QStyle* style) {
    QStandardItemModel model(0, 3);
    model.setHorizontalHeaderLabels({u"Genshi"_s, u"Ku"_s, u"On"_s});
    QHeaderView header(Qt::Horizontal);
    header.setStyle(style);
    header.setModel(&model);
    header.resizeSection(0, 335);
    header.resizeSection(1, 30);
    header.resize(420, 24);
    return header.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

int largestDifference(const QImage& a, const QImage& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest =
                std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
    return largest;
}

}  // namespace

TEST(QuickStyle, GroupFramesAreFusionsWithAndWithoutCaption) {
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(u"Fusion"_s));
    const std::unique_ptr<QStyle> quick = ui::makeQuickStyle();
    ASSERT_TRUE(fusion);
    for (const QString& caption : {u"Statistik"_s, QString()}) {
        for (const QSize size : {QSize(180, 410), QSize(370, 210), QSize(20, 20)}) {
            const QImage expected = groupBoxDrawnBy(fusion.get(), caption, size);
            const QImage drawn = groupBoxDrawnBy(quick.get(), caption, size);
            ASSERT_EQ(drawn.size(), expected.size());
            // Fusion smooths the stretched frame picture, which changes its outer line by one
            // step in 255 at most.
            EXPECT_LE(largestDifference(drawn, expected), 1)
                << caption.toStdString() << " " << size.width() << "x" << size.height();
            const QPoint middle(size.width() / 2, size.height() * 2 / 3);
            EXPECT_EQ(drawn.pixel(middle), expected.pixel(middle));
        }
    }
}

TEST(QuickStyle, WideHeaderSectionsAreFusions) {
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(u"Fusion"_s));
    const std::unique_ptr<QStyle> quick = ui::makeQuickStyle();
    const QImage expected = headerDrawnBy(fusion.get());
    const QImage drawn = headerDrawnBy(quick.get());
    ASSERT_EQ(drawn.size(), expected.size());
    EXPECT_EQ(largestDifference(drawn, expected), 0);
}

TEST(QuickStyle, MenuBarOverflowPictureIsFusionsWhenItIsDrawn) {
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(u"Fusion"_s));
    const std::unique_ptr<QStyle> quick = ui::makeQuickStyle();
    for (const auto pixmap :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
        const QIcon expected = fusion->standardIcon(pixmap);
        const QIcon icon = quick->standardIcon(pixmap);
        ASSERT_FALSE(icon.isNull());
        EXPECT_EQ(icon.pixmap(QSize(16, 16)).toImage(), expected.pixmap(QSize(16, 16)).toImage());
        EXPECT_EQ(icon.availableSizes(), expected.availableSizes());
    }
}

#include "settings/SkinCatalog.h"

#include <gtest/gtest.h>

#include <QSet>

using talwyn::settings::SkinCatalog;

TEST(SkinCatalog, ElevenNamedSkinsEachWithItsOwnLook) {
    const QStringList expected = {
        QStringLiteral("OFFICE2007蓝色"), QStringLiteral("金属光泽"), QStringLiteral("银色天地"),
        QStringLiteral("Mac风格"),        QStringLiteral("条纹色调"), QStringLiteral("纹理风格"),
        QStringLiteral("Ampix效果"),      QStringLiteral("绿色世界"), QStringLiteral("深蓝色彩"),
        QStringLiteral("OFFICE2007"),     QStringLiteral("Vista皮肤")};
    EXPECT_EQ(SkinCatalog::displayNames(), expected);
    EXPECT_EQ(SkinCatalog::fileName(3), QStringLiteral("SnowLeopard.skn"));

    QSet<QString> sheets;
    for (int i = 0; i < SkinCatalog::kCount; ++i) {
        const QString sheet = SkinCatalog::styleSheet(i);
        EXPECT_TRUE(sheet.contains(QStringLiteral("QToolBar"))) << i;
        EXPECT_FALSE(sheet.contains('@')) << "unfilled place in skin " << i;
        sheets.insert(sheet);
    }
    EXPECT_EQ(sheets.size(), SkinCatalog::kCount);
    EXPECT_TRUE(SkinCatalog::styleSheet(11).isEmpty());
    EXPECT_TRUE(SkinCatalog::styleSheet(-1).isEmpty());
}

#include "settings/SkinCatalog.h"

#include <gtest/gtest.h>

#include <QSet>

#include <cmath>

using talwyn::settings::SkinCatalog;

namespace {

// WCAG contrast ratio of two colours.
double contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double la = luminance(a) + 0.05;
    const double lb = luminance(b) + 0.05;
    return la > lb ? la / lb : lb / la;
}

}  // namespace

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

TEST(SkinCatalog, EveryTextCanBeRead) {
    const struct {
        const char* text;
        const char* background;
    } pairs[] = {
        {"TEXT", "WINDOW"},        {"TEXT", "PANEL"},           {"TEXT", "LISTBG"},
        {"TEXT", "LISTALT"},       {"TEXT", "INPUT"},           {"TEXT", "HEADER2"},
        {"MENUTEXT", "MENU"},      {"SELECTTEXT", "SELECT"},    {"TOOLTEXT", "TOOL2"},
        {"BUTTONTEXT", "BUTTON2"}, {"CAPTIONTEXT", "CAPTION2"}, {"LINK", "PANEL"},
    };
    for (int i = 0; i < SkinCatalog::kCount; ++i) {
        for (const auto& pair : pairs) {
            const QColor text = SkinCatalog::colour(i, pair.text);
            const QColor background = SkinCatalog::colour(i, pair.background);
            ASSERT_TRUE(text.isValid() && background.isValid()) << i << pair.text;
            EXPECT_GE(contrast(text, background), 3.0)
                << SkinCatalog::displayName(i).toStdString() << ": " << pair.text << " on "
                << pair.background;
        }
    }
}

#include "settings/SkinCatalog.h"

#include <QFile>

#include <array>
#include <utility>

namespace talwyn::settings {
namespace {

// The colours and shapes that tell the skins apart; each fills the @NAME@ places of the template.
struct Skin {
    const char* name;
    const char* file;
    std::array<std::pair<const char*, const char*>, 28> palette;
};

// clang-format off
const std::array<Skin, SkinCatalog::kCount> kSkins{{
    {"OFFICE2007蓝色", "office2007_Remix.skn", {{
        {"WINDOW", "#c4d8f0"}, {"TEXT", "#15305a"}, {"PANEL", "#dde9f8"}, {"BORDER", "#7d9fcc"},
        {"CAPTION1", "#e3eefc"}, {"CAPTION2", "#a9c7ee"}, {"CAPTIONTEXT", "#15305a"},
        {"TOOL1", "#f2f7fe"}, {"TOOL2", "#b8d1f1"}, {"TOOLTEXT", "#15305a"},
        {"BUTTON1", "#fbfdff"}, {"BUTTON2", "#cfe0f7"}, {"BUTTONTEXT", "#15305a"}, {"HOVER", "#ffe59a"},
        {"RADIUS", "3px"}, {"LISTBG", "#ffffff"}, {"LISTALT", "#f1f6fd"}, {"GRID", "#c9d9ee"},
        {"SELECT", "#3d7bd1"}, {"SELECTTEXT", "#ffffff"}, {"HEADER1", "#f7faff"}, {"HEADER2", "#d3e2f6"},
        {"MENU", "#e8f0fb"}, {"MENUTEXT", "#15305a"}, {"MENUSEL", "#ffd86b"}, {"INPUT", "#ffffff"}, {"LINK", "#0b5cc4"}, {"DISABLED", "#8a9bb3"}}}},
    {"金属光泽", "iMetal2.skn", {{
        {"WINDOW", "#9ea3a8"}, {"TEXT", "#1c1c1c"}, {"PANEL", "#c7cacd"}, {"BORDER", "#5d6166"},
        {"CAPTION1", "#eceef0"}, {"CAPTION2", "#80868c"}, {"CAPTIONTEXT", "#111111"},
        {"TOOL1", "#f4f5f6"}, {"TOOL2", "#8d9399"}, {"TOOLTEXT", "#111111"},
        {"BUTTON1", "#f7f8f9"}, {"BUTTON2", "#a6abb0"}, {"BUTTONTEXT", "#1c1c1c"}, {"HOVER", "#d9e4ee"},
        {"RADIUS", "6px"}, {"LISTBG", "#f4f4f4"}, {"LISTALT", "#e6e7e8"}, {"GRID", "#b7babd"},
        {"SELECT", "#52585e"}, {"SELECTTEXT", "#ffffff"}, {"HEADER1", "#f0f1f2"}, {"HEADER2", "#a9aeb3"},
        {"MENU", "#d9dbdd"}, {"MENUTEXT", "#1c1c1c"}, {"MENUSEL", "#6d747b"}, {"INPUT", "#fafafa"}, {"LINK", "#1f4e8c"}, {"DISABLED", "#6f7479"}}}},
    {"银色天地", "EasyLineColor.skn", {{
        {"WINDOW", "#eeeeee"}, {"TEXT", "#333333"}, {"PANEL", "#f9f9f9"}, {"BORDER", "#c8c8c8"},
        {"CAPTION1", "#f9f9f9"}, {"CAPTION2", "#e2e2e2"}, {"CAPTIONTEXT", "#444444"},
        {"TOOL1", "#ffffff"}, {"TOOL2", "#ebebeb"}, {"TOOLTEXT", "#333333"},
        {"BUTTON1", "#ffffff"}, {"BUTTON2", "#ececec"}, {"BUTTONTEXT", "#333333"}, {"HOVER", "#dff1ff"},
        {"RADIUS", "0px"}, {"LISTBG", "#ffffff"}, {"LISTALT", "#fafafa"}, {"GRID", "#e4e4e4"},
        {"SELECT", "#9fc9ec"}, {"SELECTTEXT", "#10253a"}, {"HEADER1", "#ffffff"}, {"HEADER2", "#eeeeee"},
        {"MENU", "#ffffff"}, {"MENUTEXT", "#333333"}, {"MENUSEL", "#cfe6fa"}, {"INPUT", "#ffffff"}, {"LINK", "#1a6fb5"}, {"DISABLED", "#a8a8a8"}}}},
    {"Mac风格", "SnowLeopard.skn", {{
        {"WINDOW", "#d6d6d6"}, {"TEXT", "#222222"}, {"PANEL", "#e8e8e8"}, {"BORDER", "#a5a5a5"},
        {"CAPTION1", "#e9e9e9"}, {"CAPTION2", "#c3c3c3"}, {"CAPTIONTEXT", "#2b2b2b"},
        {"TOOL1", "#e8e8e8"}, {"TOOL2", "#bcbcbc"}, {"TOOLTEXT", "#222222"},
        {"BUTTON1", "#ffffff"}, {"BUTTON2", "#dcdcdc"}, {"BUTTONTEXT", "#222222"}, {"HOVER", "#bcd7f5"},
        {"RADIUS", "9px"}, {"LISTBG", "#ffffff"}, {"LISTALT", "#edf3fe"}, {"GRID", "#d9d9d9"},
        {"SELECT", "#3875d7"}, {"SELECTTEXT", "#ffffff"}, {"HEADER1", "#fbfbfb"}, {"HEADER2", "#dedede"},
        {"MENU", "#f6f6f6"}, {"MENUTEXT", "#222222"}, {"MENUSEL", "#3875d7"}, {"INPUT", "#ffffff"}, {"LINK", "#2f6fd0"}, {"DISABLED", "#8e8e8e"}}}},
    {"条纹色调", "Ampix2.skn", {{
        {"WINDOW", "#3b3f46"}, {"TEXT", "#f0e6d2"}, {"PANEL", "#4a4f57"}, {"BORDER", "#e0a030"},
        {"CAPTION1", "#e8a93a"}, {"CAPTION2", "#b5761a"}, {"CAPTIONTEXT", "#1d1d1d"},
        {"TOOL1", "#5a6069"}, {"TOOL2", "#30343a"}, {"TOOLTEXT", "#f6d48f"},
        {"BUTTON1", "#666d77"}, {"BUTTON2", "#3f444c"}, {"BUTTONTEXT", "#f6d48f"}, {"HOVER", "#7a6336"},
        {"RADIUS", "2px"}, {"LISTBG", "#2c2f34"}, {"LISTALT", "#353940"}, {"GRID", "#505660"},
        {"SELECT", "#e0a030"}, {"SELECTTEXT", "#1d1d1d"}, {"HEADER1", "#5a6069"}, {"HEADER2", "#3b3f46"},
        {"MENU", "#40454d"}, {"MENUTEXT", "#f0e6d2"}, {"MENUSEL", "#b5761a"}, {"INPUT", "#2c2f34"}, {"LINK", "#ffc24a"}, {"DISABLED", "#7d828a"}}}},
    {"纹理风格", "Ampix3.skn", {{
        {"WINDOW", "#5b4636"}, {"TEXT", "#f5ead8"}, {"PANEL", "#6e5644"}, {"BORDER", "#c9a77c"},
        {"CAPTION1", "#a9825a"}, {"CAPTION2", "#6b4c30"}, {"CAPTIONTEXT", "#fff6e6"},
        {"TOOL1", "#8a6a4c"}, {"TOOL2", "#4e3a2a"}, {"TOOLTEXT", "#fff0d6"},
        {"BUTTON1", "#9b7a58"}, {"BUTTON2", "#684d36"}, {"BUTTONTEXT", "#fff0d6"}, {"HOVER", "#b8915f"},
        {"RADIUS", "4px"}, {"LISTBG", "#4b392b"}, {"LISTALT", "#553f2f"}, {"GRID", "#7a5f49"},
        {"SELECT", "#8c5a2b"}, {"SELECTTEXT", "#ffffff"}, {"HEADER1", "#8a6a4c"}, {"HEADER2", "#5b4636"},
        {"MENU", "#5b4636"}, {"MENUTEXT", "#f5ead8"}, {"MENUSEL", "#c9a77c"}, {"INPUT", "#4b392b"}, {"LINK", "#ffd89a"}, {"DISABLED", "#9b8672"}}}},
    {"Ampix效果", "Ampix.skn", {{
        {"WINDOW", "#1f2a36"}, {"TEXT", "#cfe3f7"}, {"PANEL", "#283645"}, {"BORDER", "#3f8fd8"},
        {"CAPTION1", "#3f8fd8"}, {"CAPTION2", "#1d5a96"}, {"CAPTIONTEXT", "#ffffff"},
        {"TOOL1", "#33485d"}, {"TOOL2", "#18222d"}, {"TOOLTEXT", "#9fd1ff"},
        {"BUTTON1", "#3a5269"}, {"BUTTON2", "#223140"}, {"BUTTONTEXT", "#cfe3f7"}, {"HOVER", "#2f6fae"},
        {"RADIUS", "5px"}, {"LISTBG", "#16202a"}, {"LISTALT", "#1c2834"}, {"GRID", "#2e4052"},
        {"SELECT", "#3f8fd8"}, {"SELECTTEXT", "#ffffff"}, {"HEADER1", "#33485d"}, {"HEADER2", "#223140"},
        {"MENU", "#223140"}, {"MENUTEXT", "#cfe3f7"}, {"MENUSEL", "#3f8fd8"}, {"INPUT", "#16202a"}, {"LINK", "#7fc4ff"}, {"DISABLED", "#5c7187"}}}},
    {"绿色世界", "PowerForm_Green.skn", {{
        {"WINDOW", "#cfe8c4"}, {"TEXT", "#1d3b12"}, {"PANEL", "#e6f4df"}, {"BORDER", "#5f9e45"},
        {"CAPTION1", "#8cc96f"}, {"CAPTION2", "#4f8d35"}, {"CAPTIONTEXT", "#ffffff"},
        {"TOOL1", "#eef8e9"}, {"TOOL2", "#a9d693"}, {"TOOLTEXT", "#1d3b12"},
        {"BUTTON1", "#f5fbf2"}, {"BUTTON2", "#b8dda6"}, {"BUTTONTEXT", "#1d3b12"}, {"HOVER", "#fff3a6"},
        {"RADIUS", "7px"}, {"LISTBG", "#ffffff"}, {"LISTALT", "#f0f8ec"}, {"GRID", "#cfe5c4"},
        {"SELECT", "#4f8d35"}, {"SELECTTEXT", "#ffffff"}, {"HEADER1", "#f0f8ec"}, {"HEADER2", "#bfe0af"},
        {"MENU", "#eef8e9"}, {"MENUTEXT", "#1d3b12"}, {"MENUSEL", "#8cc96f"}, {"INPUT", "#ffffff"}, {"LINK", "#2e7d16"}, {"DISABLED", "#86a37a"}}}},
    {"深蓝色彩", "CyberObject.skn", {{
        {"WINDOW", "#0d1b3d"}, {"TEXT", "#dbe6ff"}, {"PANEL", "#142656"}, {"BORDER", "#00c2ff"},
        {"CAPTION1", "#1d3f8f"}, {"CAPTION2", "#0a1a44"}, {"CAPTIONTEXT", "#7fe3ff"},
        {"TOOL1", "#1a3373"}, {"TOOL2", "#08142f"}, {"TOOLTEXT", "#7fe3ff"},
        {"BUTTON1", "#214091"}, {"BUTTON2", "#10245a"}, {"BUTTONTEXT", "#dbe6ff"}, {"HOVER", "#00739a"},
        {"RADIUS", "1px"}, {"LISTBG", "#0a1530"}, {"LISTALT", "#0f1d3f"}, {"GRID", "#1f3566"},
        {"SELECT", "#00a3d9"}, {"SELECTTEXT", "#001020"}, {"HEADER1", "#1d3f8f"}, {"HEADER2", "#10245a"},
        {"MENU", "#10245a"}, {"MENUTEXT", "#dbe6ff"}, {"MENUSEL", "#00a3d9"}, {"INPUT", "#0a1530"}, {"LINK", "#7fe3ff"}, {"DISABLED", "#4c6491"}}}},
    {"OFFICE2007", "Office2007_Silver.skn", {{
        {"WINDOW", "#d8dce3"}, {"TEXT", "#2a2f38"}, {"PANEL", "#eceff3"}, {"BORDER", "#9aa3b0"},
        {"CAPTION1", "#f3f5f8"}, {"CAPTION2", "#c5ccd6"}, {"CAPTIONTEXT", "#2a2f38"},
        {"TOOL1", "#fbfcfd"}, {"TOOL2", "#cdd3dc"}, {"TOOLTEXT", "#2a2f38"},
        {"BUTTON1", "#ffffff"}, {"BUTTON2", "#dde1e7"}, {"BUTTONTEXT", "#2a2f38"}, {"HOVER", "#ffe7a2"},
        {"RADIUS", "3px"}, {"LISTBG", "#ffffff"}, {"LISTALT", "#f4f5f7"}, {"GRID", "#dadee4"},
        {"SELECT", "#f6c24b"}, {"SELECTTEXT", "#2a2f38"}, {"HEADER1", "#fdfdfe"}, {"HEADER2", "#d6dbe2"},
        {"MENU", "#f3f4f6"}, {"MENUTEXT", "#2a2f38"}, {"MENUSEL", "#ffd978"}, {"INPUT", "#ffffff"}, {"LINK", "#1b5fa8"}, {"DISABLED", "#9097a1"}}}},
    {"Vista皮肤", "VistaTM.skn", {{
        {"WINDOW", "#1c1f24"}, {"TEXT", "#e8ecf2"}, {"PANEL", "#2a2f36"}, {"BORDER", "#6c7a8c"},
        {"CAPTION1", "#5e7590"}, {"CAPTION2", "#1f2b3a"}, {"CAPTIONTEXT", "#ffffff"},
        {"TOOL1", "#46505d"}, {"TOOL2", "#15181c"}, {"TOOLTEXT", "#ffffff"},
        {"BUTTON1", "#56616f"}, {"BUTTON2", "#22272d"}, {"BUTTONTEXT", "#ffffff"}, {"HOVER", "#3c88c4"},
        {"RADIUS", "4px"}, {"LISTBG", "#20242a"}, {"LISTALT", "#262b32"}, {"GRID", "#3a414b"},
        {"SELECT", "#3c88c4"}, {"SELECTTEXT", "#ffffff"}, {"HEADER1", "#56616f"}, {"HEADER2", "#2a2f36"},
        {"MENU", "#2a2f36"}, {"MENUTEXT", "#e8ecf2"}, {"MENUSEL", "#3c88c4"}, {"INPUT", "#15181c"}, {"LINK", "#8fc8ff"}, {"DISABLED", "#6e7681"}}}},
}};
// clang-format on

QString loadTemplate() {
    QFile file(QStringLiteral(":/skins/skin.qss.in"));
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

}  // namespace

QString SkinCatalog::displayName(int index) {
    return isValid(index) ? QString::fromUtf8(kSkins[index].name) : QString();
}

QString SkinCatalog::fileName(int index) {
    return isValid(index) ? QString::fromUtf8(kSkins[index].file) : QString();
}

QColor SkinCatalog::colour(int index, const char* role) {
    if (!isValid(index)) {
        return {};
    }
    for (const auto& [name, value] : kSkins[index].palette) {
        if (qstrcmp(name, role) == 0) {
            return QColor(QLatin1String(value));
        }
    }
    return {};
}

QStringList SkinCatalog::displayNames() {
    QStringList names;
    for (int index = 0; index < kCount; ++index) {
        names << displayName(index);
    }
    return names;
}

QString SkinCatalog::styleSheet(int index) {
    if (!isValid(index)) {
        return {};
    }
    static const QString pattern = loadTemplate();
    QString sheet = pattern;
    for (const auto& [name, value] : kSkins[index].palette) {
        sheet.replace(QLatin1Char('@') + QLatin1String(name) + QLatin1Char('@'),
                      QLatin1String(value));
    }
    return sheet;
}

}  // namespace talwyn::settings

#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

// The eleven built-in skins: a display name, the name of the look inside the list, and a style
// sheet made from the shared template and the skin's own palette.

namespace talwyn::settings {

struct SkinCatalog {
    static constexpr int kCount = 11;
    // The skin the main window wears before the settings are read.
    static constexpr int kStartSkin = 1;

    static bool isValid(int index) { return index >= 0 && index < kCount; }
    static QString displayName(int index);
    static QString fileName(int index);
    static QStringList displayNames();
    // A colour of the skin's palette by its name ("TEXT", "LISTBG", "LINK", …); link texts take
    // "LINK" from here because style sheets cannot set it.
    static QColor colour(int index, const char* role);
    // The complete style sheet of the skin; empty for an index outside the list.
    static QString styleSheet(int index);
};

}  // namespace talwyn::settings

#pragma once

#include <QIcon>
#include <QPixmap>
#include <QStringList>

// The program's own pictures, painted in code: a coloured glyph for every button, its grey twin
// for the disabled state, and the picture shown over the empty job list.

namespace talwyn::app {

enum class Glyph {
    Add,
    Remove,
    Clear,
    Start,
    Stop,
    Pause,
    Resume,
    Options,
    Skin,
    Rename,
    MoveUp,
    MoveDown,
    Play,
    Mute,
    Unmute,
    Snapshot,
    Settings,
};

namespace Glyphs {

QPixmap coloured(Glyph glyph, int size);
// The same picture in grey, lighter, for a disabled button.
QPixmap grey(Glyph glyph, int size);
// The coloured glyph for the normal state and the grey one for the disabled state.
QIcon icon(Glyph glyph, int size);
QPixmap emptyListPicture(QSize size);
// What the empty-list picture says, line by line: the heading, then how files get into the list.
QStringList emptyListTexts();
// The icons of the output categories, by their picture numbers; an unknown number gets a plain
// file picture.
QIcon categoryIcon(int picture);
// The two icons of the profile list: 0 for entries at even positions, 1 for odd ones.
QIcon profileIcon(int picture);
QIcon applicationIcon();

}  // namespace Glyphs
}  // namespace talwyn::app

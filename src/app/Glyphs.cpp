#include "app/Glyphs.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <algorithm>
#include <cstring>
#include <functional>

namespace talwyn::app::Glyphs {
namespace {

// Every glyph is drawn on a 32 x 32 grid and scaled to the size asked for.
constexpr qreal kGrid = 32.0;

void disc(QPainter& p, QColor light, QColor dark) {
    QLinearGradient fill(0, 2, 0, 30);
    fill.setColorAt(0, light);
    fill.setColorAt(1, dark);
    p.setPen(QPen(dark.darker(130), 1.2));
    p.setBrush(fill);
    p.drawEllipse(QRectF(2.5, 2.5, 27, 27));
}

void page(QPainter& p) {
    QPainterPath sheet;
    sheet.moveTo(6, 3);
    sheet.lineTo(19, 3);
    sheet.lineTo(25, 9);
    sheet.lineTo(25, 29);
    sheet.lineTo(6, 29);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(70, 100, 150), 1.2));
    p.setBrush(QColor(250, 252, 255));
    p.drawPath(sheet);
    p.setBrush(QColor(205, 220, 240));
    p.drawPolygon(QPolygonF({QPointF(19, 3), QPointF(19, 9), QPointF(25, 9)}));
    p.setPen(QPen(QColor(150, 170, 200), 1.2));
    for (int y = 13; y <= 23; y += 4) {
        p.drawLine(QPointF(9, y), QPointF(20, y));
    }
}

void badge(QPainter& p, QColor colour, bool plus) {
    p.setPen(QPen(colour.darker(140), 1));
    p.setBrush(colour);
    p.drawEllipse(QRectF(16, 16, 14, 14));
    p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19.5, 23), QPointF(26.5, 23));
    if (plus) {
        p.drawLine(QPointF(23, 19.5), QPointF(23, 26.5));
    }
}

void cross(QPainter& p, QColor colour) {
    p.setPen(QPen(colour.darker(130), 1));
    p.setBrush(colour);
    p.drawEllipse(QRectF(15, 15, 15, 15));
    p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19, 19), QPointF(26, 26));
    p.drawLine(QPointF(26, 19), QPointF(19, 26));
}

void triangle(QPainter& p, QColor colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({QPointF(12.5, 9), QPointF(23.5, 16), QPointF(12.5, 23)}));
}

void bars(QPainter& p, QColor colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(10.5, 9.5, 4, 13), 1, 1);
    p.drawRoundedRect(QRectF(17.5, 9.5, 4, 13), 1, 1);
}

void gear(QPainter& p, QColor colour) {
    QPainterPath teeth;
    for (int i = 0; i < 8; ++i) {
        QTransform turn;
        turn.translate(16, 16);
        turn.rotate(i * 45.0);
        teeth.addPolygon(turn.map(QPolygonF(QRectF(-3, -14, 6, 6))));
    }
    QPainterPath body;
    body.addEllipse(QPointF(16, 16), 10, 10);
    QPainterPath hole;
    hole.addEllipse(QPointF(16, 16), 4, 4);
    QPainterPath shape = teeth.united(body).subtracted(hole);
    QLinearGradient fill(0, 2, 0, 30);
    fill.setColorAt(0, colour.lighter(140));
    fill.setColorAt(1, colour);
    p.setPen(QPen(colour.darker(150), 1));
    p.setBrush(fill);
    p.drawPath(shape);
}

void palette(QPainter& p) {
    QPainterPath board;
    board.addEllipse(QRectF(2.5, 5, 27, 22));
    QPainterPath thumb;
    thumb.addEllipse(QRectF(16, 17, 7, 6));
    p.setPen(QPen(QColor(140, 100, 50), 1.2));
    p.setBrush(QColor(235, 200, 140));
    p.drawPath(board.subtracted(thumb));
    const QColor colours[] = {QColor(220, 40, 40), QColor(40, 150, 60), QColor(40, 90, 220),
                              QColor(240, 190, 20)};
    const QPointF spots[] = {QPointF(9, 12), QPointF(15, 9.5), QPointF(21.5, 11), QPointF(8.5, 19)};
    for (int i = 0; i < 4; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(colours[i]);
        p.drawEllipse(spots[i], 2.6, 2.6);
    }
}

void pencil(QPainter& p) {
    p.setPen(QPen(QColor(40, 80, 160), 2));
    p.drawLine(QPointF(3, 28), QPointF(16, 28));
    QTransform turn;
    turn.translate(17, 16);
    turn.rotate(45);
    p.setTransform(turn, true);
    p.setPen(QPen(QColor(120, 70, 10), 1));
    p.setBrush(QColor(250, 190, 40));
    p.drawRect(QRectF(-3, -12, 6, 17));
    p.setBrush(QColor(240, 120, 140));
    p.drawRect(QRectF(-3, -15, 6, 3));
    p.setBrush(QColor(245, 225, 180));
    p.drawPolygon(QPolygonF({QPointF(-3, 5), QPointF(3, 5), QPointF(0, 11)}));
}

void arrow(QPainter& p, bool up) {
    QPolygonF shape({QPointF(16, 4), QPointF(28, 16), QPointF(21, 16), QPointF(21, 28),
                     QPointF(11, 28), QPointF(11, 16), QPointF(4, 16)});
    if (!up) {
        shape = QTransform(1, 0, 0, -1, 0, 32).map(shape);
    }
    QLinearGradient fill(0, 4, 0, 28);
    fill.setColorAt(0, QColor(90, 170, 250));
    fill.setColorAt(1, QColor(20, 90, 200));
    p.setPen(QPen(QColor(15, 60, 140), 1.2));
    p.setBrush(fill);
    p.drawPolygon(shape);
}

void speaker(QPainter& p, bool silenced) {
    p.setPen(QPen(QColor(40, 60, 90), 1.2));
    p.setBrush(QColor(90, 120, 170));
    p.drawPolygon(QPolygonF({QPointF(4, 12), QPointF(10, 12), QPointF(17, 5), QPointF(17, 27),
                             QPointF(10, 20), QPointF(4, 20)}));
    p.setBrush(Qt::NoBrush);
    if (silenced) {
        p.setPen(QPen(QColor(220, 40, 40), 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(20, 11), QPointF(29, 21));
        p.drawLine(QPointF(29, 11), QPointF(20, 21));
        return;
    }
    p.setPen(QPen(QColor(40, 130, 220), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(13, 10, 10, 12), -50 * 16, 100 * 16);
    p.drawArc(QRectF(12, 6, 17, 20), -50 * 16, 100 * 16);
}

void camera(QPainter& p) {
    QLinearGradient fill(0, 8, 0, 27);
    fill.setColorAt(0, QColor(120, 130, 150));
    fill.setColorAt(1, QColor(50, 56, 70));
    p.setPen(QPen(QColor(30, 30, 40), 1.2));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(3, 9, 26, 18), 3, 3);
    p.drawRect(QRectF(11, 5, 10, 4));
    p.setBrush(QColor(170, 210, 255));
    p.drawEllipse(QPointF(16, 18), 6, 6);
    p.setBrush(QColor(30, 60, 110));
    p.drawEllipse(QPointF(16, 18), 3, 3);
    p.setBrush(QColor(255, 220, 80));
    p.drawEllipse(QPointF(25, 12.5), 1.5, 1.5);
}

void trash(QPainter& p) {
    QLinearGradient fill(0, 8, 0, 29);
    fill.setColorAt(0, QColor(250, 170, 90));
    fill.setColorAt(1, QColor(210, 100, 20));
    p.setPen(QPen(QColor(130, 60, 10), 1.2));
    p.setBrush(fill);
    p.drawPolygon(QPolygonF({QPointF(7, 9), QPointF(25, 9), QPointF(23, 29), QPointF(9, 29)}));
    p.drawRoundedRect(QRectF(4, 5, 24, 4), 1.5, 1.5);
    p.drawRect(QRectF(13, 2.5, 6, 2.5));
    p.setPen(QPen(QColor(255, 235, 210), 1.6));
    for (qreal x : {12.0, 16.0, 20.0}) {
        p.drawLine(QPointF(x, 13), QPointF(x, 25));
    }
}

void paint(QPainter& p, Glyph glyph) {
    switch (glyph) {
        case Glyph::Add:
            page(p);
            badge(p, QColor(40, 160, 60), true);
            break;
        case Glyph::Remove:
            page(p);
            cross(p, QColor(215, 45, 40));
            break;
        case Glyph::Clear:
            trash(p);
            break;
        case Glyph::Start:
        case Glyph::Play:
            disc(p, QColor(120, 215, 100), QColor(30, 140, 40));
            triangle(p, Qt::white);
            break;
        case Glyph::Stop:
            disc(p, QColor(250, 120, 110), QColor(190, 30, 30));
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawRoundedRect(QRectF(10.5, 10.5, 11, 11), 1.5, 1.5);
            break;
        case Glyph::Pause:
            disc(p, QColor(255, 205, 90), QColor(215, 130, 10));
            bars(p, Qt::white);
            break;
        case Glyph::Resume:
            disc(p, QColor(110, 180, 250), QColor(25, 90, 200));
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(9.5, 9.5, 3, 13));
            p.drawPolygon(QPolygonF({QPointF(14.5, 9), QPointF(24, 16), QPointF(14.5, 23)}));
            break;
        case Glyph::Options:
        case Glyph::Settings:
            gear(p, QColor(80, 110, 160));
            break;
        case Glyph::Skin:
            palette(p);
            break;
        case Glyph::Rename:
            pencil(p);
            break;
        case Glyph::MoveUp:
        case Glyph::MoveDown:
            arrow(p, glyph == Glyph::MoveUp);
            break;
        case Glyph::Mute:
        case Glyph::Unmute:
            speaker(p, glyph == Glyph::Unmute);
            break;
        case Glyph::Snapshot:
            camera(p);
            break;
    }
}

}  // namespace

QPixmap coloured(Glyph glyph, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kGrid, size / kGrid);
    paint(p, glyph);
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap grey(Glyph glyph, int size) {
    QImage image = coloured(glyph, size).toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int level = 110 + qGray(line[x]) * 120 / 255;
            line[x] = qRgba(level, level, level, qAlpha(line[x]) * 3 / 4);
        }
    }
    return QPixmap::fromImage(image);
}

QIcon icon(Glyph glyph, int size) {
    QIcon result;
    result.addPixmap(coloured(glyph, size), QIcon::Normal);
    result.addPixmap(coloured(glyph, size), QIcon::Active);
    result.addPixmap(grey(glyph, size), QIcon::Disabled);
    return result;
}

QPixmap emptyListPicture(QSize size) {
    QPixmap picture(size);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient back(0, 0, 0, size.height());
    back.setColorAt(0, QColor(252, 253, 255));
    back.setColorAt(1, QColor(222, 232, 245));
    p.fillRect(picture.rect(), back);
    p.setPen(QPen(QColor(160, 180, 210), 1));
    p.drawRect(picture.rect().adjusted(0, 0, -1, -1));

    // A film strip and a note: this is where audio and video files go.
    const QPointF centre(size.width() / 2.0, size.height() / 2.0 - 28);
    p.setPen(QPen(QColor(60, 90, 140), 2));
    p.setBrush(QColor(70, 100, 150));
    const QRectF film(centre.x() - 70, centre.y() - 38, 92, 70);
    p.drawRoundedRect(film, 6, 6);
    p.setBrush(QColor(250, 252, 255));
    for (int i = 0; i < 5; ++i) {
        const qreal x = film.left() + 8 + i * 17;
        p.drawRect(QRectF(x, film.top() + 5, 9, 7));
        p.drawRect(QRectF(x, film.bottom() - 12, 9, 7));
    }
    p.setBrush(QColor(150, 200, 250));
    p.drawRect(QRectF(film.left() + 8, film.top() + 17, film.width() - 16, film.height() - 34));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 160, 60));
    const QPointF note(centre.x() + 48, centre.y() + 22);
    p.drawEllipse(note, 11, 8);
    p.drawRect(QRectF(note.x() + 7, note.y() - 46, 4, 46));
    p.drawPolygon(
        QPolygonF({QPointF(note.x() + 11, note.y() - 46), QPointF(note.x() + 27, note.y() - 34),
                   QPointF(note.x() + 11, note.y() - 30)}));

    const QStringList texts = emptyListTexts();
    QFont font = p.font();
    font.setPixelSize(15);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(50, 75, 120));
    QRectF line(0, centre.y() + 52, size.width(), 24);
    p.drawText(line, Qt::AlignCenter, texts.constFirst());
    font.setPixelSize(12);
    font.setBold(false);
    p.setFont(font);
    p.setPen(QColor(90, 110, 140));
    for (int i = 1; i < texts.size(); ++i) {
        line.translate(0, i == 1 ? 24 : 20);
        p.drawText(line, Qt::AlignCenter, texts[i]);
    }
    p.end();
    return picture;
}

QStringList emptyListTexts() {
    return {QStringLiteral("列表中还没有文件"),
            QStringLiteral("请点击工具栏上的“添加”按钮，选择要转换的音频或视频文件，"),
            QStringLiteral("也可以把文件或整个文件夹直接拖放到这里")};
}

namespace {

enum class Symbol { Note, Film, Phone, Tablet, Player, Television, Wave };

struct CategoryPicture {
    int picture;
    QColor colour;
    const char* label;
    Symbol symbol;
};

const CategoryPicture kCategoryPictures[] = {
    {53, QColor(30, 120, 220), "WAV", Symbol::Wave},
    {52, QColor(230, 110, 20), "MP3", Symbol::Note},
    {50, QColor(40, 150, 90), "WMA", Symbol::Note},
    {1, QColor(140, 70, 200), "AUDIO", Symbol::Note},
    {40, QColor(90, 90, 110), "VIDEO", Symbol::Film},
    {3, QColor(120, 130, 145), "iPod", Symbol::Player},
    {4, QColor(40, 40, 50), "iPhone", Symbol::Phone},
    {5, QColor(20, 40, 120), "PSP", Symbol::Player},
    {11, QColor(200, 30, 30), "FLV", Symbol::Film},
    {15, QColor(70, 75, 90), "iPad", Symbol::Tablet},
    {21, QColor(120, 180, 40), "Android", Symbol::Phone},
    {43, QColor(20, 90, 150), "TV", Symbol::Television},
    {10, QColor(0, 140, 160), "MP4", Symbol::Film},
    {13, QColor(170, 60, 120), "AVI", Symbol::Film},
    {45, QColor(200, 150, 10), "H264", Symbol::Film},
};

void symbol(QPainter& p, Symbol kind) {
    p.setPen(QPen(Qt::white, 1.6));
    p.setBrush(Qt::NoBrush);
    switch (kind) {
        case Symbol::Note:
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(12, 17), 3.2, 2.4);
            p.drawEllipse(QPointF(21, 15), 3.2, 2.4);
            p.drawLine(QPointF(15, 17), QPointF(15, 6));
            p.drawLine(QPointF(24, 15), QPointF(24, 4.5));
            p.drawLine(QPointF(15, 6), QPointF(24, 4.5));
            break;
        case Symbol::Wave:
            p.drawPolyline(
                QPolygonF({QPointF(5, 12), QPointF(9, 12), QPointF(11, 5), QPointF(14, 19),
                           QPointF(17, 7), QPointF(20, 16), QPointF(23, 12), QPointF(27, 12)}));
            break;
        case Symbol::Film:
            p.drawRect(QRectF(7, 5, 18, 14));
            for (qreal y : {7.5, 16.5}) {
                for (qreal x = 9; x < 24; x += 4) {
                    p.drawPoint(QPointF(x, y));
                }
            }
            p.setBrush(Qt::white);
            p.drawPolygon(QPolygonF({QPointF(14, 9.5), QPointF(19, 12), QPointF(14, 14.5)}));
            break;
        case Symbol::Phone:
            p.drawRoundedRect(QRectF(11, 3, 10, 18), 2, 2);
            p.drawLine(QPointF(14.5, 18.5), QPointF(17.5, 18.5));
            break;
        case Symbol::Tablet:
            p.drawRoundedRect(QRectF(8, 3.5, 16, 17), 2, 2);
            p.drawPoint(QPointF(16, 18.5));
            break;
        case Symbol::Player:
            p.drawRoundedRect(QRectF(6, 5, 20, 14), 4, 4);
            p.drawEllipse(QPointF(11, 12), 2.2, 2.2);
            p.drawEllipse(QPointF(21, 12), 2.2, 2.2);
            break;
        case Symbol::Television:
            p.drawRoundedRect(QRectF(6, 4, 20, 13), 1.5, 1.5);
            p.drawLine(QPointF(12, 20), QPointF(20, 20));
            p.drawLine(QPointF(16, 17), QPointF(16, 20));
            break;
    }
}

QPixmap paintIcon(const std::function<void(QPainter&)>& draw) {
    constexpr int kSize = 32;
    QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    return QPixmap::fromImage(image);
}

}  // namespace

QIcon categoryIcon(int picture) {
    const auto* it = std::find_if(std::begin(kCategoryPictures), std::end(kCategoryPictures),
                                  [picture](const auto& c) { return c.picture == picture; });
    if (it == std::end(kCategoryPictures)) {
        return profileIcon(0);
    }
    return QIcon(paintIcon([it](QPainter& p) {
        QLinearGradient fill(0, 0, 0, 32);
        fill.setColorAt(0, it->colour.lighter(135));
        fill.setColorAt(1, it->colour);
        p.setPen(QPen(it->colour.darker(140), 1));
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 5, 5);
        symbol(p, it->symbol);
        QFont font;
        font.setPixelSize(std::strlen(it->label) > 4 ? 6 : 8);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(0, 21, 32, 10), Qt::AlignCenter, QString::fromLatin1(it->label));
    }));
}

QIcon profileIcon(int picture) {
    const QColor colour = picture % 2 == 0 ? QColor(40, 110, 210) : QColor(40, 160, 80);
    return QIcon(paintIcon([colour](QPainter& p) {
        page(p);
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawEllipse(QRectF(13, 13, 17, 17));
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({QPointF(19, 17), QPointF(26, 21.5), QPointF(19, 26)}));
    }));
}

QIcon applicationIcon() {
    return QIcon(QStringLiteral(":/icons/talwynwav.svg"));
}

}  // namespace talwyn::app::Glyphs

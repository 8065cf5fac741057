#include "app/gui/ToolGlyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace Quorvel1 {

namespace {

// The freedesktop.org icon names of the glyphs.
const char* ThemeName(TToolGlyph glyph)
{
    switch (glyph) {
    case TToolGlyph::Open:
        return "document-open";
    case TToolGlyph::Save:
        return "document-save";
    case TToolGlyph::NewSite:
        return "document-new";
    case TToolGlyph::Dial:
        return "call-start";
    case TToolGlyph::HangUp:
        return "call-stop";
    case TToolGlyph::Download:
        return "go-down";
    case TToolGlyph::Exit:
        return "application-exit";
    case TToolGlyph::Program:
        break;
    }
    return nullptr;
}

// The glyphs are drawn on a 32 x 32 grid and scaled to the size asked for.
constexpr qreal GlyphGrid = 32.0;

void DrawHandset(QPainter& p, const QColor& colour, bool hungUp)
{
    // A handset as a thick arc with round ends; hung up it lies flat.
    p.setPen(QPen(colour, 6, Qt::SolidLine, Qt::RoundCap));
    if (hungUp)
        p.drawArc(QRectF(4, 10, 24, 22), 20 * 16, 140 * 16);
    else
        p.drawArc(QRectF(5, 5, 22, 22), 100 * 16, 160 * 16);
}

void DrawGlyph(QPainter& p, TToolGlyph glyph)
{
    const QColor outline(60, 60, 60);
    p.setPen(QPen(outline, 1.5));
    switch (glyph) {
    case TToolGlyph::Open: {
        QPainterPath folder;
        folder.moveTo(3, 9);
        folder.lineTo(12, 9);
        folder.lineTo(15, 12);
        folder.lineTo(29, 12);
        folder.lineTo(29, 27);
        folder.lineTo(3, 27);
        folder.closeSubpath();
        p.setBrush(QColor(230, 190, 90));
        p.drawPath(folder);
        break;
    }
    case TToolGlyph::Save:
        p.setBrush(QColor(40, 70, 150));
        p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(8, 4, 16, 9));
        p.setBrush(QColor(190, 190, 190));
        p.drawRect(QRectF(9, 19, 14, 9));
        break;
    case TToolGlyph::NewSite: {
        QPainterPath page;
        page.moveTo(7, 3);
        page.lineTo(20, 3);
        page.lineTo(26, 9);
        page.lineTo(26, 29);
        page.lineTo(7, 29);
        page.closeSubpath();
        p.setBrush(Qt::white);
        p.drawPath(page);
        p.drawLine(QPointF(20, 3), QPointF(20, 9));
        p.drawLine(QPointF(20, 9), QPointF(26, 9));
        break;
    }
    case TToolGlyph::Dial:
        DrawHandset(p, QColor(30, 150, 60), false);
        break;
    case TToolGlyph::HangUp:
        DrawHandset(p, QColor(200, 40, 40), true);
        break;
    case TToolGlyph::Download: {
        QPainterPath arrow;
        arrow.moveTo(12, 3);
        arrow.lineTo(20, 3);
        arrow.lineTo(20, 14);
        arrow.lineTo(26, 14);
        arrow.lineTo(16, 24);
        arrow.lineTo(6, 14);
        arrow.lineTo(12, 14);
        arrow.closeSubpath();
        p.setBrush(QColor(40, 110, 200));
        p.drawPath(arrow);
        p.setBrush(outline);
        p.drawRect(QRectF(5, 26, 22, 3));
        break;
    }
    case TToolGlyph::Exit:
        p.setBrush(QColor(150, 100, 60));
        p.drawRect(QRectF(5, 3, 14, 26));
        p.setPen(QPen(QColor(200, 40, 40), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(14, 16), QPointF(29, 16));
        p.drawLine(QPointF(24, 11), QPointF(29, 16));
        p.drawLine(QPointF(24, 21), QPointF(29, 16));
        break;
    case TToolGlyph::Program: {
        p.setBrush(QColor(30, 90, 160));
        p.drawRoundedRect(QRectF(2, 2, 28, 28), 6, 6);
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(20);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(2, 2, 28, 28), Qt::AlignCenter, QStringLiteral("Q"));
        break;
    }
    }
}

} // namespace

QPixmap DrawToolGlyph(TToolGlyph glyph, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / GlyphGrid, size / GlyphGrid);
    DrawGlyph(painter, glyph);
    return pixmap;
}

QIcon ToolGlyphIcon(TToolGlyph glyph)
{
    QIcon drawn;
    for (int size : {16, 24, 32})
        drawn.addPixmap(DrawToolGlyph(glyph, size));
    const char* name = ThemeName(glyph);
    return name ? QIcon::fromTheme(QLatin1String(name), drawn) : drawn;
}

} // namespace Quorvel1

#pragma once
// The pictures of the tool buttons and of the About box: the desktop theme's
// icon where the theme has one, else a small picture the program draws
// itself, so the buttons never show text alone.
#include <QIcon>
#include <QPixmap>

namespace Quorvel1 {

enum class TToolGlyph { Open, Save, NewSite, Dial, HangUp, Download, Exit, Program };

// The theme's icon of that name, or the drawn picture.
QIcon ToolGlyphIcon(TToolGlyph glyph);
// The program's own picture, `size` pixels square.
QPixmap DrawToolGlyph(TToolGlyph glyph, int size);

} // namespace Quorvel1

// The pictures the window draws itself: the blue triangle glyphs of the
// arrow buttons and the program's icon.
#pragma once

#include <QIcon>

namespace quillomar::window {

enum class TGlyphDirection { Left, Right };

// A 16 x 16 (device-independent) blue triangle pointing in aDirection.
QIcon TriangleGlyph(TGlyphDirection aDirection, qreal aDevicePixelRatio = 1.0);

// The window icon: the two pans' signs "^" and "v" as triangles.
QIcon ProgramIcon();

}  // namespace quillomar::window

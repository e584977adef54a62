#pragma once

#include <QFont>

#include <span>

class QTableView;
class QWidget;

namespace hvr::gui {

// Text that fits its box at every zoom and scale: the design's boxes keep their places, and a
// caption that the system's font makes wider than its box is set a little smaller instead of
// being cut off.

// The width, in pixels, that a widget gives its text (a label's, a button's, an option's, a
// frame's title, a box's or a list's shown text), and what its text needs in a font.
int textRoom(const QWidget& widget);
int textNeed(const QWidget& widget, const QFont& font);

// Gives the widget the design's font, or, where its text does not fit, the largest font that
// does, in steps of 5 % and no smaller than half the design's.
void fitText(QWidget& widget, const QFont& designFont);

// An option button's round mark and the gap after it at the window's zoom, as its text is, so
// that a small zoom leaves the text its share of the box.
void zoomOptionMark(QWidget& option, double zoom);

// What a table's heading needs: its text, the style's margins, and room for the sort mark
// where the column is the one sorted by.
int headingNeed(const QTableView& table, int column);

// Each column as wide as the design makes it at the zoom, or as its heading and the shown rows
// need where that is wider.
void fitColumns(QTableView& table, std::span<const int> designPixels, double zoom);

} // namespace hvr::gui

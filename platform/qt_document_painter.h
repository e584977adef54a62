#pragma once

#include <QByteArray>
#include <QPagedPaintDevice>
#include <QPainter>

#include <optional>

#include "platform/documents.h"

namespace hvr::platform {

// Texts measured as the painter below draws them: fonts sized in twips and unhinted, so that a
// text has one width on a PDF and on any printer, whatever its resolution.
class QtTextMeasure final : public TextMeasure {
  public:
    double lineHeight(const PrintFont& font) const override;
    double textWidth(const PrintFont& font, std::string_view text) const override;
};

// Draws one mark on a painter whose units are twips.
void drawMark(QPainter& painter, const PageMark& mark);

// Draws every page of the document on a paged device (a PDF writer, a printer), twips from the
// top-left corner of its paper, the whole page made smaller where the paper is too small; false
// when the device fails.
bool paintDocument(const Document& document, QPagedPaintDevice& device);

// The document as PDF bytes, on paper of the document's size; none when it cannot be drawn.
std::optional<QByteArray> documentPdf(const Document& document);

} // namespace hvr::platform

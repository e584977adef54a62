#pragma once

#include <QByteArray>
#include <QPagedPaintDevice>

#include <optional>

#include "platform/documents.h"

namespace hvr::platform {

// Draws every page of the document on a paged device (a PDF writer, a printer) whose page is
// the document's paper, full page, twips from its top-left corner; false when the device fails.
bool paintDocument(const Document& document, QPagedPaintDevice& device);

// The document as PDF bytes; none when it cannot be drawn.
std::optional<QByteArray> documentPdf(const Document& document);

} // namespace hvr::platform

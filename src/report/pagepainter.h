#pragma once

#include <functional>

class QPagedPaintDevice;
class QPainter;

namespace tarvello
{

// Paints the pages of a document on an open painter whose device is a printer, a PDF writer or
// the preview's, calling newPage() on the device between pages. Every length is measured on that
// device. False when a page could not be begun.
using PagePainter = std::function<bool(QPainter&, QPagedPaintDevice&)>;

} // namespace tarvello

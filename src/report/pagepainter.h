#pragma once

#include <functional>

class QPagedPaintDevice;
class QPainter;

namespace tarvello
{

class Progress;

// Paints the pages of a document on an open painter whose device is a printer, a PDF writer or
// the preview's, calling newPage() on the device between pages. Every length is measured on that
// device. Where there is a `progress` (printing, not the preview) each page painted is reported to
// it, and painting ends, answering false, once the user stopped it. False too when a page could
// not be begun.
using PagePainter = std::function<bool(QPainter&, QPagedPaintDevice&, Progress*)>;

} // namespace tarvello

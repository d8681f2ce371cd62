#pragma once

#include "core/worksheet/Worksheet.h"

#include <QPageLayout>
#include <QPageSize>
#include <QString>

#include <functional>

class QPagedPaintDevice;

// Puts a worksheet on paper or into a PDF: any paged device (a printer, a PDF writer, a
// preview) gets every page laid out for its own page size.
namespace WorksheetRenderer {

// Landscape for a printed map wider than it is tall, otherwise portrait.
QPageLayout::Orientation orientationFor(const Worksheet& worksheet);

// Lays out and paints every page on `device` in the device's page layout. False when there is
// nothing to print (no part chosen) or the device could not be painted (a printer that fails
// to start). `betweenPages` runs after each page (to let a window repaint during a long job).
bool paint(const Worksheet& worksheet, QPagedPaintDevice& device,
           const std::function<void()>& betweenPages = {});

// The page of an exported PDF: `pageSize` oriented to suit the map, with margins.
QPageLayout pdfPageLayout(const Worksheet& worksheet, const QPageSize& pageSize);

// Writes the worksheet as a PDF on paper of `pageSize`, oriented to suit the map, with the
// Japanese font embedded. The file is replaced only once the whole document is made; on
// failure the old file stays as it was and `errorString` says why.
[[nodiscard]] bool writePdf(const QString& path, const Worksheet& worksheet,
                            QString* errorString = nullptr,
                            const QPageSize& pageSize = QPageSize(QPageSize::A4),
                            const std::function<void()>& betweenPages = {});

} // namespace WorksheetRenderer

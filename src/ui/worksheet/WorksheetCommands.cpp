#include "ui/worksheet/WorksheetCommands.h"

#include "core/app/MainWindowState.h"
#include "core/app/MainWindowTexts.h"
#include "core/worksheet/Worksheet.h"
#include "core/worksheet/WorksheetRenderer.h"
#include "ui/platform/LongOperation.h"
#include "ui/worksheet/WorksheetDialog.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>

WorksheetCommands::WorksheetCommands(Services& services, QWidget& window,
                                     const QuestionTable& table, MainWindowState& state)
    : m_services(services)
    , m_window(window)
    , m_table(table)
    , m_state(state) {}

MessageRequest WorksheetCommands::exportFailed(const QString& path, const QString& reason) {
    QString text = QStringLiteral("PDFﾌｧｲﾙを保存できませんでした。\r") + path;
    if (!reason.isEmpty())
        text += u'\r' + reason;
    return MessageRequest::error(text);
}

MessageRequest WorksheetCommands::printFailed() {
    return MessageRequest::error(QStringLiteral("印刷できませんでした。"));
}

void WorksheetCommands::fileOpening() {
    m_path.clear();
    m_rows.clear();
    m_map = QImage();
}

void WorksheetCommands::fileOpened(const QString& path) {
    m_path = path;
    // A quiz shuffles the window's table in place, so the worksheet keeps its own copy in the
    // file's order (shared until the shuffle detaches the table).
    m_rows = m_table.rows();
}

std::optional<WorksheetOptions> WorksheetCommands::askOptions() {
    WorksheetDialog dialog(m_options, &m_window);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.options();
}

Worksheet WorksheetCommands::worksheet(const WorksheetOptions& options) {
    return Worksheet({QFileInfo(m_path).fileName(), QDate::currentDate(), m_map, m_rows}, options,
                     m_random);
}

void WorksheetCommands::print() {
    // A command held by a long read, or one that became unavailable, does nothing.
    if (!m_state.look(MainCommand::Print).enabled)
        return;
    const std::optional<WorksheetOptions> options = askOptions();
    if (!options)
        return;
    const Worksheet sheet = worksheet(*options);
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(sheet.source().fileName);
    printer.setPageOrientation(WorksheetRenderer::orientationFor(sheet));
    if (!m_services.setUpPrinter(printer))
        return;
    // The preview paints again for every change of its page setup; the print is the last.
    bool painted = false;
    const bool printed = m_services.previewPrint(
        printer, [&](QPrinter& target) { painted = WorksheetRenderer::paint(sheet, target); });
    if (!printed)
        return;
    if (!painted) {
        m_services.message(printFailed());
        emit statusChanged(MainWindowTexts::errorStatus());
        return;
    }
    m_options = *options;
    emit statusChanged(printedStatus());
}

void WorksheetCommands::exportPdf() {
    if (!m_state.look(MainCommand::ExportPdf).enabled)
        return;
    const std::optional<WorksheetOptions> options = askOptions();
    if (!options)
        return;
    // Offered: the question file's name as a PDF, in the folder of the last export or else
    // beside the question file.
    FileDialogState dialog = m_pdfDialog;
    const QFileInfo question(m_path);
    const QString folder = dialog.fileName.isEmpty() ? question.absolutePath()
                                                     : QFileInfo(dialog.fileName).absolutePath();
    dialog.fileName = QDir(folder).filePath(question.completeBaseName() + QStringLiteral(".pdf"));
    const QString path = m_services.saveFileName(dialog);
    if (path.isEmpty())
        return;

    const Worksheet sheet = worksheet(*options);
    m_state.setBusy(true);
    LongOperation operation(m_window, [this](bool held) { m_state.setCommandsHeld(held); });
    emit statusChanged(exportingStatus());
    QString error;
    const bool written = WorksheetRenderer::writePdf(path, sheet, &error, QPageSize(QPageSize::A4),
                                                     [&] { operation.letEventsRun(); });
    operation.releaseCommands();
    if (written) {
        m_options = *options;
        m_pdfDialog = dialog;
        emit statusChanged(exportedStatus());
    } else {
        operation.withNormalCursor([&] { return m_services.message(exportFailed(path, error)); });
        emit statusChanged(MainWindowTexts::errorStatus());
    }
    operation.end();
    m_state.setBusy(false);
    emit finished();
}

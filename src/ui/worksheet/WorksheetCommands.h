#pragma once

#include "core/data/QuestionTable.h"
#include "core/data/WorksheetOptions.h"
#include "core/platform/Services.h"
#include "core/quiz/RandomSource.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <optional>

class MainWindowState;
class Worksheet;
class QWidget;

// The main window's print and PDF-export commands, 印刷(&P)... and PDFに書き出し(&D)...: the
// worksheet's options, then the print dialog and the preview, or the save dialog and the
// export. Cancel at any step ends the command with nothing changed; the options chosen are
// offered again after a command that went through. Both commands are available while the
// window's state says so (a question file read in full has points and no quiz runs); the
// export is a long command of the window, marked in its state.
class WorksheetCommands : public QObject {
    Q_OBJECT
public:
    WorksheetCommands(Services& services, QWidget& window, const QuestionTable& table,
                      MainWindowState& state);

    // The question file on paper follows the window's reads: nothing while one runs or after
    // one failed; the file's name and its (last) map once one succeeded.
    void fileOpening();
    void mapLoaded(const QImage& map) { m_map = map; }
    void fileOpened(const QString& path);

    // Both do nothing while their menu items are unavailable.
    void print();
    void exportPdf();

    static QString pdfFilter() { return QStringLiteral("PDFﾌｧｲﾙ(*.pdf)|*.pdf"); }
    static QString exportingStatus() { return QStringLiteral("PDFに書き出しています..."); }
    static QString exportedStatus() { return QStringLiteral("PDFに書き出しました。"); }
    static QString printedStatus() { return QStringLiteral("印刷しました。"); }
    static MessageRequest exportFailed(const QString& path, const QString& reason);
    static MessageRequest printFailed();

signals:
    void statusChanged(const QString& text);
    // A worksheet has been written out (or failed to be): a close asked meanwhile may go on.
    void finished();

private:
    std::optional<WorksheetOptions> askOptions();
    Worksheet worksheet(const WorksheetOptions& options);

    Services& m_services;
    QWidget& m_window;
    const QuestionTable& m_table;
    MainWindowState& m_state;
    QString m_path;
    QImage m_map;
    PointList m_rows; // in the file's order
    WorksheetOptions m_options;
    FileDialogState m_pdfDialog{pdfFilter(), QString()};
    SystemRandomSource m_random;
};

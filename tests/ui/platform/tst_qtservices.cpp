// The real services where they can run without a person: the print preview.
#include "ui/platform/QtServices.h"

#include <QApplication>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTest>
#include <QTimer>

class TestQtServices : public QObject {
    Q_OBJECT
private slots:
    void printPreviewPaintsThePrinter();
};

// The preview asks the caller for its pages; closing it prints nothing.
void TestQtServices::printPreviewPaintsThePrinter() {
    QtServices services;
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    int painted = 0;
    int ticks = 0;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&] {
        // Closed once it painted, or after a fuse far beyond the few milliseconds it takes.
        auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (preview && (painted > 0 || ++ticks > 500))
            preview->reject();
    });
    closer.start(10);
    const bool printed = services.previewPrint(printer, [&](QPrinter& target) {
        QPainter(&target).drawText(100, 100, QStringLiteral("地図"));
        ++painted;
    });
    QVERIFY(!printed);
    QVERIFY(painted > 0);
}

QTEST_MAIN(TestQtServices)
#include "tst_qtservices.moc"

#include "ui/platform/QtServices.h"

#include "ui/platform/HelpWindow.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {

QWidget* dialogParent() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

// Our messages break lines with CR alone; Qt's labels only break at LF.
QString displayText(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace

QtServices::QtServices() = default;

QtServices::~QtServices() {
    delete m_help;
}

MessageAnswer QtServices::showMessage(const MessageRequest& request) {
    QMessageBox box(dialogParent());
    box.setWindowTitle(request.title);
    box.setText(displayText(request.text));
    box.setTextFormat(Qt::PlainText);
    switch (request.icon) {
    case MessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    if (request.buttons == MessageButtons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return MessageAnswer::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(request.buttons == MessageButtons::YesNoDefaultNo ? QMessageBox::No
                                                                           : QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

QString QtServices::askOpenFileName(const QString& filter, const QString& proposed) {
    return QFileDialog::getOpenFileName(dialogParent(), QString(), proposed, qtFileFilter(filter));
}

QString QtServices::askSaveFileName(const QString& filter, const QString& proposed) {
    // No default extension: a name typed without one is used as typed.
    return QFileDialog::getSaveFileName(dialogParent(), QString(), proposed, qtFileFilter(filter));
}

QString QtServices::inputBox(const QString& prompt, const QString& title) {
    bool accepted = false;
    const QString text = QInputDialog::getText(dialogParent(), title, displayText(prompt),
                                               QLineEdit::Normal, QString(), &accepted);
    return accepted ? text : QString();
}

void QtServices::showHelp(const QString& helpFile) {
    if (helpFile.isEmpty())
        return;
    if (!m_help)
        m_help = new HelpWindow();
    QString reason;
    if (!m_help->openFile(helpFile, &reason)) {
        // An empty viewer would say nothing of why.
        message({QStringLiteral("ﾍﾙﾌﾟﾌｧｲﾙを開けませんでした。\r") + helpFile + u'\r' + reason,
                 QStringLiteral("ﾍﾙﾌﾟ"), MessageButtons::Ok, MessageIcon::Exclamation});
        return;
    }
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

bool QtServices::setUpPrinter(QPrinter& printer) {
    QPrintDialog dialog(&printer, dialogParent());
    dialog.setWindowTitle(QStringLiteral("印刷"));
    return dialog.exec() == QDialog::Accepted;
}

bool QtServices::previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
    QPrintPreviewDialog preview(&printer, dialogParent());
    preview.setWindowTitle(QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ"));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                     [&](QPrinter* target) { paint(*target); });
    return preview.exec() == QDialog::Accepted;
}

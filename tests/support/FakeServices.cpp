#include "FakeServices.h"

#include <QPrinter>

void FakeServices::clear() {
    messages.clear();
    fileRequests.clear();
    inputRequests.clear();
    helpRequests.clear();
    printSetups = 0;
    previews = 0;
    unscriptedRequests = 0;
    m_messageAnswers.clear();
    m_fileAnswers.clear();
    m_inputAnswers.clear();
    m_messageHooks.clear();
    m_printSetupAnswers.clear();
    m_previewAnswers.clear();
}

MessageAnswer FakeServices::showMessage(const MessageRequest& request) {
    messages.append(request);
    if (!m_messageHooks.isEmpty())
        m_messageHooks.takeFirst()(request);
    if (!m_messageAnswers.isEmpty())
        return m_messageAnswers.takeFirst();
    if (request.buttons != MessageButtons::Ok)
        ++unscriptedRequests;
    return request.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
}

QString FakeServices::nextFileAnswer() {
    if (m_fileAnswers.isEmpty()) {
        ++unscriptedRequests;
        return QString();
    }
    return m_fileAnswers.takeFirst();
}

QString FakeServices::askOpenFileName(const QString& filter, const QString& proposed) {
    fileRequests.append({false, filter, proposed});
    return nextFileAnswer();
}

QString FakeServices::askSaveFileName(const QString& filter, const QString& proposed) {
    fileRequests.append({true, filter, proposed});
    return nextFileAnswer();
}

QString FakeServices::inputBox(const QString& prompt, const QString& title) {
    inputRequests.append({prompt, title});
    if (m_inputAnswers.isEmpty()) {
        ++unscriptedRequests;
        return QString();
    }
    return m_inputAnswers.takeFirst();
}

void FakeServices::showHelp(const QString& helpFile) {
    helpRequests.append(helpFile);
}

bool FakeServices::setUpPrinter(QPrinter& printer) {
    ++printSetups;
    if (m_printSetupAnswers.isEmpty()) {
        ++unscriptedRequests;
        return false;
    }
    const auto [accept, pdfPath] = m_printSetupAnswers.takeFirst();
    if (accept && !pdfPath.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
    }
    return accept;
}

bool FakeServices::previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
    ++previews;
    if (m_previewAnswers.isEmpty()) {
        ++unscriptedRequests;
        return false;
    }
    const bool print = m_previewAnswers.takeFirst();
    if (print)
        paint(printer);
    return print;
}

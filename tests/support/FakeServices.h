#pragma once

#include "core/platform/Services.h"

#include <QList>
#include <QStringList>

#include <functional>

// Scripted services for tests. Every request is recorded; answers come from queues filled by
// the test. A request with nothing queued gets the harmless default (OK, No, cancel, empty)
// and is counted in unscriptedRequests, so a test can assert that nothing unexpected popped up.
class FakeServices : public Services {
public:
    struct FileRequest {
        bool save = false;
        QString filter;
        QString proposed;
    };
    struct InputRequest {
        QString prompt;
        QString title;
    };

    // Scripting.
    void answerMessage(MessageAnswer answer) { m_messageAnswers.append(answer); }
    void answerFile(const QString& path) { m_fileAnswers.append(path); }
    void answerInput(const QString& text) { m_inputAnswers.append(text); }
    // The next print dialog is accepted or cancelled; an accepted one may point the printer at
    // a PDF file, so a test reads what was printed. The next preview is printed (its pages
    // painted on the printer) or closed.
    void answerPrintSetup(bool accept, const QString& pdfPath = QString()) {
        m_printSetupAnswers.append({accept, pdfPath});
    }
    void answerPreview(bool print) { m_previewAnswers.append(print); }
    // Runs while the next message box is "open" (for instance to inspect window state).
    void onNextMessage(std::function<void(const MessageRequest&)> hook) {
        m_messageHooks.append(std::move(hook));
    }

    // Records.
    QList<MessageRequest> messages;
    QList<FileRequest> fileRequests;
    QList<InputRequest> inputRequests;
    QStringList helpRequests;
    int printSetups = 0;
    int previews = 0;
    int unscriptedRequests = 0;

    const MessageRequest& lastMessage() const { return messages.constLast(); }
    void clear();

    QString inputBox(const QString& prompt, const QString& title) override;
    void showHelp(const QString& helpFile) override;
    bool setUpPrinter(QPrinter& printer) override;
    bool previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override;

protected:
    MessageAnswer showMessage(const MessageRequest& request) override;
    QString askOpenFileName(const QString& filter, const QString& proposed) override;
    QString askSaveFileName(const QString& filter, const QString& proposed) override;

private:
    QString nextFileAnswer();

    QList<MessageAnswer> m_messageAnswers;
    QStringList m_fileAnswers;
    QStringList m_inputAnswers;
    QList<std::function<void(const MessageRequest&)>> m_messageHooks;
    QList<std::pair<bool, QString>> m_printSetupAnswers;
    QList<bool> m_previewAnswers;
};

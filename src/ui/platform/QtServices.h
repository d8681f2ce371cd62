#pragma once

#include "core/platform/Services.h"

#include <QPointer>

class HelpWindow;

// The real services: Qt's message box, file dialogs, input dialog and our help window.
// Boxes are parented to the active window so they stay modal over it.
class QtServices : public Services {
public:
    QtServices();
    ~QtServices() override;

    QString inputBox(const QString& prompt, const QString& title) override;
    void showHelp(const QString& helpFile) override;
    bool setUpPrinter(QPrinter& printer) override;
    bool previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override;

protected:
    MessageAnswer showMessage(const MessageRequest& request) override;
    QString askOpenFileName(const QString& filter, const QString& proposed) override;
    QString askSaveFileName(const QString& filter, const QString& proposed) override;

private:
    QPointer<HelpWindow> m_help;
};

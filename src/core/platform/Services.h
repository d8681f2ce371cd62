#pragma once

#include <QString>

#include <functional>

class QPrinter;

// Everything the program says to the user outside its own windows goes through Services:
// message boxes, file dialogs, the input box and the help viewer. Windows hold a Services&
// so tests can hand them a scripted fake that records each request and answers it.

enum class MessageButtons { Ok, YesNo, YesNoDefaultNo };
enum class MessageIcon { None, Exclamation, Question };
enum class MessageAnswer { Ok, Yes, No };

struct MessageRequest {
    QString text; // lines joined by CR (or CR LF for the quiz result)
    QString title;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;

    static QString errorTitle() { return QStringLiteral("ｴﾗｰ"); }
    // The plain error box: OK and the exclamation mark, titled "ｴﾗｰ" unless told otherwise.
    static MessageRequest error(const QString& text, const QString& title = errorTitle()) {
        return {text, title, MessageButtons::Ok, MessageIcon::Exclamation};
    }
};

// One file dialog of a window (CommonDialog1, CommonDialog2): its filter, written as
// "label|pattern", and the path chosen last, which the dialog offers the next time.
struct FileDialogState {
    QString filter;
    QString fileName;
};

class Services {
public:
    // Title of a message box that has none of its own.
    static QString applicationTitle() { return QStringLiteral("ZAVMap"); }

    virtual ~Services() = default;

    // Modal message box; an empty title shows the application title.
    MessageAnswer message(const QString& text, const QString& title = QString(),
                          MessageButtons buttons = MessageButtons::Ok,
                          MessageIcon icon = MessageIcon::None);
    MessageAnswer message(const MessageRequest& request) {
        return message(request.text, request.title, request.buttons, request.icon);
    }

    // Open and save dialogs: the chosen full path, or empty when cancelled. A choice is
    // remembered in the dialog's state.
    QString openFileName(FileDialogState& dialog);
    QString saveFileName(FileDialogState& dialog);

    // Modal input box with an empty entry; empty when cancelled.
    virtual QString inputBox(const QString& prompt, const QString& title) = 0;

    // Shows the help file (empty when none was found beside the program).
    virtual void showHelp(const QString& helpFile) = 0;

    // Print dialog over `printer`, which keeps the choices for the next time; false when
    // cancelled.
    virtual bool setUpPrinter(QPrinter& printer) = 0;
    // Print preview of the pages `paint` draws on a printer; true when the user printed them
    // from it, false when the preview was closed without printing.
    virtual bool previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) = 0;

protected:
    virtual MessageAnswer showMessage(const MessageRequest& request) = 0;
    virtual QString askOpenFileName(const QString& filter, const QString& proposed) = 0;
    virtual QString askSaveFileName(const QString& filter, const QString& proposed) = 0;
};

// Converts a "label|pattern" filter to Qt's "label (patterns)" form. Every "*.ext" pattern is
// offered in lower and upper case too, since files made on Windows often carry ".ZVM".
QString qtFileFilter(const QString& filter);

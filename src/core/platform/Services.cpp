#include "core/platform/Services.h"

#include <QStringList>

MessageAnswer Services::message(const QString& text, const QString& title, MessageButtons buttons,
                                MessageIcon icon) {
    return showMessage({text, title.isEmpty() ? applicationTitle() : title, buttons, icon});
}

QString Services::openFileName(FileDialogState& dialog) {
    const QString chosen = askOpenFileName(dialog.filter, dialog.fileName);
    if (!chosen.isEmpty())
        dialog.fileName = chosen;
    return chosen;
}

QString Services::saveFileName(FileDialogState& dialog) {
    const QString chosen = askSaveFileName(dialog.filter, dialog.fileName);
    if (!chosen.isEmpty())
        dialog.fileName = chosen;
    return chosen;
}

QString qtFileFilter(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            for (const QString& variant : {pattern, pattern.toLower(), pattern.toUpper()}) {
                if (!patterns.contains(variant))
                    patterns << variant;
            }
        }
        filters << parts[i] + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return filters.join(QStringLiteral(";;"));
}

#include "core/app/QtLanguage.h"

#include <QCoreApplication>
#include <QDebug>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// Texts Qt's Japanese catalogue of Qt 6.4 lacks: the file dialog's type of a folder and of a
// drive. Written as the catalogue writes its own katakana (full width), since they stand in
// the dialog's column beside the catalogue's and the system's type names.
class CatalogueGaps : public QTranslator {
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* sourceText, const char*,
                      int) const override {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return QString();
        if (qstrcmp(sourceText, "Folder") == 0)
            return QStringLiteral("フォルダ");
        if (qstrcmp(sourceText, "Drive") == 0)
            return QStringLiteral("ドライブ");
        return QString();
    }
};

} // namespace

namespace QtLanguage {

bool useJapanese(QCoreApplication& app) {
    // Dialogs take their language (dates, sizes, the order of texts) from the default locale.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    // qtbase holds every text of Qt's widgets, dialogs and print support; the catalogue qt_ja
    // would only add those of modules the program does not use (QML, multimedia), each one
    // more file to open at every start.
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"), folder) &&
        QCoreApplication::installTranslator(translator)) {
        QCoreApplication::installTranslator(new CatalogueGaps(&app));
        return true;
    }
    delete translator;
    qWarning().noquote() << "Qt's Japanese texts (qtbase_ja.qm) not found in" << folder
                         << "- Qt's dialogs stay English";
    return false;
}

} // namespace QtLanguage

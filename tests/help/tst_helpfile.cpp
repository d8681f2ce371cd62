// The help file as the help window shows it: its links reach their sections, and the captions it
// quotes are the ones the windows really show.

#include "core/app/HelpFile.h"
#include "ui/app/MainWindow.h"
#include "ui/dialogs/OptionsDialog.h"
#include "ui/dialogs/RecentFilesDialog.h"
#include "ui/editor/EditorWindow.h"
#include "ui/platform/HelpWindow.h"

#include "FakeServices.h"

#include <QAbstractButton>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

namespace {

QString helpPath() {
    return QString::fromUtf8(ZAV_HELP_FILE);
}

QString helpText() {
    QFile file(helpPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// What a user sees on screen: the access-key marker is not shown.
QString shown(QString caption) {
    return caption.remove(u'&');
}

// Every caption a window shows: menus, menu items, buttons, labels.
void collectCaptions(const QWidget& window, QSet<QString>& captions) {
    for (const QAction* action : window.findChildren<QAction*>())
        captions.insert(shown(action->text()));
    for (const QMenu* menu : window.findChildren<QMenu*>())
        captions.insert(shown(menu->title()));
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
        captions.insert(shown(button->text()));
    for (const QLabel* label : window.findChildren<QLabel*>())
        captions.insert(shown(label->text()));
}

// The commands a user can choose from a window's menu bar, submenus included.
void collectMenuCommands(const QList<QAction*>& actions, QStringList& commands) {
    for (const QAction* action : actions) {
        if (action->isSeparator() || action->text().isEmpty())
            continue;
        commands.append(shown(action->text()));
        if (action->menu())
            collectMenuCommands(action->menu()->actions(), commands);
    }
}

QStringList menuCommands(const QWidget& window) {
    QStringList commands;
    for (const QMenuBar* bar : window.findChildren<QMenuBar*>())
        collectMenuCommands(bar->actions(), commands);
    return commands;
}

} // namespace

class TestHelpFile : public QObject {
    Q_OBJECT

private slots:
    void isTheFileTheProgramLooksFor();
    void isUtf8Html();
    void everyLinkReachesAnAnchor();
    void quotedCaptionsAreTheWindowsOwn();
    void everyMenuCommandIsExplained();
};

void TestHelpFile::isTheFileTheProgramLooksFor() {
    QCOMPARE(QFileInfo(helpPath()).fileName(), HelpFile::fileName());
}

void TestHelpFile::isUtf8Html() {
    QFile file(helpPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    QVERIFY(!decoder.hasError());
    QVERIFY(text.contains(QStringLiteral("<html")));
    QVERIFY(text.contains(QStringLiteral("</html>")));
}

// Read by the help window itself: every internal link names an anchor that the document has,
// and every anchor but the top one is reached from somewhere (the table of contents).
void TestHelpFile::everyLinkReachesAnAnchor() {
    HelpWindow window;
    QVERIFY(window.openFile(helpPath()));
    const QTextDocument* document = window.browser()->document();

    QSet<QString> anchors;
    QSet<QString> targets;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            for (const QString& name : format.anchorNames())
                anchors.insert(name);
            const QString href = format.anchorHref();
            if (href.startsWith(u'#'))
                targets.insert(href.mid(1));
        }
    QVERIFY2(anchors.size() >= 20, qPrintable(QString::number(anchors.size())));
    for (const QString& target : targets)
        QVERIFY2(anchors.contains(target), qPrintable(u'#' + target));
    for (const QString& anchor : anchors)
        QVERIFY2(anchor == u"top" || targets.contains(anchor), qPrintable(anchor));
}

// A caption quoted with its access key, 「開く(O)」, must be one that a window shows, exactly:
// half-width katakana and all.
void TestHelpFile::quotedCaptionsAreTheWindowsOwn() {
    FakeServices services;
    QTemporaryDir ownFolder;
    QVERIFY(ownFolder.isValid());
    MainWindow mainWindow(services, ownFolder.path() + u'/');
    EditorWindow editor(services);
    RecentFilesDialog recentFiles({}, StartupOption::Dialog);
    OptionsDialog options(StartupOption::Dialog);
    QSet<QString> captions;
    for (const QWidget* window :
         {static_cast<QWidget*>(&mainWindow), static_cast<QWidget*>(&editor),
          static_cast<QWidget*>(&recentFiles), static_cast<QWidget*>(&options)})
        collectCaptions(*window, captions);
    // The editor's button reads otherwise in edit mode.
    QAction* editMode = editor.findChild<QAction*>(QStringLiteral("Menu2_EditMode"));
    QVERIFY(editMode);
    editMode->trigger();
    collectCaptions(editor, captions);

    const QString text = helpText();
    static const QRegularExpression quoted(QStringLiteral("「([^「」]*\\([A-Z]\\))」"));
    int count = 0;
    for (const QRegularExpressionMatch& match : quoted.globalMatch(text)) {
        ++count;
        QVERIFY2(captions.contains(match.captured(1)), qPrintable(match.captured(0)));
    }
    QVERIFY(count >= 30);
}

void TestHelpFile::everyMenuCommandIsExplained() {
    FakeServices services;
    QTemporaryDir ownFolder;
    QVERIFY(ownFolder.isValid());
    MainWindow mainWindow(services, ownFolder.path() + u'/');
    EditorWindow editor(services);
    QStringList commands = menuCommands(mainWindow) + menuCommands(editor);
    const QMenu* popup = editor.findChild<QMenu*>(QStringLiteral("PMenu1"));
    QVERIFY(popup);
    collectMenuCommands(popup->actions(), commands);
    QVERIFY(commands.size() >= 25);

    const QString text = helpText();
    for (const QString& command : commands)
        QVERIFY2(text.contains(u'「' + command + u'」'), qPrintable(command));
}

QTEST_MAIN(TestHelpFile)
#include "tst_helpfile.moc"

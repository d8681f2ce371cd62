#include "TestFiles.h"
#include "core/platform/SystemError.h"
#include "ui/platform/HelpWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

using TestFiles::u8;

class TestHelpWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void showsTheFileAsHtml();
    void findsWithWrapAround();
    void reportsTextThatIsNowhere();
    void internalLinksMoveAndBackReturns();

private:
    QTemporaryDir m_dir;
    QString m_file;
    std::unique_ptr<HelpWindow> m_window;
};

void TestHelpWindow::init() {
    QVERIFY(m_dir.isValid());
    m_file = m_dir.filePath(u8("ZAV地図覚えヘルプ.hlp"));
    QByteArray html =
        u8("<html><body><h1 id=\"top\">目次</h1><p><a href=\"#play\">遊び方</a></p>").toUtf8();
    for (int i = 0; i < 80; ++i)
        html += "<p>filler line</p>";
    html += u8("<h2 id=\"play\">遊び方</h2><p>答え1か答え2と同じなら正解です。</p>"
               "<h2 id=\"edit\">問題の作り方</h2><p>答え1を入力します。</p></body></html>")
                .toUtf8();
    QVERIFY(TestFiles::writeBytes(m_file, html));
    m_window = std::make_unique<HelpWindow>();
    QVERIFY(m_window->openFile(m_file));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestHelpWindow::showsTheFileAsHtml() {
    QVERIFY(m_window->browser()->toPlainText().contains(u8("遊び方")));
    QVERIFY(!m_window->browser()->toPlainText().contains(u8("<h1")));
    QCOMPARE(m_window->windowTitle(), u8("ﾍﾙﾌﾟ - ZAV地図覚えヘルプ"));
    QString reason;
    QVERIFY(!m_window->openFile(m_dir.filePath(QStringLiteral("missing.hlp")), &reason));
    QCOMPARE(reason, SystemError::text(SystemError::Condition::NotFound));
}

void TestHelpWindow::findsWithWrapAround() {
    QVERIFY(!m_window->findBar()->isVisible());
    QTest::keyClick(m_window->browser(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(m_window->findBar()->isVisible());
    QVERIFY(m_window->findEdit()->hasFocus());
    m_window->findEdit()->setText(u8("答え1"));
    QTest::keyClick(m_window->findEdit(), Qt::Key_Return);
    QTextCursor first = m_window->browser()->textCursor();
    QCOMPARE(first.selectedText(), u8("答え1"));
    QTest::keyClick(m_window->findEdit(), Qt::Key_Return);
    QTextCursor second = m_window->browser()->textCursor();
    QCOMPARE(second.selectedText(), u8("答え1"));
    QVERIFY(second.position() > first.position());
    // Past the last match it starts again at the top.
    QTest::keyClick(m_window->findEdit(), Qt::Key_Return);
    QCOMPARE(m_window->browser()->textCursor().position(), first.position());
    // Shift+Enter goes back.
    QTest::keyClick(m_window->findEdit(), Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(m_window->browser()->textCursor().position(), second.position());
    QTest::keyClick(m_window->findEdit(), Qt::Key_Escape);
    QVERIFY(!m_window->findBar()->isVisible());
}

void TestHelpWindow::reportsTextThatIsNowhere() {
    m_window->showFindBar();
    m_window->findEdit()->setText(QStringLiteral("no such words"));
    QVERIFY(!m_window->findNext());
    auto* status = m_window->findChild<QLabel*>(QStringLiteral("HelpFindStatus"));
    QVERIFY(status);
    QCOMPARE(status->text(), u8("見つかりません。"));
    m_window->findEdit()->setText(u8("遊び方"));
    QVERIFY(m_window->findNext());
    QVERIFY(status->text().isEmpty());
}

void TestHelpWindow::internalLinksMoveAndBackReturns() {
    QTextBrowser* browser = m_window->browser();
    QVERIFY(!browser->isBackwardAvailable());
    browser->setSource(browser->source().resolved(QUrl(QStringLiteral("#play"))));
    QVERIFY(browser->isBackwardAvailable());
    QVERIFY(browser->verticalScrollBar()->value() > 0);
    browser->backward();
    QCOMPARE(browser->verticalScrollBar()->value(), 0);
}

QTEST_MAIN(TestHelpWindow)
#include "tst_helpwindow.moc"

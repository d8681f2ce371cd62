#include "ui/platform/HelpWindow.h"

#include "core/platform/SystemError.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include <cerrno>

namespace {

// Enter in the find entry looks forward, Shift+Enter backward, Esc closes the bar.
class FindEdit : public QLineEdit {
public:
    FindEdit(HelpWindow* window, QWidget* parent)
        : QLineEdit(parent)
        , m_window(window) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            m_window->findNext(event->modifiers() & Qt::ShiftModifier);
            return;
        }
        if (event->key() == Qt::Key_Escape) {
            m_window->findBar()->hide();
            m_window->browser()->setFocus();
            return;
        }
        QLineEdit::keyPressEvent(event);
    }

private:
    HelpWindow* m_window;
};

} // namespace

HelpWindow::HelpWindow(QWidget* parent)
    : QMainWindow(parent)
    , m_browser(new QTextBrowser(this))
    , m_findBar(new QWidget(this))
    , m_findEdit(new FindEdit(this, m_findBar))
    , m_findStatus(new QLabel(m_findBar)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("ﾍﾙﾌﾟ"));
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setOpenExternalLinks(true);

    auto* navigation = addToolBar(QStringLiteral("ﾅﾋﾞｹﾞｰｼｮﾝ"));
    navigation->setMovable(false);
    QAction* back =
        navigation->addAction(QStringLiteral("戻る"), m_browser, &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    QAction* forward =
        navigation->addAction(QStringLiteral("進む"), m_browser, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    QAction* home = navigation->addAction(QStringLiteral("目次"), m_browser, &QTextBrowser::home);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    home->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    QAction* find = navigation->addAction(QStringLiteral("検索"), this, &HelpWindow::showFindBar);
    find->setShortcut(QKeySequence::Find);

    m_findBar->setObjectName(QStringLiteral("HelpFindBar"));
    m_findEdit->setObjectName(QStringLiteral("HelpFind"));
    m_findStatus->setObjectName(QStringLiteral("HelpFindStatus"));
    auto* label = new QLabel(QStringLiteral("検索(&F):"), m_findBar);
    label->setBuddy(m_findEdit);
    auto* next = new QPushButton(QStringLiteral("次へ"), m_findBar);
    auto* previous = new QPushButton(QStringLiteral("前へ"), m_findBar);
    connect(next, &QPushButton::clicked, this, [this] { findNext(false); });
    connect(previous, &QPushButton::clicked, this, [this] { findNext(true); });
    auto* bar = new QHBoxLayout(m_findBar);
    bar->setContentsMargins(4, 2, 4, 2);
    bar->addWidget(label);
    bar->addWidget(m_findEdit, 1);
    bar->addWidget(next);
    bar->addWidget(previous);
    bar->addWidget(m_findStatus);
    m_findBar->hide();
    auto* findNextKey = new QShortcut(QKeySequence::FindNext, this);
    connect(findNextKey, &QShortcut::activated, this, [this] { findNext(false); });
    auto* findPreviousKey = new QShortcut(QKeySequence::FindPrevious, this);
    connect(findPreviousKey, &QShortcut::activated, this, [this] { findNext(true); });

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_browser, 1);
    layout->addWidget(m_findBar);
    setCentralWidget(central);
    resize(640, 720);
}

bool HelpWindow::openFile(const QString& path, QString* reason) {
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        const int code = errno;
        if (reason)
            *reason = SystemError::describe(file, code);
        return false;
    }
    file.close();
    // The file is UTF-8 HTML whatever its extension: say so, or QTextBrowser would take the
    // unknown extension for plain text. As the source, it gives links and Back their history.
    m_browser->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()),
                         QTextDocument::HtmlResource);
    setWindowTitle(QStringLiteral("ﾍﾙﾌﾟ - ") + QFileInfo(path).completeBaseName());
    return true;
}

void HelpWindow::showFindBar() {
    m_findBar->show();
    m_findEdit->setFocus(Qt::ShortcutFocusReason);
    m_findEdit->selectAll();
}

bool HelpWindow::findNext(bool backward) {
    const QString text = m_findEdit->text();
    m_findStatus->clear();
    if (text.isEmpty())
        return false;
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (m_browser->find(text, flags))
        return true;
    // Wrap around once from the other end.
    QTextCursor cursor = m_browser->textCursor();
    cursor.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    m_browser->setTextCursor(cursor);
    if (m_browser->find(text, flags))
        return true;
    m_findStatus->setText(QStringLiteral("見つかりません。"));
    return false;
}

#include "platform/HelpWindow.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

HelpWindow::HelpWindow(QWidget* parent)
    : QMainWindow(parent)
    , m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("ﾍﾙﾌﾟ"));
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setOpenExternalLinks(true);
    setCentralWidget(m_browser);
    resize(640, 720);
}

bool HelpWindow::openFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // The file is UTF-8 HTML whatever its extension; links resolve beside it.
    m_browser->document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath() + u'/'));
    m_browser->setHtml(QString::fromUtf8(file.readAll()));
    setWindowTitle(QStringLiteral("ﾍﾙﾌﾟ - ") + QFileInfo(path).completeBaseName());
    return true;
}

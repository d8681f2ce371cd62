// The yardstick for start-up time: the least a Qt Widgets program does to show one main window.
// With the argument "text" the window also gets one menu and a status-bar text in Japanese,
// which shows what the font system alone costs a window that has anything to say.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("minimal"));
    if (QCoreApplication::arguments().contains(QStringLiteral("text"))) {
        window.menuBar()
            ->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"))
            ->addAction(QStringLiteral("開く(&O)"));
        window.statusBar()->showMessage(QStringLiteral("ﾌｧｲﾙを開いてください。"));
    }
    window.show();
    return app.exec();
}

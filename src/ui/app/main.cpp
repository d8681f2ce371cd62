#include "core/app/QtLanguage.h"
#include "core/app/StartupPlan.h"
#include "ui/app/MainWindow.h"
#include "ui/platform/QtServices.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QtLanguage::useJapanese(app);
    QtServices services;
    auto* window = new MainWindow(services);
    // Closing the main window ends the program, whatever other windows (help) are open.
    window->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(window, &QObject::destroyed, &app, [] { QCoreApplication::exit(0); });
    // QApplication has taken its own options out of the arguments by now.
    window->start(StartupPlan::commandLineText(QCoreApplication::arguments()));
    window->show();
    return app.exec();
}

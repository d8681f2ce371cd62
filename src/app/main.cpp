#include "app/Form1.h"
#include "app/StartupPlan.h"
#include "platform/QtServices.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QtServices services;
    auto* form = new Form1(services);
    // Closing the main window ends the program, whatever other windows (help) are open.
    form->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(form, &QObject::destroyed, &app, [] { QCoreApplication::exit(0); });
    // QApplication has taken its own options out of the arguments by now.
    form->Form_Load(StartupPlan::commandLineText(QCoreApplication::arguments()));
    form->show();
    return app.exec();
}

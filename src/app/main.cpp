#include "app/Form1.h"
#include "platform/QtServices.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QtServices services;
    Form1 form(services);
    form.show();
    return app.exec();
}

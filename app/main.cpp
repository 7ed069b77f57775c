#include "core/panels.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tintra::mainpanel = new tintra::MainPanel();
    tintra::mainpanel->setWindowTitle(QStringLiteral("TINTRA-Revov V3.0"));
    tintra::mainpanel->show();
    const int rc = app.exec();
    delete tintra::mainpanel;
    return rc;
}

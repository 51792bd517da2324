#include "shell/quitsignals.h"
#include "shell/startup.h"
#include "shell/tsdiappform.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kovanta"));
    QApplication::setOrganizationName(QStringLiteral("Kovanta"));
    QApplication::setWindowIcon(kovanta::programIcon());

    kovanta::installGermanQtTexts();
    kovanta::showY2kWarningIfNeeded();

    kovanta::TSDIAppForm window;
    kovanta::closeOnTerminationSignals(&window);
    window.showInitially();
    return QApplication::exec();
}

#include "shell/commandline.h"
#include "shell/quitsignals.h"
#include "shell/startup.h"
#include "shell/tsdiappform.h"

#include <QApplication>

int main(int argc, char** argv)
{
    if (const auto status = kovanta::answerInformationalArguments(argc, argv))
        return *status;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kovanta"));
    QApplication::setOrganizationName(QStringLiteral("Kovanta"));
    QApplication::setWindowIcon(kovanta::programIcon());
    QString planFile;
    if (const auto status = kovanta::planFileArgument(QApplication::arguments(), planFile))
        return *status;

    kovanta::installGermanQtTexts();
    kovanta::showY2kWarningIfNeeded();

    kovanta::TSDIAppForm window;
    kovanta::closeOnTerminationSignals(&window);
    if (!planFile.isEmpty())
        kovanta::openPlanAfterFirstRead(window, planFile);
    window.showInitially();
    return QApplication::exec();
}

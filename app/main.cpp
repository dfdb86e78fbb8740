// Lingrove: translates the user-visible text of Delphi projects in place.
#include "app/Application.h"
#include "app/MainWindow.h"
#include "ui/project/ProjectFeature.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication qt(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lingrove"));
    QApplication::setOrganizationName(QStringLiteral("QUORVEX"));
    QApplication::setApplicationVersion(QStringLiteral("0.5"));

    lingrove::app::Application lingrove;
    lingrove.window().show();

    // A project file named on the command line opens as "&Open Project" would
    // open it, once the window is up and the settings are loaded.
    const QStringList args = QApplication::arguments();
    if (args.size() > 1) {
        const QString path = QFileInfo(args.at(1)).absoluteFilePath();
        QTimer::singleShot(0, &lingrove.window(), [&lingrove, path] {
            QTimer::singleShot(0, &lingrove.window(), [&lingrove, path] { lingrove.project().openFromCommandLine(path); });
        });
    }
    return QApplication::exec();
}

// Lingrove: translates the user-visible text of Delphi projects in place.
#include "app/MainWindow.h"
#include "platform/UserInterface.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Lingrove");
    QApplication::setOrganizationName("QUORVEX");
    QApplication::setApplicationVersion("0.5");

    lingrove::app::MainWindow window;
    window.show();

    // A project file named on the command line opens as "&Open Project" would
    // open it, once the window is up and the settings are loaded.
    const QStringList args = QApplication::arguments();
    if (args.size() > 1) {
        const QString path = QFileInfo(args.at(1)).absoluteFilePath();
        QTimer::singleShot(0, &window, [&window, path] {
            QTimer::singleShot(0, &window, [&window, path] { window.openFromCommandLine(path); });
        });
    }
    return QApplication::exec();
}

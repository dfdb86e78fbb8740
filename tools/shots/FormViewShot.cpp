// formview_shot FORM PNG: builds the live window of a binary form file, as
// "View as form" shows it, and saves a picture of it. Prints the classes
// shown as placeholders.
#include "core/formfile/FormTree.h"
#include "ui/formview/FormView.h"

#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QStatusBar>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FORM.dfm OUT.png\n", argv[0]);
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(file.errorString()));
        return 1;
    }
    const QByteArray bytes = file.readAll();
    try {
        const auto form = lingrove::formfile::readFormFile(std::string_view(bytes.constData(), std::size_t(bytes.size())));
        lingrove::ui::FormView view(form);
        view.show();
        // Let the window lay itself out and paint once.
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
        const QPixmap picture = view.grab();
        if (!picture.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
            std::fprintf(stderr, "%s: cannot write\n", argv[2]);
            return 1;
        }
        std::printf("%s: %dx%d, title \"%s\"", argv[2], picture.width(), picture.height(),
                    qPrintable(view.windowTitle()));
        if (!view.unknownClasses().isEmpty())
            std::printf(", placeholders: %s", qPrintable(view.unknownClasses().join(", ")));
        std::printf("\n");
    } catch (const lingrove::formfile::FormError& e) {
        std::fprintf(stderr, "%s: %s\n", argv[1], e.what());
        return 1;
    }
    return 0;
}

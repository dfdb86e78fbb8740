// "View as form": the active form page, saved, shown as a live window.
#include "app/AppState.h"
#include "app/MainWindow.h"
#include "formfile/FormTree.h"
#include "platform/FileUtil.h"
#include "platform/Paths.h"
#include "platform/UserInterface.h"
#include "sources/FormView.h"

#include <QFileInfo>
#include <QTabWidget>

#include <new>

namespace lingrove::app {

void MainWindow::Viewasform1Click()
{
    // The window shows the file as saved: what the page holds goes to disk
    // first. A page that could not be saved has told the user why, and its
    // file would not show the page's text.
    if (!SaveDFM1Click())
        return;

    const QString folder = delphiProjectFolder();
    const QString caption = PageControl1->tabText(PageControl1->currentIndex());
    if (folder.isEmpty() || caption.isEmpty())
        return;
    const QString path = platform::findCaseInsensitive(folder, caption);
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        showError(QString("Cannot open file \"%1\". The file does not exist.")
                      .arg(platform::joinPath(folder, platform::toNative(caption))));
        return;
    }

    QByteArray bytes;
    QString why;
    if (platform::readFile(path, bytes, &why) != platform::ReadResult::Read) {
        showError(QString("Cannot open file \"%1\". %2").arg(path, why));
        return;
    }

    formfile::FormComponent form;
    try {
        form = formfile::readFormFile(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    } catch (const formfile::FormError& e) {
        showError(QString("%1 cannot be shown as a form: it is not a valid form file.\n%2")
                      .arg(caption, QString::fromUtf8(e.what())));
        return;
    } catch (const std::bad_alloc&) {
        showError(QString("%1 cannot be shown as a form: out of memory.").arg(caption));
        return;
    }

    sources::FormView view(form, this);
    platform::ui().exec(view);
}

} // namespace lingrove::app

#include "ui/formview/FormViewFeature.h"

#include "core/formfile/FormTree.h"
#include "model/Workspace.h"
#include "platform/FileUtil.h"
#include "platform/Paths.h"
#include "ui/formview/FormView.h"
#include "ui/shell/Actions.h"
#include "ui/shell/PageArea.h"
#include "ui/shell/Shell.h"
#include "ui/shell/UserInterface.h"

#include <QAction>
#include <QFileInfo>

#include <new>

namespace lingrove::ui {

FormViewFeature::FormViewFeature(model::Workspace& workspace, Shell& shell, QObject* parent)
    : QObject(parent)
    , workspace_(workspace)
    , shell_(shell)
    , viewAsForm_(makeAction(this, "Viewasform1", QStringLiteral("&View as form")))
{
    connect(viewAsForm_, &QAction::triggered, this, [this] { viewAsForm(); });
    shell_.onMenuShown(Menu::Extras, [this] {
        viewAsForm_->setEnabled(shell_.pages().activeCaption().right(3).toLower() == QLatin1String("dfm"));
    });
}

void FormViewFeature::viewAsForm()
{
    // The window shows the file as saved: what the page holds goes to disk
    // first. A page that could not be saved has told the user why, and its
    // file would not show the page's text.
    PageArea& pages = shell_.pages();
    if (!pages.saveActivePage())
        return;

    const QString folder = workspace_.project().delphiProjectFolder();
    const QString caption = pages.activeCaption();
    if (folder.isEmpty() || caption.isEmpty())
        return;
    const QString path = platform::findCaseInsensitive(folder, caption);
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        ui().error(shell_.window(), QStringLiteral("Cannot open file \"%1\". The file does not exist.")
                                        .arg(platform::joinPath(folder, platform::toNative(caption))));
        return;
    }

    QByteArray bytes;
    QString why;
    if (platform::readFile(path, bytes, &why) != platform::ReadResult::Read) {
        ui().error(shell_.window(), QStringLiteral("Cannot open file \"%1\". %2").arg(path, why));
        return;
    }

    formfile::FormComponent form;
    try {
        form = formfile::readFormFile(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    } catch (const formfile::FormError& e) {
        ui().error(shell_.window(), QStringLiteral("%1 cannot be shown as a form: it is not a valid form file.\n%2")
                                        .arg(caption, QString::fromUtf8(e.what())));
        return;
    } catch (const std::bad_alloc&) {
        ui().error(shell_.window(), QStringLiteral("%1 cannot be shown as a form: out of memory.").arg(caption));
        return;
    }

    FormView view(form, shell_.window());
    ui().exec(view);
}

} // namespace lingrove::ui

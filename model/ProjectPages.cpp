#include "model/ProjectPages.h"

#include "model/ProjectSources.h"
#include "model/SourceFile.h"
#include "model/StringFilters.h"
#include "platform/Paths.h"

#include <QFileInfo>
#include <QTextDocument>

namespace lingrove::model {

bool listProjectPages(const Project& project, std::vector<ProjectPage>* pages,
                      QString* why)
{
    pages->clear();
    if (project.delphiProjectFile.isEmpty()) {
        *why = QStringLiteral("The project names no Delphi project source.");
        return false;
    }
    SourceFile source(existingSpelling(platform::toNative(project.delphiProjectFile)));
    QTextDocument document;
    FileProblem problem;
    if (!source.load(document, pascal::ColourScheme::classic(), &problem)) {
        *why = problem.message;
        return false;
    }
    const QString folder = project.delphiProjectFolder();
    const ProjectSources sources = findProjectSources(document, folder);
    FileFinder finder(folder);
    auto add = [&](const QStringList& names, bool forms) {
        for (const QString& name : names) {
            const QString page = name.toLower();
            const QString path = finder.find(page);
            if (path.isEmpty())
                continue;
            const QString ext = QFileInfo(path).suffix().toLower();
            const bool isSource = forms ? ext == u"dfm"
                                        : (ext == u"pas" || ext == u"inc" || ext == u"dpr" || ext == u"dpk");
            pages->push_back(ProjectPage{page, path, forms, isSource});
        }
    };
    add(sources.units, false);
    add(sources.forms, true);
    return true;
}

} // namespace lingrove::model

#pragma once
// The pages of a translation project as the project tree lists them: the
// units its Delphi project source names (with the string filters of the
// settings, as Get strings has them), then their forms, found on disk as
// the pages feature finds them.
#include "model/Project.h"
#include "model/Settings.h"

#include <QString>

#include <vector>

namespace lingrove::model {

struct ProjectPage {
    QString name;    // as the project tree shows it (lower case, "\" as written)
    QString path;    // the file on disk
    bool isForm = false;
    // A unit, include file or form by its extension (".pas", ".inc",
    // ".dpr", ".dpk", ".dfm"). The tree lists any file the project source
    // names; tools that write into pages leave the others (help files,
    // pictures) alone.
    bool isSource = false;
};

// The project's pages; false with why when the project source cannot be
// read. Names whose file is missing are left out.
bool listProjectPages(const Project& project, std::vector<ProjectPage>* pages,
                      QString* why);

} // namespace lingrove::model

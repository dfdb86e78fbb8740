#pragma once
// The page area as the other features see it: the project page (the Delphi
// project source) and a page per opened unit or form, each with its own
// editor. Implemented by the pages feature.
#include <QString>
#include <QStringList>

#include <vector>

class QPlainTextEdit;

namespace lingrove::model {
class SourceFile;
}

namespace lingrove::ui {

// A file page that shows the file it was loaded from.
struct OpenFilePage {
    QString caption;
    QPlainTextEdit* editor = nullptr;
    const model::SourceFile* file = nullptr;
};

class PageArea {
public:
    virtual ~PageArea() = default;

    // The editor of the active file page; nullptr on the project page.
    virtual QPlainTextEdit* activeFileEditor() const = 0;
    // The editor of the active page, the project page's included.
    virtual QPlainTextEdit* activeEditor() const = 0;
    virtual QString activeCaption() const = 0;
    // The file the active page shows; empty when none.
    virtual QString activeFilePath() const = 0;
    virtual bool isProjectPageActive() const = 0;
    // The captions of all pages, in order, the project page first.
    virtual QStringList captions() const = 0;
    // The file pages that show their file, in order (tools that read or
    // write the project's files take these from the page, not from disk).
    virtual std::vector<OpenFilePage> openFilePages() const = 0;

    // The project page: its editor and the project source it shows (nullptr
    // while no project source is loaded).
    virtual QPlainTextEdit* projectEditor() const = 0;
    virtual model::SourceFile* projectSource() = 0;
    // Reads the project source into the project page again and rebuilds the tree.
    virtual void reloadProjectSource() = 0;
    virtual void showProjectPage() = 0;

    // Opens a page for each of names (as the project file keeps them) that
    // names a file of the project, with progress.
    virtual void openPages(const QStringList& names) = 0;
    // Opens every unit and form of the tree.
    virtual void openAllProjectFiles() = 0;
    // Makes the page with this caption the active one; false when there is none.
    virtual bool activatePage(const QString& caption) = 0;
    virtual void closeAllPages() = 0;

    // Saves the active page (units, forms, the project source); true when
    // there was nothing to save. The user is told why when it fails.
    virtual bool saveActivePage() = 0;
    // "The current file will saved and removed": saves the active file page
    // and closes it, the last page becomes the active one. False (the page
    // stays) when it could not be saved.
    virtual bool saveAndCloseActivePage() = 0;
    // "Save changes to <file>?" for every page with unsaved changes: Yes
    // saves it, No leaves it, Cancel stops. False when the user cancelled or
    // a page could not be saved (nothing may then be closed).
    virtual bool askToSaveModifiedPages() = 0;
    // The same question for the project page alone.
    virtual bool askToSaveProjectPage() = 0;
};

} // namespace lingrove::ui

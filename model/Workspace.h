#pragma once
// The program's state in one place: the open project, the settings and the
// working dictionary table. Every feature gets the one Workspace when it is
// made and hears of changes through its signals; nothing reaches it through
// a global.
#include "model/Dictionary.h"
#include "model/Project.h"
#include "model/Settings.h"

#include <QObject>

namespace lingrove::model {

class Workspace : public QObject {
    Q_OBJECT

public:
    explicit Workspace(QObject* parent = nullptr);
    ~Workspace() override;

    const Project& project() const { return project_; }
    // For changes to single fields (the version resource, the opened
    // position); opening and closing go through setProject.
    Project& project() { return project_; }
    // Makes p the open project (an empty name: none is open).
    void setProject(const Project& p);

    const Settings& settings() const { return settings_; }
    void setSettings(const Settings& settings);

    // True once settings were found in the key store or stored by the user.
    bool isConfigured() const { return configured_; }
    void setConfigured(bool configured) { configured_ = configured; }

    // False once the project changed after it was last saved.
    bool isProjectSaved() const { return projectSaved_; }
    void setProjectSaved(bool saved);

    // The project's dictionary table.
    Dictionary& dictionary() { return dictionary_; }

    // Tells every feature that a page wrote its file.
    void notifySourceSaved(const QString& path) { emit sourceSaved(path); }

signals:
    void projectChanged();
    // A unit, form or the project source was written to path.
    void sourceSaved(const QString& path);
    void settingsChanged();
    void projectSavedChanged(bool saved);

private:
    Project project_;
    Settings settings_ = Settings::defaults();
    bool configured_ = false;
    bool projectSaved_ = true;
    Dictionary dictionary_;
};

} // namespace lingrove::model

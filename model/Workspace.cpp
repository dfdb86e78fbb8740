#include "model/Workspace.h"

namespace lingrove::model {

Workspace::Workspace(QObject* parent)
    : QObject(parent)
{
}

Workspace::~Workspace() = default;

void Workspace::setProject(const Project& p)
{
    project_ = p;
    emit projectChanged();
}

void Workspace::setSettings(const Settings& settings)
{
    settings_ = settings;
    // Tables named without a place are looked for where the settings say.
    setCurrentDictionaryLocation(settings.dictionary);
    emit settingsChanged();
}

void Workspace::setProjectSaved(bool saved)
{
    if (projectSaved_ == saved)
        return;
    projectSaved_ = saved;
    emit projectSavedChanged(saved);
}

} // namespace lingrove::model

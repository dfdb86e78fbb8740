#pragma once
// Program-wide state, one instance per run: the open project, the settings
// and the main window's flags. Windows read and write it directly.
#include "app/Project.h"
#include "app/Settings.h"

namespace lingrove::app {

class MainWindow;

struct AppState {
    Project project;
    Settings settings = Settings::defaults();
    bool ProjectSaved = true;
    bool ConfigOK = false;
    bool ResumeMode = false;
    MainWindow* mainWindow = nullptr;
};

AppState& state();

} // namespace lingrove::app

// View as form. (Filled in as the form viewer lands.)
#include "app/MainWindow.h"

namespace lingrove::app {

void MainWindow::Viewasform1Click() {}

} // namespace lingrove::app

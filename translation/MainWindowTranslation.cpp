// The translation loop: the main window's handlers.
// (Filled in as the translation loop lands.)
#include "app/MainWindow.h"

namespace lingrove::app {

void MainWindow::initTranslation() {}
void MainWindow::finishTranslation() {}
bool MainWindow::openDictionary() { return true; }
void MainWindow::Getstrings1Click() {}
void MainWindow::Editdatabase1Click() {}
void MainWindow::Undoform1Click() {}
void MainWindow::clearStringList() {}

} // namespace lingrove::app

// Pages, project tree and saving: the main window's handlers.
// (Filled in as the page code lands.)
#include "app/MainWindow.h"

#include <QTabWidget>
#include <QTextEdit>

namespace lingrove::app {

void MainWindow::initPages() {}
void MainWindow::finishPages() {}
QTextEdit* MainWindow::activeEditor() const { return MainRichEdit; }
QTextEdit* MainWindow::activeFileEditor() const { return nullptr; }
QWidget* MainWindow::CreateNewPage(const QString&) { return nullptr; }
bool MainWindow::PASLaden(QTextEdit*, const QString&) { return false; }
bool MainWindow::DFMLaden(QTextEdit*, const QString&) { return false; }
void MainWindow::OpenSourcePage(const QString&) {}
void MainWindow::DateiLaden1() {}
void MainWindow::DeletePage() {}
void MainWindow::DeletePages() {}
void MainWindow::GetPosition(QTextEdit*) {}
bool MainWindow::ConvertFormFile(const QString&, int, QString*) { return false; }
void MainWindow::AlteDatei(const QString&) {}
void MainWindow::DatenLesen() {}
void MainWindow::Dateinamen() {}
void MainWindow::TreeView1DblClick() {}
void MainWindow::LoadallprojectFiles1Click() {}
void MainWindow::DateiLaden() {}
void MainWindow::Remove1Click() {}
bool MainWindow::SaveDFM1Click() { return false; }
void MainWindow::SaveAndRemove() {}

} // namespace lingrove::app

// The translation loop: the main window's handlers hand over to the loop
// object, which keeps the loop's state (proposals, undo buffer, windows).
#include "app/MainWindow.h"

#include "app/NewProjectWizard.h"
#include "translation/Dictionary.h"
#include "translation/TranslationLoop.h"

namespace lingrove::app {

void MainWindow::initTranslation()
{
    translationLoop = new translation::TranslationLoop(this);
    Newpro->listTables = [] { return translation::listTables(); };
    Newpro->createTable = [this](NewProjectWizard& wizard) { translationLoop->createTableForWizard(wizard); };
}

void MainWindow::finishTranslation()
{
    if (Newpro) {
        Newpro->listTables = nullptr;
        Newpro->createTable = nullptr;
    }
    delete translationLoop;
    translationLoop = nullptr;
}

bool MainWindow::openDictionary()
{
    return translationLoop->openDictionary();
}

void MainWindow::Getstrings1Click()
{
    translationLoop->Getstrings1Click();
}

void MainWindow::Editdatabase1Click()
{
    translationLoop->Editdatabase1Click();
}

void MainWindow::Undoform1Click()
{
    translationLoop->Undoform1Click();
}

void MainWindow::clearStringList()
{
    translationLoop->clearStringList();
}

} // namespace lingrove::app

#pragma once
// A main window with one dictionary table open, for the translation loop
// tests. Each test has its own program folder and a scripted user interface.
#include "test_dictionary_support.h"

#include "app/AppState.h"
#include "app/MainWindow.h"
#include "platform/UserInterface.h"
#include "translation/TranslationLoop.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include <memory>

namespace lingrove::translation::testing {

class LoopTest : public DictionaryFolderTest {
protected:
    void SetUp() override
    {
        DictionaryFolderTest::SetUp();
        app::AppState& st = app::state();
        st.project = app::Project{};
        st.settings = app::Settings::defaults();
        st.ProjectSaved = true;
        st.ResumeMode = false;
        makeTable("Words");
        st.project.DictionaryTable = "Words";
        window = std::make_unique<app::MainWindow>();
        ASSERT_TRUE(window->openDictionary());
        loop = window->translationLoop;
    }
    void TearDown() override
    {
        window.reset();
        app::state().project = app::Project{};
        DictionaryFolderTest::TearDown();
    }

    // A file page showing text; its editor.
    QTextEdit* page(const QString& text, const QString& name = "unit1.pas")
    {
        window->CreateNewPage(name);
        QTextEdit* editor = window->activeFileEditor();
        editor->setPlainText(text);
        return editor;
    }
    QString line(int n) const
    {
        return window->activeFileEditor()->document()->findBlockByNumber(n - 1).text();
    }
    QStringList rows(const QListWidget* list) const
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
    void locate(int row)
    {
        window->StringEdit->setCurrentRow(row);
        loop->ReplaceDialog1Find();
    }
    void commit(const QString& translation)
    {
        window->Edit2->setText(translation);
        loop->Commit();
    }
    // The selected text of the active page and its 1-based line.
    QPair<QString, int> selection() const
    {
        const QTextCursor c = window->activeFileEditor()->textCursor();
        return {c.selectedText(), c.block().blockNumber() + 1};
    }

    platform::ScriptedUi ui;
    std::unique_ptr<app::MainWindow> window;
    TranslationLoop* loop = nullptr;
};

} // namespace lingrove::translation::testing

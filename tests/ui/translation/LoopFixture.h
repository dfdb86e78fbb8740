#pragma once
// The window with a project open whose dictionary table "Words" starts
// empty, for the tests of the translation loop. Pages are files of the
// project folder opened as the user opens them.
#include "tests/common/AppFixture.h"

#include "model/TranslationSession.h"
#include "ui/translation/TranslationBar.h"
#include "ui/translation/TranslationFeature.h"

#include <QAbstractItemModel>
#include <QLineEdit>
#include <QListView>
#include <QTextBlock>
#include <QTextCursor>
#include <QPlainTextEdit>

namespace lingrove::testing {

class LoopTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        makeTable("Words");
        const QString dpr = project + "/Test.dpr";
        writeBytes(dpr, "program Test;\r\nbegin\r\nend.\r\n");
        openProjectSource(dpr, "Words");
        ASSERT_TRUE(ui->shown.empty()) << ui->texts().join("\n").toStdString();
    }

    ui::TranslationFeature& loop() { return app->translation(); }
    ui::TranslationBar& bar() { return *app->translation().bar(); }
    model::Dictionary& dictionary() { return workspace().dictionary(); }

    // A page showing text ("\n" between lines), saved as the file name of
    // the project folder; its editor.
    QPlainTextEdit* page(const QString& text, const QString& name = "unit1.pas")
    {
        writeBytes(project + "/" + name, text.toLatin1());
        pages().openPage(name);
        EXPECT_EQ(pages().activeCaption(), name);
        return pages().activeFileEditor();
    }
    // Line n (1-based) of the active page.
    QString line(int n) const
    {
        return app->pages().activeFileEditor()->document()->findBlockByNumber(n - 1).text();
    }
    // The rows a list view shows.
    static QStringList rows(const QListView* view)
    {
        QStringList out;
        const QAbstractItemModel* model = view->model();
        for (int i = 0; i < model->rowCount(); ++i)
            out << model->index(i, view->modelColumn()).data().toString();
        return out;
    }
    void select(int row)
    {
        QListView* view = loop().entryView();
        view->setCurrentIndex(view->model()->index(row, view->modelColumn()));
    }
    // Locate on entry row, as a double click does.
    void locate(int row)
    {
        select(row);
        loop().locate();
    }
    // The translation typed into the input and Enter.
    void commit(const QString& translation)
    {
        bar().translationField()->setText(translation);
        loop().commit();
    }
    // The selected text of the active page and its 1-based line.
    QPair<QString, int> selection() const
    {
        const QTextCursor c = app->pages().activeFileEditor()->textCursor();
        return {c.selectedText(), c.block().blockNumber() + 1};
    }
};

} // namespace lingrove::testing

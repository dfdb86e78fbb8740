// The message boxes and dialogs of the program: the Qt ones and the
// scripted ones of the tests.
#include "ui/shell/UserInterface.h"

#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace lingrove::ui;

namespace {

TEST(FileFilter, DelphiFiltersBecomeQtFilters)
{
    EXPECT_EQ(qtFileFilter("Translator files|*.lgv"), "Translator files (*.lgv)");
    EXPECT_EQ(qtFileFilter("Sources|*.pas;*.dpr|All files|*.*"), "Sources (*.pas *.dpr);;All files (*.*)");
    EXPECT_EQ(qtFileFilter("Odd"), "Odd (*)");
    EXPECT_EQ(qtFileFilter(QString()), QString());
}

TEST(ScriptedUi, AnswersComeInOrderThenTheDefaults)
{
    ScriptedUserInterface s;
    s.answers = {true};
    s.inputs = {QString("C:\\new")};
    s.files = {QString("/p/a.lgv"), std::nullopt};

    EXPECT_TRUE(s.question(nullptr, "Q1", BoxKind::Confirmation));
    EXPECT_FALSE(s.question(nullptr, "Q2", BoxKind::Confirmation));   // none left: No
    EXPECT_EQ(s.inputBox(nullptr, "New path", "Set a new path", "C:\\old"), QString("C:\\new"));
    EXPECT_EQ(s.inputBox(nullptr, "New path", "again", {}), std::nullopt);
    // Open, save and folder dialogs take from one queue.
    EXPECT_EQ(s.openFile(nullptr, "Open", "Translator files|*.lgv", {}, {}), QString("/p/a.lgv"));
    EXPECT_EQ(s.saveFile(nullptr, "Save", {}, {}, {}), std::nullopt);
    EXPECT_EQ(s.chooseFolder(nullptr, "Folder", {}), std::nullopt);
    s.error(nullptr, "Failed");
    EXPECT_EQ(s.texts("question"), QStringList({"Q1", "Q2"}));
    EXPECT_EQ(s.texts("error"), QStringList("Failed"));
    EXPECT_EQ(s.texts().size(), 8);

    // Dialogs are shown and answered; with nothing queued, cancelled.
    QDialog dialog;
    dialog.setWindowTitle("Option");
    bool visibleInside = false;
    s.dialogs.push_back([&](QDialog& d) {
        visibleInside = d.isVisible();
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(s.exec(dialog), QDialog::Accepted);
    EXPECT_TRUE(visibleInside);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(s.exec(dialog), QDialog::Rejected);
    EXPECT_EQ(s.texts("dialog"), QStringList({"Option", "Option"}));

    // Forgetting what was shown keeps what is queued.
    s.answers = {true};
    s.clear();
    EXPECT_TRUE(s.texts().isEmpty());
    EXPECT_TRUE(s.question(nullptr, "kept", BoxKind::Warning));
}

TEST(ScriptedUi, GuardInstallsAndRestores)
{
    UserInterface* before = &ui();
    {
        ScriptedUi scripted;
        EXPECT_EQ(&ui(), &*scripted);
        {
            ScriptedUi inner;
            EXPECT_EQ(&ui(), &*inner);
        }
        EXPECT_EQ(&ui(), &*scripted);
    }
    EXPECT_EQ(&ui(), before);
}

// Works the next modal box as soon as it is shown.
void whenModal(const std::function<void(QWidget*)>& act)
{
    QTimer::singleShot(0, [act] {
        if (QWidget* w = QApplication::activeModalWidget())
            act(w);
        else
            whenModal(act);
    });
}

TEST(ScriptedUi, DialogsAreWideEnoughForTheirTitles)
{
    ScriptedUserInterface ui;
    QDialog small;
    small.setWindowTitle("Create translation table");
    ui.exec(small);
    EXPECT_GT(small.minimumWidth(), small.fontMetrics().horizontalAdvance(small.windowTitle()));
    QDialog fixed;
    fixed.setWindowTitle("Create translation table");
    fixed.setFixedSize(100, 50);
    ui.exec(fixed);
    EXPECT_EQ(fixed.width(), 100);
}

TEST(QtUi, QuestionAnswersYesOrNo)
{
    QtUserInterface qt;
    QString shownText;
    whenModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        shownText = box->text();
        ASSERT_NE(box->button(QMessageBox::No), nullptr);
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_TRUE(qt.question(nullptr, "Save changes?", BoxKind::Confirmation));
    EXPECT_EQ(shownText, "Save changes?");

    whenModal([](QWidget* w) { qobject_cast<QMessageBox*>(w)->button(QMessageBox::No)->click(); });
    EXPECT_FALSE(qt.question(nullptr, "Again?", BoxKind::Warning));
}

TEST(QtUi, InputBoxGivesTextOrNothing)
{
    QtUserInterface qt;
    whenModal([](QWidget* w) {
        auto* dlg = qobject_cast<QInputDialog*>(w);
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->textValue(), "C:\\old");
        EXPECT_EQ(dlg->labelText(), "Set a new path");
        dlg->setTextValue("C:\\new");
        dlg->accept();
    });
    EXPECT_EQ(qt.inputBox(nullptr, "New path", "Set a new path", "C:\\old"), QString("C:\\new"));

    whenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
    EXPECT_EQ(qt.inputBox(nullptr, "New path", "Set a new path", "x"), std::nullopt);
}

} // namespace

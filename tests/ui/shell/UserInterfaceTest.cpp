// The message boxes and dialogs of the program: the Qt ones and the
// scripted ones of the tests.
#include "ui/shell/UserInterface.h"

#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace lingrove::ui;

namespace {

TEST(FilterTest, DelphiFiltersBecomeQtFilters)
{
    EXPECT_EQ(qtFileFilter(QStringLiteral("Translator files|*.lgv")), QStringLiteral("Translator files (*.lgv)"));
    EXPECT_EQ(qtFileFilter(QStringLiteral("Delphi project files *.dpr|*.dpr")),
              QStringLiteral("Delphi project files *.dpr (*.dpr)"));
    EXPECT_EQ(qtFileFilter(QStringLiteral("Sources|*.pas;*.dpr|All files|*.*")),
              QStringLiteral("Sources (*.pas *.dpr);;All files (*.*)"));
    EXPECT_EQ(qtFileFilter(QStringLiteral("Odd")), QStringLiteral("Odd (*)"));
    EXPECT_EQ(qtFileFilter(QString()), QString());
}

TEST(UiTest, ScriptedAnswersComeInOrderThenDefaults)
{
    ScriptedUserInterface s;
    s.answers = {true, false, true};
    s.inputs = {QStringLiteral("C:\\new"), std::nullopt};
    s.files = {QStringLiteral("/p/a.lgv"), std::nullopt, QStringLiteral("/p/dir")};

    EXPECT_TRUE(s.question(nullptr, QStringLiteral("Q1"), BoxKind::Confirmation));
    EXPECT_FALSE(s.question(nullptr, QStringLiteral("Q2"), BoxKind::Confirmation));
    EXPECT_TRUE(s.question(nullptr, QStringLiteral("Q3"), BoxKind::Confirmation));
    EXPECT_FALSE(s.question(nullptr, QStringLiteral("Q4"), BoxKind::Confirmation));   // none left: No

    EXPECT_EQ(s.inputBox(nullptr, QStringLiteral("New path"), QStringLiteral("Set a new path"), QStringLiteral("C:\\old")),
              QStringLiteral("C:\\new"));
    EXPECT_EQ(s.inputBox(nullptr, QStringLiteral("c"), QStringLiteral("p2"), {}), std::nullopt);
    EXPECT_EQ(s.inputBox(nullptr, QStringLiteral("c"), QStringLiteral("p3"), {}), std::nullopt);

    EXPECT_EQ(s.openFile(nullptr, QStringLiteral("Open"), QStringLiteral("Translator files|*.lgv"), {}, {}),
              QStringLiteral("/p/a.lgv"));
    EXPECT_EQ(s.saveFile(nullptr, QStringLiteral("Save"), {}, {}, {}), std::nullopt);
    EXPECT_EQ(s.chooseFolder(nullptr, QStringLiteral("Folder"), {}), QStringLiteral("/p/dir"));
    EXPECT_EQ(s.openFile(nullptr, QStringLiteral("Open again"), {}, {}, {}), std::nullopt);

    s.message(nullptr, QStringLiteral("You must restart the program"), BoxKind::Information);
    s.error(nullptr, QStringLiteral("Invalid data type for 'Empty'"));

    EXPECT_EQ(s.texts(QStringLiteral("question")),
              (QStringList{QStringLiteral("Q1"), QStringLiteral("Q2"), QStringLiteral("Q3"), QStringLiteral("Q4")}));
    EXPECT_EQ(s.texts(QStringLiteral("input")),
              (QStringList{QStringLiteral("Set a new path"), QStringLiteral("p2"), QStringLiteral("p3")}));
    EXPECT_EQ(s.texts(QStringLiteral("open")), (QStringList{QStringLiteral("Open"), QStringLiteral("Open again")}));
    EXPECT_EQ(s.texts(QStringLiteral("message")), QStringList{QStringLiteral("You must restart the program")});
    EXPECT_EQ(s.texts(QStringLiteral("error")), QStringList{QStringLiteral("Invalid data type for 'Empty'")});
    EXPECT_EQ(s.texts().size(), 13);

    s.answers = {true};
    s.clear();
    EXPECT_TRUE(s.texts().isEmpty());
    EXPECT_TRUE(s.question(nullptr, QStringLiteral("kept"), BoxKind::Warning));
}

class ShowCounter : public QDialog {
public:
    int shows = 0;
protected:
    void showEvent(QShowEvent* e) override
    {
        ++shows;
        QDialog::showEvent(e);
    }
};

TEST(UiTest, ScriptedDialogsAreShownAndAnswered)
{
    ScriptedUserInterface s;
    ShowCounter dialog;
    dialog.setWindowTitle(QStringLiteral("Option"));
    bool visibleInside = false;
    s.dialogs.push_back([&](QDialog& d) {
        visibleInside = d.isVisible();
        d.setWindowTitle(QStringLiteral("changed"));
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(s.exec(dialog), QDialog::Accepted);
    EXPECT_TRUE(visibleInside);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    // With nothing queued the dialog is shown and cancelled.
    bool rejected = false;
    QObject::connect(&dialog, &QDialog::rejected, [&] { rejected = true; });
    EXPECT_EQ(s.exec(dialog), QDialog::Rejected);
    EXPECT_TRUE(rejected);
    EXPECT_EQ(dialog.shows, 2);
    EXPECT_EQ(s.texts(QStringLiteral("dialog")), (QStringList{QStringLiteral("Option"), QStringLiteral("changed")}));
}

TEST(UiTest, GuardInstallsAndRestores)
{
    UserInterface* before = &ui();
    {
        ScriptedUi scripted;
        EXPECT_EQ(&ui(), &*scripted);
        scripted->answers = {true};
        EXPECT_TRUE(ui().question(nullptr, QStringLiteral("Save the project?"), BoxKind::Confirmation));
        EXPECT_EQ(scripted->texts(), QStringList{QStringLiteral("Save the project?")});
        {
            ScriptedUi inner;
            EXPECT_EQ(&ui(), &*inner);
        }
        EXPECT_EQ(&ui(), &*scripted);
    }
    EXPECT_EQ(&ui(), before);
}

// Presses a button of the next modal box as soon as it is shown.
void whenModal(const std::function<void(QWidget*)>& act)
{
    QTimer::singleShot(0, [act] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w) {
            whenModal(act);
            return;
        }
        act(w);
    });
}

TEST(UiTest, QtQuestionAnswersYesOrNo)
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
    EXPECT_TRUE(qt.question(nullptr, QStringLiteral("Save changes?"), BoxKind::Confirmation));
    EXPECT_EQ(shownText, QStringLiteral("Save changes?"));

    whenModal([](QWidget* w) { qobject_cast<QMessageBox*>(w)->button(QMessageBox::No)->click(); });
    EXPECT_FALSE(qt.question(nullptr, QStringLiteral("Again?"), BoxKind::Warning));
}

TEST(UiTest, QtInputBoxGivesTextOrNothing)
{
    QtUserInterface qt;
    whenModal([](QWidget* w) {
        auto* dlg = qobject_cast<QInputDialog*>(w);
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->textValue(), QStringLiteral("C:\\old"));
        EXPECT_EQ(dlg->labelText(), QStringLiteral("Set a new path"));
        dlg->setTextValue(QStringLiteral("C:\\new"));
        dlg->accept();
    });
    EXPECT_EQ(qt.inputBox(nullptr, QStringLiteral("New path"), QStringLiteral("Set a new path"), QStringLiteral("C:\\old")),
              QStringLiteral("C:\\new"));

    whenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
    EXPECT_EQ(qt.inputBox(nullptr, QStringLiteral("New path"), QStringLiteral("Set a new path"), QStringLiteral("x")),
              std::nullopt);
}

} // namespace

#pragma once
// Every message box, question, input box, file dialog and modal window of the
// program goes through this interface, so that tests answer them by script.
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QDialog;
class QWidget;

namespace lingrove::ui {

enum class BoxKind { Information, Warning, Error, Confirmation };
enum class Answer { Yes, No, Cancel };

class UserInterface {
public:
    virtual ~UserInterface() = default;

    // A message with one OK button.
    virtual void message(QWidget* parent, const QString& text, BoxKind kind = BoxKind::Information) = 0;
    // Yes and No; true for Yes.
    virtual bool question(QWidget* parent, const QString& text, BoxKind kind = BoxKind::Information) = 0;
    // Yes, No and Cancel ("Save changes to ...?").
    virtual Answer choice(QWidget* parent, const QString& text) = 0;
    // The framework's default error box for errors no handler catches.
    virtual void error(QWidget* parent, const QString& text) = 0;
    // An input box; nullopt when cancelled.
    virtual std::optional<QString> inputBox(QWidget* parent, const QString& caption,
                                            const QString& prompt, const QString& text) = 0;
    // An input box that hides what is typed (a password); nullopt when cancelled.
    virtual std::optional<QString> passwordBox(QWidget* parent, const QString& caption, const QString& prompt) = 0;
    // filter in Delphi form: "Translator files|*.lgv" (pairs separated by "|").
    virtual std::optional<QString> openFile(QWidget* parent, const QString& caption,
                                            const QString& filter, const QString& fileName,
                                            const QString& folder = {}) = 0;
    virtual std::optional<QString> saveFile(QWidget* parent, const QString& caption,
                                            const QString& filter, const QString& fileName,
                                            const QString& folder = {}) = 0;
    virtual std::optional<QString> chooseFolder(QWidget* parent, const QString& caption,
                                                const QString& folder) = 0;
    // Show a dialog modally; returns QDialog::Accepted or Rejected.
    virtual int exec(QDialog& dialog) = 0;
};

// The program-wide interface (the Qt one unless a test set another).
UserInterface& ui();
// Replace it; returns the previous one.
std::unique_ptr<UserInterface> setUserInterface(std::unique_ptr<UserInterface> ui);

// A Delphi dialog filter ("Translator files|*.lgv|All files|*.*", several
// masks of one pair separated by ";") in Qt's form
// ("Translator files (*.lgv);;All files (*.*)").
QString qtFileFilter(const QString& delphiFilter);

// Widens a window that is not of fixed size so that the desktop's title bar
// shows its whole title.
void fitTitle(QWidget& window);

// Real message boxes and dialogs.
class QtUserInterface : public UserInterface {
public:
    void message(QWidget* parent, const QString& text, BoxKind kind) override;
    bool question(QWidget* parent, const QString& text, BoxKind kind) override;
    Answer choice(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    std::optional<QString> inputBox(QWidget* parent, const QString& caption, const QString& prompt,
                                    const QString& text) override;
    std::optional<QString> passwordBox(QWidget* parent, const QString& caption, const QString& prompt) override;
    std::optional<QString> openFile(QWidget* parent, const QString& caption, const QString& filter,
                                    const QString& fileName, const QString& folder) override;
    std::optional<QString> saveFile(QWidget* parent, const QString& caption, const QString& filter,
                                    const QString& fileName, const QString& folder) override;
    std::optional<QString> chooseFolder(QWidget* parent, const QString& caption,
                                        const QString& folder) override;
    int exec(QDialog& dialog) override;
};

// Answers from a script, for tests. Each call takes the next queued answer of
// its kind (the front of its vector); with none queued, questions answer No,
// boxes and dialogs cancel. Everything shown is recorded.
//
// exec() shows the dialog (so that what it does when shown runs), hands it to
// the next queued function and hides it again with the function's result;
// with none queued the dialog is shown and then rejected, as by its Cancel.
class ScriptedUserInterface : public UserInterface {
public:
    struct Shown {
        QString kind;   // "message", "question", "choice", "error", "input", "password", "open", "save",
                        // "folder", "dialog"
        QString text;   // the message, prompt or caption; a dialog's window title
    };

    std::vector<Shown> shown;
    std::vector<bool> answers;                      // for question()
    std::vector<Answer> choices;                    // for choice(); none queued: No
    std::vector<std::optional<QString>> inputs;     // for inputBox() and passwordBox()
    std::vector<std::optional<QString>> files;      // for openFile(), saveFile(), chooseFolder()
    // For exec(): each gets the dialog, may fill and press its controls, and
    // returns the result of the dialog.
    std::vector<std::function<int(QDialog&)>> dialogs;

    // Texts of what was shown, of one kind (all kinds when empty).
    QStringList texts(const QString& kind = {}) const;
    // Forgets what was shown; the queued answers stay.
    void clear();

    void message(QWidget* parent, const QString& text, BoxKind kind) override;
    bool question(QWidget* parent, const QString& text, BoxKind kind) override;
    Answer choice(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    std::optional<QString> inputBox(QWidget* parent, const QString& caption, const QString& prompt,
                                    const QString& text) override;
    std::optional<QString> passwordBox(QWidget* parent, const QString& caption, const QString& prompt) override;
    std::optional<QString> openFile(QWidget* parent, const QString& caption, const QString& filter,
                                    const QString& fileName, const QString& folder) override;
    std::optional<QString> saveFile(QWidget* parent, const QString& caption, const QString& filter,
                                    const QString& fileName, const QString& folder) override;
    std::optional<QString> chooseFolder(QWidget* parent, const QString& caption,
                                        const QString& folder) override;
    int exec(QDialog& dialog) override;
};

// Installs a ScriptedUserInterface for the lifetime of the guard.
class ScriptedUi {
public:
    ScriptedUi();
    ~ScriptedUi();
    ScriptedUserInterface* operator->() { return ui_; }
    ScriptedUserInterface& operator*() { return *ui_; }
private:
    ScriptedUserInterface* ui_;
    std::unique_ptr<UserInterface> previous_;
};

} // namespace lingrove::ui

#pragma once
// "Compiler messages": the captured output of the compiler.
#include <QDialog>
#include <QStringList>

class QPlainTextEdit;
class QPushButton;

namespace lingrove::ui {

class CompilerMessagesWindow : public QDialog {
    Q_OBJECT
public:
    explicit CompilerMessagesWindow(QWidget* parent = nullptr);

    // Replace the text by these lines.
    void setLines(const QStringList& lines);
    QStringList lines() const { return lines_; }

    // The text's last line when the window was last closed with "&Close";
    // empty until then.
    const QString& lastMessage() const { return lastMessage_; }

    QPlainTextEdit* textView() const { return text_; }
    QPushButton* closeButton() const { return closeButton_; }

private:
    void closeClicked();

    QPlainTextEdit* text_ = nullptr;
    QPushButton* closeButton_ = nullptr;   // "&Close"
    QStringList lines_;
    QString lastMessage_;
};

} // namespace lingrove::ui

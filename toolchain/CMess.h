#pragma once
// "Compiler messages": the captured output of Compile all.
#include <QDialog>
#include <QStringList>

class QPlainTextEdit;
class QPushButton;

namespace lingrove::toolchain {

class TCMess : public QDialog {
    Q_OBJECT
public:
    explicit TCMess(QWidget* parent = nullptr);

    // Replace the memo's content by these lines.
    void setLines(const QStringList& lines);
    QStringList lines() const { return lines_; }

    // The memo's last line when the window was last closed with "&Close";
    // empty until then.
    QString LastCompilerMessage;

    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* BitBtn1 = nullptr;   // "&Close"

private:
    void BitBtn1Click();
    QStringList lines_;
};

} // namespace lingrove::toolchain

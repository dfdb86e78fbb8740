#include "ui/build/CompilerMessagesWindow.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lingrove::ui {

CompilerMessagesWindow::CompilerMessagesWindow(QWidget* parent) : QDialog(parent, Qt::Tool)
{
    setObjectName("CMess");
    setWindowTitle("Compiler messages");
    // Opens at 579 x 163; long compiler output can be read in a larger window.
    resize(579, 163);
    setMinimumSize(579, 163);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName("text_");
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font("Courier New");
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(13);
    text_->setFont(font);
    closeButton_ = new QPushButton("&Close", this);
    closeButton_->setObjectName("closeButton_");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 9);
    layout->addWidget(text_, 1);
    layout->addWidget(closeButton_, 0, Qt::AlignHCenter);
    closeButton_->setFixedSize(79, 27);
    connect(closeButton_, &QPushButton::clicked, this, &CompilerMessagesWindow::closeClicked);
}

void CompilerMessagesWindow::setLines(const QStringList& lines)
{
    lines_ = lines;
    text_->setPlainText(lines.join('\n'));
    // A compiler ends with what went wrong: the last lines are in view.
    text_->moveCursor(QTextCursor::End);
    text_->moveCursor(QTextCursor::StartOfLine);
    text_->ensureCursorVisible();
}

void CompilerMessagesWindow::closeClicked()
{
    // The memo may have been edited; its last line is what counts.
    const QStringList shown = text_->toPlainText().split('\n');
    lastMessage_ = (shown.size() == 1 && shown[0].isEmpty()) ? QString() : shown.last();
    accept();
}

} // namespace lingrove::ui

#include "toolchain/CMess.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lingrove::toolchain {

TCMess::TCMess(QWidget* parent) : QDialog(parent, Qt::Tool)
{
    setObjectName("CMess");
    setWindowTitle("Compiler messages");
    // Opens at 579 x 163; long compiler output can be read in a larger window.
    resize(579, 163);
    setMinimumSize(579, 163);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font("Courier New");
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(13);
    Memo1->setFont(font);
    BitBtn1 = new QPushButton("&Close", this);
    BitBtn1->setObjectName("BitBtn1");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 9);
    layout->addWidget(Memo1, 1);
    layout->addWidget(BitBtn1, 0, Qt::AlignHCenter);
    BitBtn1->setFixedSize(79, 27);
    connect(BitBtn1, &QPushButton::clicked, this, &TCMess::BitBtn1Click);
}

void TCMess::setLines(const QStringList& lines)
{
    lines_ = lines;
    Memo1->setPlainText(lines.join('\n'));
}

void TCMess::BitBtn1Click()
{
    // The memo may have been edited; its last line is what counts.
    const QStringList shown = Memo1->toPlainText().split('\n');
    LastCompilerMessage = (shown.size() == 1 && shown[0].isEmpty()) ? QString() : shown.last();
    accept();
}

} // namespace lingrove::toolchain

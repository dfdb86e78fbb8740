#include "toolchain/EditForm.h"
#include "platform/FileUtil.h"

#include "platform/UserInterface.h"
#include "toolchain/Codepage.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lingrove::toolchain {

TEditForm::TEditForm(QWidget* parent) : QDialog(parent)
{
    setObjectName("EditForm");
    setWindowTitle("Resource script");
    resize(573, 583);
    auto* outer = new QVBoxLayout(this);
    RichEdit1 = new QPlainTextEdit(this);
    RichEdit1->setReadOnly(true);
    RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font("Courier New");
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(17);
    RichEdit1->setFont(font);
    QPalette pal = RichEdit1->palette();
    pal.setColor(QPalette::Text, Qt::black);
    RichEdit1->setPalette(pal);
    outer->addWidget(RichEdit1, 1);
    auto* buttons = new QHBoxLayout;
    CopyButton = new QPushButton("Copy to clip&board", this);
    CloseButton = new QPushButton("&Close", this);
    buttons->addWidget(CopyButton);
    buttons->addStretch();
    buttons->addWidget(CloseButton);
    outer->addLayout(buttons);
    connect(CopyButton, &QPushButton::clicked, this, &TEditForm::CopyClick);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
}

bool TEditForm::loadFile(const QString& path, QString* why)
{
    RichEdit1->clear();
    QByteArray bytes;
    if (platform::readFile(path, bytes, why) != platform::ReadResult::Read)
        return false;
    QString text = decodeCp1252(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.endsWith('\n'))
        text.chop(1);
    RichEdit1->setPlainText(text);
    return true;
}

void TEditForm::CopyClick()
{
    RichEdit1->selectAll();
    RichEdit1->copy();
}

void viewResourceScript(QWidget* parent, const QString& path)
{
    TEditForm viewer(parent);
    QString why;
    if (!viewer.loadFile(path, &why)) {
        platform::ui().error(parent, QStringLiteral("Cannot open file \"%1\". %2").arg(path, why));
        return;
    }
    platform::ui().exec(viewer);
}

} // namespace lingrove::toolchain

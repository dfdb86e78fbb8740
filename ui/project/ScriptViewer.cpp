#include "ui/project/ScriptViewer.h"

#include "model/TextCodec.h"
#include "platform/FileUtil.h"
#include "ui/shell/UserInterface.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lingrove::ui {

ScriptViewer::ScriptViewer(QWidget* parent) : QDialog(parent)
{
    setObjectName("EditForm");
    setWindowTitle("Resource script");
    resize(573, 583);
    auto* outer = new QVBoxLayout(this);
    view = new QPlainTextEdit(this);
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font("Courier New");
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(17);
    view->setFont(font);
    QPalette pal = view->palette();
    pal.setColor(QPalette::Text, Qt::black);
    view->setPalette(pal);
    outer->addWidget(view, 1);
    auto* buttons = new QHBoxLayout;
    copyButton = new QPushButton("Copy to clip&board", this);
    closeButton = new QPushButton("&Close", this);
    buttons->addWidget(copyButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    outer->addLayout(buttons);
    connect(copyButton, &QPushButton::clicked, this, &ScriptViewer::copyToClipboard);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
}

bool ScriptViewer::loadFile(const QString& path, QString* why)
{
    view->clear();
    QByteArray bytes;
    if (platform::readFile(path, bytes, why) != platform::ReadResult::Read)
        return false;
    QString text = model::fromWindows1252(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.endsWith('\n'))
        text.chop(1);
    view->setPlainText(text);
    return true;
}

void ScriptViewer::copyToClipboard()
{
    view->selectAll();
    view->copy();
}

void viewResourceScript(QWidget* parent, const QString& path)
{
    ScriptViewer viewer(parent);
    QString why;
    if (!viewer.loadFile(path, &why)) {
        ui().error(parent, QStringLiteral("Cannot open file \"%1\". %2").arg(path, why));
        return;
    }
    ui().exec(viewer);
}

} // namespace lingrove::ui

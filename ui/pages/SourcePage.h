#pragma once
// One file page of the page area: a tab with its own editor, showing one
// unit or form of the Delphi project. The page keeps the file it shows (as
// found on disk) with how it was decoded, so that saving writes the text back
// in the same encoding and line-break style.
#include "model/SourceFile.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <QWidget>

namespace lingrove::ui {

class SourcePage : public QWidget {
public:
    explicit SourcePage(QWidget* parent = nullptr)
        : QWidget(parent)
    {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        editor = new QPlainTextEdit(this);
        layout->addWidget(editor);
    }

    QPlainTextEdit* editor = nullptr;   // created with the page, destroyed with it
    model::SourceFile file;        // the file shown
    bool loaded = false;           // true once the file's text is in the editor
};

// The kind of a page caption: its last three characters, lower-cased.
inline QString pageKind(const QString& caption)
{
    return caption.right(3).toLower();
}

} // namespace lingrove::ui

#pragma once
// One file page of the page control: a tab sheet with its own editor, showing
// one unit or form file of the Delphi project. The page remembers the file it
// was loaded from (as found on disk) and how that file was decoded, so that
// saving writes the text back in the same encoding and line-break style.
#include "sources/TextCodec.h"

#include <QString>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QWidget>

namespace lingrove::sources {

class SourcePage : public QWidget {
public:
    explicit SourcePage(QWidget* parent = nullptr)
        : QWidget(parent)
    {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        editor = new QTextEdit(this);
        layout->addWidget(editor);
    }

    QTextEdit* editor = nullptr;   // created with the page, destroyed with it
    QString kind;                  // last three characters of the caption, lower-cased
    QString filePath;              // the file as found on disk; empty before loading
    bool loaded = false;           // true once the file's text is in the editor
    DecodedText decoded;           // how the file was decoded (text not kept)
};

// The kind of a page caption: its last three characters, lower-cased.
inline QString pageKind(const QString& caption)
{
    return caption.right(3).toLower();
}

} // namespace lingrove::sources

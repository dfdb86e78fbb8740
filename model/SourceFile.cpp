#include "model/SourceFile.h"

#include "model/RtfReader.h"
#include "platform/FileUtil.h"

#include <QFileInfo>
#include <QTextDocument>

namespace lingrove::model {

namespace {

bool failed(FileProblem* problem, FileProblem::Kind kind, const QString& message, int line = 0, int column = 0)
{
    if (problem)
        *problem = FileProblem{kind, message, line, column};
    return false;
}

std::string_view view(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

} // namespace

SourceFile::SourceFile(QString path)
    : path_(std::move(path))
{
}

bool SourceFile::isForm() const
{
    return QFileInfo(path_).suffix().compare(QLatin1String("dfm"), Qt::CaseInsensitive) == 0;
}

std::optional<formfile::FormFormat> SourceFile::formFormat() const
{
    if (!form_)
        return std::nullopt;
    return form_->format();
}

QString SourceFile::formDescription() const
{
    if (!form_)
        return {};
    switch (form_->format()) {
    case formfile::FormFormat::Resource:
    case formfile::FormFormat::Data:
        return QStringLiteral("binary form");
    case formfile::FormFormat::Text:
        break;
    }
    return form_->textIsUtf8() ? QStringLiteral("text form, UTF-8") : QStringLiteral("text form");
}

bool SourceFile::load(QTextDocument& document, const pascal::ColourScheme& scheme, FileProblem* problem,
                      const LoadPump& pump)
{
    QByteArray bytes;
    QString why;
    if (platform::readFile(path_, bytes, &why) != platform::ReadResult::Read)
        return failed(problem, FileProblem::Kind::Read, QStringLiteral("Cannot read %1:\n%2").arg(path_, why));
    std::optional<formfile::FormDocument> form;
    if (isForm()) {
        try {
            form = formfile::FormDocument::load(bytes.toStdString());
        } catch (const formfile::FormError& e) {
            return failed(problem, FileProblem::Kind::FormText,
                          QStringLiteral("The form file %1 cannot be shown: it is no form file of a kind "
                                         "Lingrove reads.\n%2")
                              .arg(path_, QString::fromUtf8(e.what())),
                          int(e.line()), int(e.column()));
        }
        bytes = QByteArray::fromStdString(form->pageText());
    }
    try {
        decoding_ = loadPascalSource(document, bytes, scheme, pump);
    } catch (const pascal::HighlightVersionError& e) {
        return failed(problem, FileProblem::Kind::Source, QString::fromUtf8(e.what()));
    } catch (const std::exception& e) {
        return failed(problem, FileProblem::Kind::Source,
                      QStringLiteral("Cannot load %1:\n%2").arg(path_, QString::fromUtf8(e.what())));
    }
    decoding_.text.clear();   // the document holds the text; only the form is kept
    form_ = std::move(form);
    return true;
}

bool SourceFile::save(const QString& text, FileProblem* problem)
{
    QByteArray bytes;
    DecodedText how = decoding_;
    try {
        bytes = encode(text, how);
    } catch (const EncodeError& e) {
        // A form holds any character: its page text then becomes UTF-8.
        if (!form_)
            return failed(problem, FileProblem::Kind::Unencodable, QString::fromUtf8(e.what()), e.line(), e.column());
        how.encoding = TextEncoding::Utf8WithBom;
        bytes = encode(text, how);
    }
    QByteArray fileBytes = bytes;
    std::optional<formfile::FormDocument> written;
    if (form_) {
        try {
            fileBytes = QByteArray::fromStdString(form_->apply(view(bytes)));
            written = formfile::FormDocument::load(fileBytes.toStdString());
        } catch (const formfile::FormError& e) {
            return failed(problem, FileProblem::Kind::FormSave, QString::fromUtf8(e.what()), int(e.line()),
                          int(e.column()));
        }
    }
    QString why;
    if (!platform::writeFileAtomically(path_, fileBytes, &why))
        return failed(problem, FileProblem::Kind::Write, why);
    // The file now has the page's line breaks (and a form its new values):
    // the next save starts from them.
    decoding_ = decode(bytes);
    decoding_.text.clear();
    if (written)
        form_ = std::move(written);
    return true;
}

} // namespace lingrove::model

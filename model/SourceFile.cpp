#include "model/SourceFile.h"

#include "core/formfile/FormFile.h"
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

bool SourceFile::load(QTextDocument& document, const pascal::ColourScheme& scheme, FileProblem* problem)
{
    QByteArray bytes;
    QString why;
    if (platform::readFile(path_, bytes, &why) != platform::ReadResult::Read)
        return failed(problem, FileProblem::Kind::Read, QStringLiteral("Cannot read %1:\n%2").arg(path_, why));
    if (isForm()) {
        std::string text;
        try {
            formfile::ResourceToText(view(bytes), text);
        } catch (const formfile::FormError& e) {
            return failed(problem, FileProblem::Kind::FormText,
                          QStringLiteral("The form file %1 cannot be shown: it cannot be converted into its "
                                         "text form.\n%2")
                              .arg(path_, QString::fromUtf8(e.what())),
                          int(e.line()));
        }
        bytes = QByteArray::fromStdString(text);
    }
    try {
        decoding_ = loadPascalSource(document, bytes, scheme);
    } catch (const pascal::HighlightVersionError& e) {
        return failed(problem, FileProblem::Kind::Source, QString::fromUtf8(e.what()));
    } catch (const std::exception& e) {
        return failed(problem, FileProblem::Kind::Source,
                      QStringLiteral("Cannot load %1:\n%2").arg(path_, QString::fromUtf8(e.what())));
    }
    decoding_.text.clear();   // the document holds the text; only the form is kept
    return true;
}

bool SourceFile::save(const QString& text, FileProblem* problem)
{
    QByteArray bytes;
    try {
        bytes = encode(text, decoding_);
    } catch (const EncodeError& e) {
        return failed(problem, FileProblem::Kind::Unencodable, QString::fromUtf8(e.what()), e.line(), e.column());
    }
    QByteArray fileBytes = bytes;
    if (isForm()) {
        std::string form;
        try {
            formfile::TextToResource(view(bytes), form);
        } catch (const formfile::FormError& e) {
            return failed(problem, FileProblem::Kind::FormSave, QString::fromUtf8(e.what()), int(e.line()));
        }
        fileBytes = QByteArray::fromStdString(form);
    }
    QString why;
    if (!platform::writeFileAtomically(path_, fileBytes, &why))
        return failed(problem, FileProblem::Kind::Write, why);
    // The file now has the page's line breaks: the next save starts from them.
    decoding_ = decode(bytes);
    decoding_.text.clear();
    return true;
}

} // namespace lingrove::model

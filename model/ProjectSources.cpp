#include "model/ProjectSources.h"

#include "core/formfile/FormDocument.h"
#include "model/TextCodec.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextDocument>

namespace lingrove::model {

QString withExtension(const QString& path, const QString& ext)
{
    const qsizetype nameStart = path.size() - platform::fileNameOf(path).size();
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot >= nameStart ? path.left(dot) + ext : path + ext;
}

QString existingSpelling(const QString& path)
{
    if (QFileInfo(path).isFile())
        return path;
    const QString folder = platform::folderOf(path);
    const QString found =
        platform::findCaseInsensitive(folder.isEmpty() ? QStringLiteral(".") : folder, platform::fileNameOf(path));
    return !found.isEmpty() && QFileInfo(found).isFile() ? found : path;
}

QString findProjectFile(const QString& folder, const QString& relName)
{
    if (folder.isEmpty() || relName.trimmed().isEmpty())
        return {};
    const QString found = platform::findCaseInsensitive(folder, relName);
    return !found.isEmpty() && QFileInfo(found).isFile() ? found : QString();
}

FileFinder::FileFinder(QString base)
    : base_(std::move(base))
{
}

QString FileFinder::find(const QString& relName)
{
    if (base_.isEmpty() || relName.trimmed().isEmpty())
        return {};
    const QString rel = QString(relName).replace(u'\\', u'/');
    if (rel.startsWith(u'/'))
        return findProjectFile(base_, relName);
    QString path = base_;
    for (const QString& part : rel.split(u'/', Qt::SkipEmptyParts)) {
        if (part == u".")
            continue;
        const QString exact = path + u'/' + part;
        if (part == u".." || QFileInfo::exists(exact)) {
            path = exact;
            continue;
        }
        const QHash<QString, QString>& names = listing(path);
        const auto it = names.constFind(part.toCaseFolded());
        if (it == names.constEnd())
            return {};
        path += u'/' + *it;
    }
    return QFileInfo(path).isFile() ? path : QString();
}

const QHash<QString, QString>& FileFinder::listing(const QString& folder)
{
    auto it = listings_.find(folder);
    if (it == listings_.end()) {
        QHash<QString, QString> names;
        const QStringList entries = QDir(folder).entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString& e : entries) {
            const QString key = e.toCaseFolded();
            if (!names.contains(key))
                names.insert(key, e);
        }
        it = listings_.insert(folder, names);
    }
    return *it;
}

QString formKind(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray start = file.read(4);
    switch (formfile::formFormatOf(std::string_view(start.constData(), std::size_t(start.size())))) {
    case formfile::FormFormat::Resource:
    case formfile::FormFormat::Data:
        return QStringLiteral("binary");
    case formfile::FormFormat::Text:
        break;
    }
    return start.startsWith("\xEF\xBB\xBF") ? QStringLiteral("text, UTF-8") : QStringLiteral("text");
}

QStringList quotedTexts(const QTextDocument& document, const scanner::ScanFilters& filters)
{
    QStringList texts;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString line = block.text();
        if (!line.contains(u'\''))
            continue;
        bool exact = true;
        const std::string bytes = scannerBytes(line, &exact);
        scanner::forEachAcceptedLiteral(bytes, filters, [&](int posA, int, std::string_view text) {
            // A character the scanner saw as "?" is taken from the line itself.
            texts.append(exact ? fromWindows1252(text)
                               : line.mid(posA - 1, static_cast<qsizetype>(text.size())));
        });
    }
    return texts;
}

ProjectSources findProjectSources(const QTextDocument& projectSource, const QString& folder)
{
    scanner::ScanFilters everything;
    everything.accept = {true, true, true, true, true, true, true};
    ProjectSources sources;
    sources.quotedNames = quotedTexts(projectSource, everything);
    if (folder.isEmpty())
        return sources;
    FileFinder finder(folder);
    for (const QString& name : std::as_const(sources.quotedNames))
        if (!finder.find(name).isEmpty())
            sources.units.append(name);
    for (const QString& name : std::as_const(sources.quotedNames)) {
        const QString form = name.left(qMax<qsizetype>(0, name.size() - 4)) + QStringLiteral(".dfm");
        const QString path = finder.find(form);
        if (path.isEmpty())
            continue;
        sources.forms.append(form);
        sources.formKinds.append(formKind(path));
    }
    return sources;
}

} // namespace lingrove::model

#include "model/ProjectFile.h"

#include "platform/FileUtil.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

#include <QFileInfo>

namespace lingrove::model {

QByteArray newProjectFileText(const NewProjectFields& f)
{
    const QStringList lines = {
        QStringLiteral("[General]"),
        QStringLiteral("Projectname=") + f.name,
        QStringLiteral("Projectfolder=") + f.folder,
        QStringLiteral("Filename=") + f.delphiProjectFile,
        QStringLiteral("Source=") + f.sourceLanguage,
        QStringLiteral("Destination=") + f.destLanguage,
        QStringLiteral("Database=") + f.table,
        QStringLiteral("[Resource]"),
        QStringLiteral("Resname="),
        QStringLiteral("Fullresname="),
        QStringLiteral("Position=-1"),
    };
    QByteArray text;
    for (const QString& l : lines)
        text += l.toUtf8() + "\r\n";
    return text;
}

QString writeNewProjectFile(const NewProjectFields& f)
{
    const QString path = platform::joinPath(platform::toNative(f.folder), f.name + QStringLiteral(".lgv"));
    QString why;
    if (!platform::writeFileAtomically(path, newProjectFileText(f), &why))
        throw platform::IniError(QStringLiteral("Cannot write the project file. %1").arg(why).toStdString());
    return path;
}

Project projectFromFields(const NewProjectFields& f)
{
    Project p;
    p.name = f.name;
    p.folder = f.folder;
    p.delphiProjectFile = f.delphiProjectFile;
    p.sourceLanguage = f.sourceLanguage;
    p.destLanguage = f.destLanguage;
    p.dictionaryTable = f.table;
    return p;
}

ProjectFileContents readProjectFile(const QString& path)
{
    ProjectFileContents c;
    const platform::IniFile ini(path);
    c.files = ini.sectionKeys(QStringLiteral("Files"));
    Project& p = c.project;
    p.name = ini.readString(QStringLiteral("General"), QStringLiteral("Projectname"));
    p.folder = ini.readString(QStringLiteral("General"), QStringLiteral("Projectfolder"));
    p.delphiProjectFile = ini.readString(QStringLiteral("General"), QStringLiteral("Filename"));
    p.sourceLanguage = ini.readString(QStringLiteral("General"), QStringLiteral("Source"));
    p.destLanguage = ini.readString(QStringLiteral("General"), QStringLiteral("Destination"));
    p.dictionaryTable = ini.readString(QStringLiteral("General"), QStringLiteral("Database"));
    p.resourceName = ini.readString(QStringLiteral("Resource"), QStringLiteral("Resname"));
    p.resourceScript = ini.readString(QStringLiteral("Resource"), QStringLiteral("Fullresname"));
    p.resourceLine = ini.readInteger(QStringLiteral("Resource"), QStringLiteral("Position"), -1);
    c.fileInUse = ini.readString(QStringLiteral("Opened"), QStringLiteral("FileInUse"));
    p.openedPosition = ini.readInteger(QStringLiteral("Opened"), QStringLiteral("Position"), 0);
    QStringList translated;
    for (const QString& key : ini.sectionKeys(QStringLiteral("Translated")))
        translated << ini.readString(QStringLiteral("Translated"), key);
    p.translated = TranslatedLiterals::fromLines(translated);
    return c;
}

void saveProjectResource(const Project& project)
{
    platform::IniFile ini(project.projectFilePath());
    platform::IniFile::Batch batch(ini);
    ini.writeString(QStringLiteral("Resource"), QStringLiteral("Resname"), project.resourceName);
    ini.writeString(QStringLiteral("Resource"), QStringLiteral("Fullresname"), project.resourceScript);
    ini.writeInteger(QStringLiteral("Resource"), QStringLiteral("Position"), project.resourceLine);
    batch.commit();
}

void saveProjectFile(const Project& project, const QStringList& pageCaptions, const QString& activeCaption,
                     int selectedRow)
{
    platform::IniFile ini(project.projectFilePath());
    platform::IniFile::Batch batch(ini);
    ini.writeString(QStringLiteral("Resource"), QStringLiteral("Resname"), project.resourceName);
    ini.writeString(QStringLiteral("Resource"), QStringLiteral("Fullresname"), project.resourceScript);
    ini.writeInteger(QStringLiteral("Resource"), QStringLiteral("Position"), project.resourceLine);
    ini.eraseSection(QStringLiteral("Files"));
    for (int i = 0; i < pageCaptions.size(); ++i) {
        if (QFileInfo(pageCaptions[i]).suffix().toUpper() == QLatin1String("DPR"))
            continue;
        ini.writeInteger(QStringLiteral("Files"), pageCaptions[i], i);
    }
    ini.writeString(QStringLiteral("Opened"), QStringLiteral("FileInUse"), activeCaption);
    ini.writeInteger(QStringLiteral("Opened"), QStringLiteral("Position"), selectedRow);
    ini.eraseSection(QStringLiteral("Translated"));
    const QStringList translated = project.translated.toLines();
    for (qsizetype i = 0; i < translated.size(); ++i)
        ini.writeString(QStringLiteral("Translated"), QString::number(i + 1), translated[i]);
    batch.commit();
}

} // namespace lingrove::model

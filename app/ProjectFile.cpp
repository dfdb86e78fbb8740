#include "app/ProjectFile.h"

#include "platform/FileUtil.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

#include <QFileInfo>

namespace lingrove::app {

QByteArray newProjectFileText(const NewProjectFields& f)
{
    const QStringList lines = {
        "[General]",
        "Projectname=" + f.name,
        "Projectfolder=" + f.folder,
        "Filename=" + f.delphiProjectFile,
        "Source=" + f.sourceLanguage,
        "Destination=" + f.destLanguage,
        "Database=" + f.table,
        "[Resource]",
        "Resname=",
        "Fullresname=",
        "Position=-1",
    };
    QByteArray text;
    for (const QString& l : lines)
        text += l.toUtf8() + "\r\n";
    return text;
}

QString writeNewProjectFile(const NewProjectFields& f)
{
    const QString path = platform::joinPath(platform::toNative(f.folder), f.name + ".lgv");
    QString why;
    if (!platform::writeFileAtomically(path, newProjectFileText(f), &why))
        throw platform::IniError(QString("Cannot write the project file. %1").arg(why).toStdString());
    return path;
}

ProjectFileContents readProjectFile(const QString& path)
{
    ProjectFileContents c;
    const platform::IniFile ini(path);
    c.files = ini.sectionKeys("Files");
    Project& p = c.project;
    p.ProjectName = ini.readString("General", "Projectname");
    p.ProjectFolder = ini.readString("General", "Projectfolder");
    p.DelphiProjectFile = ini.readString("General", "Filename");
    p.SourceLanguage = ini.readString("General", "Source");
    p.DestLanguage = ini.readString("General", "Destination");
    p.DictionaryTable = ini.readString("General", "Database");
    p.ResName = ini.readString("Resource", "Resname");
    p.FullResName = ini.readString("Resource", "Fullresname");
    p.ResPosition = ini.readInteger("Resource", "Position", -1);
    c.fileInUse = ini.readString("Opened", "FileInUse");
    p.OpenedPosition = ini.readInteger("Opened", "Position", 0);
    return c;
}

void saveProjectFile(const Project& project, const QList<OpenPage>& pages,
                     const QString& activeCaption, int selectedLine)
{
    platform::IniFile ini(project.projectFilePath());
    ini.writeString("Resource", "Resname", project.ResName);
    ini.writeString("Resource", "Fullresname", project.FullResName);
    ini.writeInteger("Resource", "Position", project.ResPosition);
    ini.eraseSection("Files");
    for (const OpenPage& page : pages) {
        if (QFileInfo(page.caption).suffix().toUpper() == "DPR")
            continue;
        ini.writeInteger("Files", page.caption, page.index);
    }
    ini.writeString("Opened", "FileInUse", activeCaption);
    ini.writeInteger("Opened", "Position", selectedLine);
}

} // namespace lingrove::app

#include "cli/QtSupport.h"

#include "model/DelphiInstallation.h"
#include "model/ProjectFile.h"
#include "model/SettingsStore.h"
#include "platform/KeyStore.h"

#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace lingrove::cli {

namespace {

QtMessageHandler qtHandler = nullptr;

// Qt's notes about the desktop session (no runtime folder without a login)
// are no business of a command's output.
void filterMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.contains(QLatin1String("XDG_RUNTIME_DIR")))
        return;
    if (qtHandler)
        qtHandler(type, context, message);
}

} // namespace

std::unique_ptr<QGuiApplication> startQt()
{
    if (QCoreApplication::instance())
        return nullptr;
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qtHandler = qInstallMessageHandler(filterMessages);
    static int argc = 1;
    static char name[] = "lingrove-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

QString qs(const std::string& text)
{
    return QString::fromLocal8Bit(text.data(), qsizetype(text.size()));
}

std::string utf8(const QString& text)
{
    return text.toUtf8().toStdString();
}

model::Settings storedSettings(std::string* warning)
{
    model::Settings settings = model::Settings::defaults();
    try {
        const platform::KeyStore store;
        if (store.keyExists(QString::fromLatin1(model::delphi::kSettingsKey)))
            model::settings_store::load(store, settings);
    } catch (const std::exception& e) {
        *warning = e.what();
    }
    return settings;
}

bool readProject(const std::string& path, model::Project* project, std::string* why)
{
    const QString file = qs(path);
    if (!QFileInfo(file).isFile()) {
        *why = "no project file " + path;
        return false;
    }
    try {
        *project = model::readProjectFile(file).project;
    } catch (const std::exception& e) {
        *why = path + ": " + e.what();
        return false;
    }
    if (project->dictionaryTable.isEmpty()) {
        *why = path + ": the project names no dictionary table";
        return false;
    }
    return true;
}

bool openTable(model::Dictionary& dictionary, const std::string& table, bool create, std::string* why, bool* created)
{
    if (created)
        *created = false;
    QString name = qs(table);
    QString error;
    model::DictionaryLocation location;
    if (name.endsWith(QLatin1String(".db"), Qt::CaseInsensitive)) {
        const QFileInfo file(name);
        location = model::DictionaryLocation::local(file.absolutePath());
        name = file.completeBaseName();
    } else {
        std::string warning;
        const model::Settings settings = storedSettings(&warning);
        model::setCurrentDictionaryLocation(settings.dictionary);
        if (!model::parseTableAddress(qs(table), settings.dictionary, &location, &name, &error)) {
            *why = utf8(error);
            return false;
        }
    }
    if (create) {
        QStringList names;
        if (!model::listTables(location, &names, &error)) {
            *why = utf8(error);
            return false;
        }
        const bool exists = std::any_of(names.begin(), names.end(), [&](const QString& known) {
            return QString::compare(known, name, Qt::CaseInsensitive) == 0;
        });
        if (!exists) {
            if (!model::createTable(name, model::kDefaultFieldSize, location, &error)) {
                *why = utf8(error);
                return false;
            }
            if (created)
                *created = true;
        }
    }
    if (!dictionary.open(name, location, &error)) {
        *why = utf8(error);
        return false;
    }
    return true;
}

} // namespace lingrove::cli

#pragma once
// What the commands of lingrove-cli-qt share: Qt started without a screen,
// the settings and the project as the program has them, dictionary tables
// by name or file.
#include "model/Dictionary.h"
#include "model/Project.h"
#include "model/Settings.h"

#include <QGuiApplication>
#include <QString>

#include <memory>
#include <string>

namespace lingrove::cli {

// A QGuiApplication on the offscreen platform (unless another platform is
// asked for): fonts and text documents need one. The command keeps it while
// it runs, declared before every other Qt object of its own, so that it is
// the last to go.
std::unique_ptr<QGuiApplication> startQt();

QString qs(const std::string& text);
std::string utf8(const QString& text);

// The settings in the key store, as the program reads them at start; the
// defaults where none are stored. A damaged value ends the reading there
// (what was read is kept) and sets warning.
model::Settings storedSettings(std::string* warning);

// The project of a project file (.lgv); false with why.
bool readProject(const std::string& path, model::Project* project, std::string* why);

// A table given on the command line: sqlite:NAME, postgresql:NAME or NAME
// (model::parseTableAddress, the server and the current location from the
// stored settings), or a ".db" file. With create a missing table is made
// (created then tells).
bool openTable(model::Dictionary& dictionary, const std::string& table, bool create, std::string* why,
               bool* created = nullptr);

} // namespace lingrove::cli

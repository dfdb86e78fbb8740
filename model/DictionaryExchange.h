#pragma once
// A dictionary table to and from the exchange formats of other translation
// tools: TMX 1.4b, gettext PO and XLIFF 1.2. The format goes by the file's
// extension (".tmx"; ".po", ".pot"; ".xlf", ".xliff").
//
// Export writes one unit per stored translation: a source with three
// translations gives three units (in PO the second and later ones carry the
// context "alternative 2", ... so that each message stays unique). Where a
// project is given, each unit names the pages and lines its source or
// translation stands on: PO reference comments ("#: main.pas:12"), XLIFF
// location context groups (sourcefile, linenumber), TMX properties of type
// "x-location". The XML formats are written and read through Qt's stream
// writer and reader only; texts keep every character XML 1.0 allows, a
// carriage return written as a character reference. A text with another
// control character has no XML form and is left out of every format, and
// named in the result.
//
// Import reads the pairs of source and translation and merges them into the
// table (Dictionary::merge): new sources are added, a source that has
// translations keeps them and a different incoming translation is reported
// as a conflict (or, when asked for, stored in a free slot). Units without a
// translation, fuzzy PO entries, obsolete ones and plural forms are not
// imported, and counted. The texts are taken as the table keeps its texts:
// without "&".
#include "model/Dictionary.h"
#include "model/ProjectPages.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace lingrove::model {

enum class ExchangeFormat { Tmx, Po, Xliff };

// The format of path by its extension; nullopt for another one.
std::optional<ExchangeFormat> exchangeFormatOf(const QString& path);

// A language tag (BCP 47) for what a project file stores as a language:
// a tag already ("de", "pt_BR" as "pt-BR") or an English language name
// ("German" as "de"); "und" (undetermined) for anything else.
QString languageTag(const QString& language);

struct ExchangeUnit {
    QString source;
    QString translation;
    QStringList locations;   // "page:line"
};

struct ExportOptions {
    QString sourceLanguage = QStringLiteral("und");
    QString targetLanguage = QStringLiteral("und");
    QString original;        // what the file says it was made from (the table's name)
    // Where texts stand: a source or translation text -> "page:line", ...
    QHash<QString, QStringList> locations;
};

struct ExportResult {
    int units = 0;
    QStringList leftOut;     // "source -> translation: why"
};

// The units of every record of dictionary, in the table's order.
bool tableUnits(Dictionary& dictionary, const ExportOptions& options, std::vector<ExchangeUnit>* units,
                QString* why);
// The file's bytes for units in format.
QByteArray writeExchange(const std::vector<ExchangeUnit>& units, ExchangeFormat format, const ExportOptions& options,
                         ExportResult* result);
// Writes the table into path (through a temporary file). False with why.
bool exportTable(Dictionary& dictionary, const QString& path, ExchangeFormat format, const ExportOptions& options,
                 ExportResult* result, QString* why);

struct ImportedFile {
    std::vector<ExchangeUnit> units;   // those with a source and a translation
    int untranslated = 0;              // units without a translation
    int fuzzy = 0;                     // PO entries marked fuzzy
    int other = 0;                     // obsolete PO entries, plural forms, file headers
    QString sourceLanguage;            // as the file names them
    QString targetLanguage;
};

struct ImportOptions {
    // TMX: the language of the sources, where the header's srclang is not
    // to be trusted (empty: the header's; a file without one: the first
    // variant of each unit).
    QString sourceLanguage;
    // TMX: the language of the translations where a unit has several.
    QString targetLanguage;
};

// Reads the units of bytes in format; false with why (line and column for
// XML) when the file is not one of that format.
bool readExchange(const QByteArray& bytes, ExchangeFormat format, const ImportOptions& options, ImportedFile* file,
                  QString* why);

struct ImportReport {
    ImportedFile file;
    std::vector<MergeResult> results;
    int added = 0;        // new sources
    int updated = 0;      // known sources that got a translation
    int conflicting = 0;  // known sources with a different translation not stored
    int unchanged = 0;    // pairs the table had already
};

// Reads path and merges its units into dictionary. False with why when the
// file cannot be read or the table not written.
bool importFile(Dictionary& dictionary, const QString& path, ExchangeFormat format, const ImportOptions& importOptions,
                const MergeOptions& mergeOptions, ImportReport* report, QString* why);

// Where the texts of the entries of pages stand ("page:line"), at most
// limit places per text, for the export's locations; texts taken as the
// table keeps them (apostrophes single, "&" removed).
QHash<QString, QStringList> pageLocations(const std::vector<ProjectPage>& pages, const Settings& settings,
                                          int limit = 10);

} // namespace lingrove::model

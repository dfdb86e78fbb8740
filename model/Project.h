#pragma once
// The one open translation project: what its project file (.lgv) holds.
#include <QSet>
#include <QString>
#include <QStringList>

namespace lingrove::model {

// The literals translated in a project, each by its page (the page's
// caption), its line and its text as written there. The Changed column shows
// an entry as changed when it is one of them, whatever else the page holds,
// so the marks stay with their entries when the project is opened again.
class TranslatedLiterals {
public:
    void add(const QString& page, int line, const QString& text) { keys_.insert(key(page, line, text)); }
    void remove(const QString& page, int line, const QString& text) { keys_.remove(key(page, line, text)); }
    bool contains(const QString& page, int line, const QString& text) const
    {
        return keys_.contains(key(page, line, text));
    }
    bool isEmpty() const { return keys_.isEmpty(); }
    qsizetype size() const { return keys_.size(); }

    // As the project file keeps them: "page|line|text|", one per entry, sorted.
    QStringList toLines() const;
    static TranslatedLiterals fromLines(const QStringList& lines);

    bool operator==(const TranslatedLiterals&) const = default;

private:
    static QString key(const QString& page, int line, const QString& text);
    QSet<QString> keys_;
};

struct Project {
    QString name;               // empty: no project is open
    QString folder;             // where the project file lies, as stored
    QString delphiProjectFile;  // full path of the Delphi project source (.dpr), as stored
    QString sourceLanguage;
    QString destLanguage;
    QString dictionaryTable;
    QString resourceName;       // the version resource's script name ("VERSION.rc")
    QString resourceScript;     // its full path
    qint32 resourceLine = -1;   // 0-based line of its {$R ...} directive; -1: none in the project
    qint32 openedPosition = 0;  // the string list row selected when the project was saved
    TranslatedLiterals translated;

    bool isOpen() const { return !name.isEmpty(); }
    // <folder>/<name>.lgv, as the file system takes it.
    QString projectFilePath() const;
    // The folder of the Delphi project source, as the file system takes it
    // (no trailing separator); empty without a project source.
    QString delphiProjectFolder() const;
};

} // namespace lingrove::model

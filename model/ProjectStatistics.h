#pragma once
// Progress figures of a project: for each page and for the whole project,
// the entries Get strings lists, how many are translated and remain, and
// their words.
//
// Translated. Lingrove writes translations into the files themselves and
// keeps no record of which literal was translated. So an entry counts as
// translated when its text (apostrophes single, "&" removed) is one of the
// translations stored in the project's dictionary table: after a commit or a
// pre-translation the literal holds exactly such a text. Every other entry
// remains; of those, the ones whose text is a stored source have an exact
// match (what pre-translation would write). Limits of the rule: a text that
// is the same in both languages ("OK") and stored as its own translation
// counts as translated from the start; a translation typed without being
// stored (a read-only table) does not count; and a translation with an
// apostrophe is two literals for Get strings (which pairs apostrophes), so
// its pieces count as remaining entries.
//
// Words: runs of characters between blanks that hold a letter or a digit
// ("Save", "file's", "3.5"; not "-" or "..."), the rule of most translation
// tools; a script written without blanks counts one word per run.
#include "model/Dictionary.h"
#include "model/ProjectPages.h"
#include "core/scanner/Scanner.h"

#include <QSet>
#include <QString>

#include <vector>

class QTextDocument;

namespace lingrove::model {

int countWords(const QString& text);

// The stored translations and sources of a dictionary table, read once.
class DictionaryIndex {
public:
    // False with the dictionary's lastError() when the table cannot be read.
    bool read(Dictionary& dictionary);
    bool isTranslation(const QString& text) const { return translations_.contains(text); }
    // A source with at least one translation.
    bool isSource(const QString& text) const { return sources_.contains(text); }

private:
    QSet<QString> translations_;
    QSet<QString> sources_;
};

struct PageStatistics {
    QString name;   // the page (empty for the project's total)
    QString path;
    int entries = 0;
    int translated = 0;
    int remaining = 0;
    int exactMatches = 0;     // remaining entries with a stored translation
    int words = 0;
    int remainingWords = 0;
    QString problem;          // the file could not be read: no figures

    void add(const PageStatistics& other);
};

// The figures of one page's document.
PageStatistics pageStatistics(const QTextDocument& document, const scanner::ScanFilters& filters,
                              const DictionaryIndex& index);

struct ProjectStatistics {
    std::vector<PageStatistics> pages;   // units and forms, in the tree's order
    PageStatistics total;
};

// Reads every unit and form of pages (others are left out) and counts.
ProjectStatistics projectStatistics(const std::vector<ProjectPage>& pages, const Settings& settings,
                                    const DictionaryIndex& index);

} // namespace lingrove::model

#include "model/ProjectStatistics.h"

#include "model/SourceFile.h"
#include "model/StringFilters.h"
#include "model/TranslationSession.h"

#include <QTextDocument>

namespace lingrove::model {

int countWords(const QString& text)
{
    int words = 0;
    bool inRun = false;
    bool counted = false;
    for (const QChar c : text) {
        if (c.isSpace()) {
            inRun = false;
            continue;
        }
        if (!inRun) {
            inRun = true;
            counted = false;
        }
        if (!counted && (c.isLetterOrNumber() || c.isSurrogate())) {
            ++words;
            counted = true;
        }
    }
    return words;
}

bool DictionaryIndex::read(Dictionary& dictionary)
{
    translations_.clear();
    sources_.clear();
    return dictionary.forEachRecord([&](const QString& source, const Proposals& dests) {
        for (const QString& dest : dests) {
            if (!dest.isEmpty()) {
                translations_.insert(dest);
                sources_.insert(source);
            }
        }
    });
}

void PageStatistics::add(const PageStatistics& other)
{
    entries += other.entries;
    translated += other.translated;
    remaining += other.remaining;
    exactMatches += other.exactMatches;
    words += other.words;
    remainingWords += other.remainingWords;
}

PageStatistics pageStatistics(const QTextDocument& document, const scanner::ScanFilters& filters,
                              const DictionaryIndex& index)
{
    PageStatistics s;
    for (const ListEntry& entry : collectEntries(document, filters)) {
        const QString text = withoutAmpersands(pascalUnquoted(entry.text));
        const int words = countWords(text);
        ++s.entries;
        s.words += words;
        if (!text.isEmpty() && index.isTranslation(text)) {
            ++s.translated;
            continue;
        }
        ++s.remaining;
        s.remainingWords += words;
        if (!text.isEmpty() && index.isSource(text))
            ++s.exactMatches;
    }
    return s;
}

ProjectStatistics projectStatistics(const std::vector<ProjectPage>& pages, const Settings& settings,
                                    const DictionaryIndex& index)
{
    ProjectStatistics result;
    const scanner::ScanFilters filters = scanFilters(settings);
    for (const ProjectPage& page : pages) {
        if (!page.isSource)
            continue;
        SourceFile file(page.path);
        QTextDocument document;
        FileProblem problem;
        PageStatistics s;
        if (file.load(document, pascal::ColourScheme::classic(), &problem))
            s = pageStatistics(document, filters, index);
        else
            s.problem = problem.message;
        s.name = page.name;
        s.path = page.path;
        result.total.add(s);
        result.pages.push_back(std::move(s));
    }
    return result;
}

} // namespace lingrove::model

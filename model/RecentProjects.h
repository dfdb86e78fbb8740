#pragma once
// The recent projects: at most ten project files, kept in mru.dat in the
// program's folder, one path per line. The file is read as UTF-8 when it is
// valid UTF-8, else as Windows-1252 (as 8-bit programs wrote it), and written
// in Windows-1252 when every path fits, else in UTF-8.
#include <QString>
#include <QStringList>

namespace lingrove::model {

class RecentProjects {
public:
    static constexpr int kCapacity = 10;

    // mru.dat in the program's folder.
    static QString defaultFile();

    const QStringList& entries() const { return entries_; }
    void setEntries(const QStringList& entries) { entries_ = entries; }

    // An entry equal to path stays where it is; otherwise path is appended
    // while there are fewer than ten entries, else the last entry goes and
    // path comes first.
    void add(const QString& path);

    // Replaces the list by the file's lines; a missing or unreadable file
    // leaves it as it is.
    void load(const QString& file);
    // Writes the list, one path per line with CR LF, through a temporary file.
    bool save(const QString& file, QString* why = nullptr) const;

private:
    QStringList entries_;
};

} // namespace lingrove::model

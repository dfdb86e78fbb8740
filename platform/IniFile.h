#pragma once
// INI profile file with the Windows profile semantics: section and key names
// compare without regard to case, missing keys read as the default, integers
// may be written "0x..." (hexadecimal), a whole section can be erased, a
// section's keys list in file order. Writing changes the key's line in place
// (a new key goes to the end of its section, a new section to the end of the
// file); every other line stays as it was. Lines end in CR LF, values are not
// quoted. Every write goes to the file at once, through a temporary file and
// a rename, as the profile calls do; changes made inside a Batch go to the
// file together when it is committed, so that a failure part-way leaves the
// file as it was.
//
// Names and values are trimmed of blanks when read; a value is taken as it
// stands (quotes included). A line is read as UTF-8 when it is valid UTF-8,
// else as Windows-1252 (the 8-bit files of Windows programs). New text is
// written in Windows-1252 when every character fits (so that 8-bit programs
// read it), else in UTF-8; a file that starts with the UTF-8 byte-order mark
// gets UTF-8. Lines keep their own line ends; only new lines end in CR LF. Like the profile calls, every read and
// write reads the file again first, so two IniFile objects on one file see
// each other's writes.
// A name or value that the format cannot hold (line breaks, "=" in a key,
// "]" in a section name, an empty name) is refused with IniError.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace lingrove::platform {

class IniError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class IniFile {
public:
    // Reads the file if it exists; a missing file is an empty profile.
    explicit IniFile(QString path);

    const QString& path() const { return path_; }

    bool sectionExists(const QString& section) const;
    bool keyExists(const QString& section, const QString& key) const;
    QStringList sections() const;
    QStringList sectionKeys(const QString& section) const;   // file order

    QString readString(const QString& section, const QString& key, const QString& def = {}) const;
    // Decimal, or hexadecimal after "0x"/"0X"; anything else reads as the default.
    qint32 readInteger(const QString& section, const QString& key, qint32 def) const;

    // Throw IniError when the file cannot be written.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, qint32 value);
    void eraseSection(const QString& section);

    // The whole text as it would be written.
    QByteArray text() const;

    // Changes made while a Batch lives are written once, by commit(); a
    // Batch that ends without commit() leaves the file as it was.
    class Batch {
    public:
        explicit Batch(IniFile& ini);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
        // Throws IniError when the file cannot be written.
        void commit();

    private:
        IniFile& ini_;
        bool done_ = false;
    };

private:
    struct Line {
        QByteArray text;   // without its line end
        QByteArray eol;    // "\r\n", "\n" or "" (last line without one)
    };
    void load() const;
    // Reads the file again, unless a batch holds changes not yet written.
    void refresh() const;
    // Reads the file again before a change; throws IniError when it exists but
    // cannot be read, so that it is never overwritten by an empty profile.
    void prepareWrite();
    // Index of the line holding the key, or -1.
    qsizetype findKeyLine(const QString& section, const QString& key) const;
    void save();

    // The bytes of new text, in the file's encoding (see above).
    QByteArray encoded(const QString& text) const;

    QString path_;
    mutable QList<Line> lines_;
    mutable bool unreadable_ = false;
    bool batch_ = false;   // inside a Batch: changes wait for its commit
};

} // namespace lingrove::platform

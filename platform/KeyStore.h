#pragma once
// Per-user key store: the current-user hive of the Windows registry, kept in
// one file. Keys are paths with "\" between their parts
// ("SOFTWARE\QUORVEX\Lingrove\2.0"); key paths and value names compare
// without regard to letter case. Values are strings or 32-bit integers.
//
// The file is read when a KeyStore is constructed and read again only when
// it changed on disk (another KeyStore or program wrote it); every change is
// written back at once (temporary file, then rename), so a second KeyStore on
// the same file sees it, and a change is applied to the newest content of the
// file, so two stores on one file do not undo each other's writes. A file
// that exists but cannot be read is never overwritten: changes then fail.
//
// File format (UTF-8 text, one item per line):
//   ; comment
//   [SOFTWARE\QUORVEX\Lingrove\2.0]        a key, by its full path
//   Compiler=s:C:\D\bin\dcc32.exe          a string value
//   Empty=i:1                               a 32-bit integer value
// In key paths and value names "%", "=", "[", "]", ";" and control characters
// are written as %XX; in string values "%" and control characters are. A
// lone surrogate is written as %uXXXX. A line that is not UTF-8 is read as
// Windows-1252 (files edited with 8-bit tools) and written back as UTF-8.
//
// Damaged files. Lines that cannot be understood (no key, an unknown type, a
// key of more than 64 levels, a line over 64 KiB) are skipped; the file as
// it was is first kept as "<file>.damaged", and damage() says which line was
// the first bad one, so that the program can tell the user. Nothing in the
// file makes reading recurse or take more than linear time.
#include <QHash>
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace lingrove::platform {

class KeyStoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class KeyStore {
public:
    // $LINGROVE_KEYSTORE when set, else <user config folder>/lingrove/registry.txt
    static QString defaultFile();

    explicit KeyStore(QString file = defaultFile());

    const QString& file() const { return file_; }

    bool keyExists(const QString& key) const;
    // Creates the key and its parents. False when the store cannot be written.
    bool createKey(const QString& key);
    // Deletes the key with all its values and subkeys. False when it did not
    // exist; throws KeyStoreError when the file cannot be written.
    bool deleteKey(const QString& key);
    QStringList subKeys(const QString& key) const;
    QStringList valueNames(const QString& key) const;

    bool valueExists(const QString& key, const QString& name) const;
    // A missing key or value reads as an empty string; an integer reads as its decimal text.
    QString readString(const QString& key, const QString& name) const;
    // Throws KeyStoreError when the value is missing or is not stored as an integer.
    qint32 readInteger(const QString& key, const QString& name) const;
    // Create the key when missing; throw KeyStoreError when the file cannot be written.
    void writeString(const QString& key, const QString& name, const QString& value);
    void writeInteger(const QString& key, const QString& name, qint32 value);

    // Re-read the file.
    void reload();

    // What the last reading of the file found wrong with it.
    struct Damage {
        int line = 0;          // first line that could not be understood; 0: none
        int lines = 0;         // how many lines could not be understood
        QString reason;        // what was wrong with the first one
        QString keptAs;        // where the file as it was is kept; empty when it could not be kept
    };
    const Damage& damage() const { return damage_; }

    static constexpr int kMaxKeyDepth = 64;
    static constexpr qsizetype kMaxLineBytes = 64 * 1024;

private:
    struct Value {
        QString name;      // as first written
        bool isInteger = false;
        QString text;
        qint32 number = 0;
    };
    struct Key {
        QString path;      // as first written
        QList<Value> values;
        QHash<QString, qsizetype> valueIndex;   // case-folded name -> index in values
    };
    // Identity of the file as last read or written.
    struct Stamp {
        qint64 device = -1, inode = -1, size = -1, modifiedNs = -1, changedNs = -1;
        bool operator==(const Stamp&) const = default;
    };
    Stamp currentStamp() const;
    Key* findKey(const QString& key);
    const Key* findKey(const QString& key) const;
    // Index of the key (normalized path), added with its parents when missing.
    qsizetype ensureKey(const QString& normalized) const;
    static void putValue(Key& key, Value v);
    // Writes one value; throws KeyStoreError when the file cannot be written.
    void setValue(const QString& key, Value v);
    // Reads the file when it changed since it was last read or written.
    void refresh() const;
    // Reads the file; unreadable_ tells whether it exists but could not be read.
    void load() const;
    void parse(const QByteArray& bytes) const;
    void keepDamagedCopy(const QByteArray& bytes) const;
    void rebuildIndex() const;
    // Writes keys_ to the file; false when the file cannot be written (the
    // store then holds what the file holds).
    bool save();

    QString file_;
    mutable QList<Key> keys_;
    mutable QHash<QString, qsizetype> keyIndex_;   // case-folded path -> index in keys_
    mutable bool unreadable_ = false;
    mutable Stamp stamp_;
    mutable Damage damage_;
};

} // namespace lingrove::platform

#pragma once
// Per-user key store: the current-user hive of the Windows registry, kept in
// one file. Keys are paths with "\" between their parts
// ("SOFTWARE\QUORVEX\Lingrove\2.0"); key paths and value names compare
// without regard to letter case. Values are strings or 32-bit integers.
//
// The file is read when a KeyStore is constructed; every change is written
// back at once (temporary file, then rename), so a second KeyStore on the same
// file sees it. Every read and every change reads the file again first (it is
// small), so a change is applied to the newest content of the file and two
// stores on one file do not undo each other's writes. A file that exists but
// cannot be read is never overwritten: changes then fail.
//
// File format (UTF-8 text, one item per line):
//   ; comment
//   [SOFTWARE\QUORVEX\Lingrove\2.0]        a key, by its full path
//   Compiler=s:C:\D\bin\dcc32.exe          a string value
//   Empty=i:1                               a 32-bit integer value
// In key paths and value names "%", "=", "[", "]", ";" and control characters
// are written as %XX; in string values "%" and control characters are. A
// lone surrogate is written as %uXXXX. Lines that cannot be read are skipped.
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
    };
    Key* findKey(const QString& key);
    const Key* findKey(const QString& key) const;
    // Index of the key (normalized path), added with its parents when missing.
    qsizetype ensureKey(const QString& normalized);
    // Writes one value; throws KeyStoreError when the file cannot be written.
    void setValue(const QString& key, Value v);
    // Reads the file again; unreadable_ tells whether it exists but could not be read.
    void load() const;
    // Writes keys_ to the file; false when the file cannot be written.
    bool save();

    QString file_;
    mutable QList<Key> keys_;
    mutable bool unreadable_ = false;
};

} // namespace lingrove::platform

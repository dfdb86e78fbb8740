#pragma once
// Shared set-up of the dictionary tests: each test runs with a program
// folder of its own, so its dictionary folder starts empty.
#include "model/Dictionary.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lingrove::model::testing {

class DictionaryFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home_.isValid());
        previousHome_ = qgetenv("LINGROVE_HOME");
        qputenv("LINGROVE_HOME", home_.path().toLocal8Bit());
        folder_ = dictionaryFolder();
    }
    void TearDown() override
    {
        table_.close();
        qputenv("LINGROVE_HOME", previousHome_);
    }

    // Create a table and fill it with source/translation pairs.
    void makeTable(const QString& name, const QList<QPair<QString, QString>>& pairs = {}, int size = 50)
    {
        QString error;
        ASSERT_TRUE(createTable(name, size, &error)) << error.toStdString();
        Dictionary dictionary;
        ASSERT_TRUE(dictionary.open(name, &error)) << error.toStdString();
        for (const auto& [source, dest] : pairs)
            ASSERT_TRUE(dictionary.store(source, dest)) << dictionary.lastError().toStdString();
    }

    QTemporaryDir home_;
    Dictionary table_;   // the working table
    QByteArray previousHome_;
    QString folder_;
};

inline std::string str(const QString& s)
{
    return s.toStdString();
}

// Proposals of these texts, the rest empty.
inline Proposals props(std::initializer_list<const char*> texts)
{
    Proposals p;
    size_t i = 0;
    for (const char* t : texts)
        p[i++] = QString::fromUtf8(t);
    return p;
}

} // namespace lingrove::model::testing

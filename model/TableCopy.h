#pragma once
// Copying a dictionary table between this computer and a server, or within
// one of them under another name.
#include "model/Dictionary.h"

namespace lingrove::model {

struct CopyReport {
    bool created = false; // the target was made by the copy
    int records = 0; // records read from the source table
    // An existing target: what merging did.
    int added = 0;
    int updated = 0;
    int conflicting = 0; // sources whose translations did not all fit
};

// Copies the table fromName at from to toName at to. A target that does not
// exist is made with the source's field size and gets every record as it
// is (empty slots and their order kept, records in the order they were
// made). An existing target has the records merged in: new sources are
// added, other translations go into free slots, a stored translation is
// never replaced. The target is written in one transaction. False with a
// message (naming the server where one is involved).
bool copyTable(const DictionaryLocation& from, const QString& fromName, const DictionaryLocation& to,
    const QString& toName, CopyReport* report, QString* error);

} // namespace lingrove::model

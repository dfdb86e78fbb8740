#pragma once
// The tool window "Checks": the warnings of the checks run when a
// translation was committed or pre-translated (model/TranslationChecks.h),
// one row each with its page, line, the translation and the warning, in the
// order they came. The translator steps through them (Next, Previous, Enter
// or a double click on a row); each step asks the translation feature to
// bring the page to the front and locate the entry. Committing an entry
// again replaces its warnings; Clear empties the list.
#include "model/TranslationChecks.h"

#include <QWidget>

#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace lingrove::ui {

struct CheckItem {
    QString page;          // the page's caption
    int line = 0;          // 1-based page line of the literal
    int column = 0;        // 1-based column of its content
    QString source;        // the text translated (apostrophes single)
    QString translation;   // as the translator reads it
    model::CheckWarning warning;
};

// The checks of one literal as written.
struct CheckedLiteral {
    QString page;
    int line = 0;
    int column = 0;
    QString source;
    QString translation;
    std::vector<model::CheckWarning> warnings;
};

class ChecksWindow : public QWidget {
    Q_OBJECT

public:
    explicit ChecksWindow(QWidget* mainWindow);

    // The warnings of a literal: those listed for it (the same page, line
    // and column) before are replaced, in their place (none left when it
    // has none).
    void setWarnings(const CheckedLiteral& literal);
    // The same for many literals at once; their warnings go to the end.
    void setWarnings(const std::vector<CheckedLiteral>& literals);
    // Drops what is listed for the literal at page, line and column.
    void forget(const QString& page, int line, int column);
    void clear();

    const std::vector<CheckItem>& items() const { return items_; }
    int currentRow() const;
    QTreeWidget* list() const { return list_; }

    // Steps to row (which must exist), the next or the previous one; each
    // asks for the item to be shown (showItem).
    void activate(int row);
    void next();
    void previous();

    // Shows the window and brings it to the front.
    void showAndRaise();

signals:
    // The translator stepped to item.
    void showItem(const lingrove::ui::CheckItem& item);
    // The number of items changed.
    void countChanged(int count);

private:
    void rebuild(int keepRow);

    std::vector<CheckItem> items_;
    QTreeWidget* list_;
    QLabel* status_;
    QPushButton* previous_;
    QPushButton* next_;
    QPushButton* clear_;
};

// "Page line: warning" for the hint line.
QString hintText(const CheckItem& item);

} // namespace lingrove::ui

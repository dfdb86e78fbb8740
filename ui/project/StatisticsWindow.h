#pragma once
// The window "Statistics": the progress of the open project, one row per
// unit and form (in the tree's order) and one for the whole project: the
// entries Get strings lists, how many are translated and remain, how many
// of those the dictionary has a translation for (what pre-translation
// would write), and their words (model/ProjectStatistics.h). A page open in
// the window is counted as it stands there, translations not yet saved
// included; every other page as its file on disk.
#include "model/ProjectStatistics.h"

#include <QWidget>

class QLabel;
class QTableWidget;

namespace lingrove::model {
class Workspace;
}

namespace lingrove::ui {

class Shell;

class StatisticsWindow : public QWidget {
    Q_OBJECT

public:
    StatisticsWindow(model::Workspace& workspace, Shell& shell, QWidget* parent);

    // Counts again and shows the figures. False (the window says why) when
    // no project or dictionary table is open or the project source cannot
    // be read.
    bool refresh();
    // Shows the window with fresh figures.
    void showAndRefresh();

    const model::ProjectStatistics& statistics() const { return statistics_; }
    QTableWidget* table() const { return table_; }
    QLabel* summary() const { return summary_; }

private:
    void fill();

    model::Workspace& workspace_;
    Shell& shell_;
    model::ProjectStatistics statistics_;
    QTableWidget* table_;
    QLabel* summary_;
};

} // namespace lingrove::ui

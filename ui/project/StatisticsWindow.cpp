#include "ui/project/StatisticsWindow.h"

#include "model/SourceFile.h"
#include "model/StringFilters.h"
#include "model/Workspace.h"
#include "ui/shell/PageArea.h"
#include "ui/shell/Shell.h"
#include "ui/shell/WaitCursor.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace lingrove::ui {

namespace {

const QStringList kHeadings = {QStringLiteral("Page"),      QStringLiteral("Entries"),
                               QStringLiteral("Translated"), QStringLiteral("Remaining"),
                               QStringLiteral("Matches"),    QStringLiteral("Words"),
                               QStringLiteral("Remaining words")};

QTableWidgetItem* number(int value)
{
    auto* item = new QTableWidgetItem(QString::number(value));
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

StatisticsWindow::StatisticsWindow(model::Workspace& workspace, Shell& shell, QWidget* parent)
    : QWidget(parent, Qt::Tool)
    , workspace_(workspace)
    , shell_(shell)
    , table_(new QTableWidget(this))
    , summary_(new QLabel(this))
{
    setObjectName(QStringLiteral("StatisticsWindow"));
    setWindowTitle(QStringLiteral("Statistics"));

    table_->setObjectName(QStringLiteral("StatisticsTable"));
    table_->setColumnCount(int(kHeadings.size()));
    table_->setHorizontalHeaderLabels(kHeadings);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table_->horizontalHeaderItem(4)->setToolTip(
        QStringLiteral("Remaining entries whose text the dictionary has a translation for"));
    summary_->setObjectName(QStringLiteral("StatisticsSummary"));
    summary_->setWordWrap(true);

    auto* refresh = new QPushButton(QStringLiteral("&Refresh"), this);
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    connect(refresh, &QPushButton::clicked, this, [this] { this->refresh(); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(summary_, 1);
    buttons->addWidget(refresh);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);
    resize(720, 340);
}

void StatisticsWindow::showAndRefresh()
{
    show();
    raise();
    refresh();
}

bool StatisticsWindow::refresh()
{
    statistics_ = {};
    auto fail = [this](const QString& why) {
        table_->setRowCount(0);
        summary_->setText(why);
        return false;
    };
    if (!workspace_.project().isOpen())
        return fail(QStringLiteral("No project is open."));
    model::Dictionary& dictionary = workspace_.dictionary();
    if (!dictionary.isOpen())
        return fail(QStringLiteral("The project's dictionary table is not open."));

    WaitCursor wait;
    std::vector<model::ProjectPage> pages;
    QString why;
    if (!model::listProjectPages(workspace_.project(), &pages, &why))
        return fail(why);
    model::DictionaryIndex index;
    if (!index.read(dictionary))
        return fail(dictionary.lastError());

    const std::vector<OpenFilePage> open = shell_.pages().openFilePages();
    const scanner::ScanFilters filters = model::scanFilters(workspace_.settings());
    for (const model::ProjectPage& page : pages) {
        if (!page.isSource)
            continue;
        const auto shown = std::find_if(open.begin(), open.end(), [&](const OpenFilePage& p) {
            return QFileInfo(p.file->path()) == QFileInfo(page.path);
        });
        model::PageStatistics s;
        if (shown != open.end()) {
            s = model::pageStatistics(*shown->editor->document(), filters, index);
            s.name = page.name;
            s.path = page.path;
        } else {
            const model::ProjectStatistics one = model::projectStatistics({page}, workspace_.settings(), index);
            if (one.pages.empty())
                continue;
            s = one.pages.front();
        }
        statistics_.total.add(s);
        statistics_.pages.push_back(std::move(s));
    }
    fill();
    return true;
}

void StatisticsWindow::fill()
{
    const int rows = int(statistics_.pages.size()) + 1;
    table_->clearSpans();
    table_->setRowCount(rows);
    auto put = [this](int row, const QString& name, const model::PageStatistics& s, bool total) {
        auto* caption = new QTableWidgetItem(name);
        caption->setToolTip(s.path);
        table_->setItem(row, 0, caption);
        if (!s.problem.isEmpty()) {
            auto* problem = new QTableWidgetItem(QStringLiteral("Not counted: %1").arg(s.problem));
            problem->setToolTip(s.problem);
            problem->setForeground(Qt::darkRed);
            table_->setItem(row, 1, problem);
            table_->setSpan(row, 1, 1, int(kHeadings.size()) - 1);
            return;
        }
        const int values[] = {s.entries, s.translated, s.remaining, s.exactMatches, s.words, s.remainingWords};
        for (int c = 0; c < 6; ++c)
            table_->setItem(row, c + 1, number(values[c]));
        if (total) {
            for (int c = 0; c < table_->columnCount(); ++c) {
                QFont bold = table_->item(row, c)->font();
                bold.setBold(true);
                table_->item(row, c)->setFont(bold);
            }
        }
    };
    int row = 0;
    for (const model::PageStatistics& s : statistics_.pages)
        put(row++, s.name, s, false);
    put(row, QStringLiteral("Project"), statistics_.total, true);
    for (int c = 1; c < table_->columnCount(); ++c)
        table_->resizeColumnToContents(c);

    const model::PageStatistics& t = statistics_.total;
    const int percent = t.entries ? 100 * t.translated / t.entries : 100;
    summary_->setText(QStringLiteral("%1 of %2 entries translated (%3%), %4 of %5 words remaining; %6 remaining "
                                     "entries have a stored translation.")
                          .arg(t.translated)
                          .arg(t.entries)
                          .arg(percent)
                          .arg(t.remainingWords)
                          .arg(t.words)
                          .arg(t.exactMatches));
}

} // namespace lingrove::ui

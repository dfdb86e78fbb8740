#include "ui/translation/PreTranslationWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace lingrove::ui {

namespace {

enum Column { PlaceColumn, SourceColumn, TranslationColumn, NoteColumn };

QString entries(int n)
{
    return n == 1 ? QStringLiteral("1 entry") : QStringLiteral("%1 entries").arg(n);
}

QString fileNote(const model::PreTranslatedFile& f, bool dryRun, bool onPage)
{
    if (!f.problem.isEmpty())
        return QStringLiteral("Not changed: %1").arg(f.problem);
    const int n = f.writtenEntries();
    if (n == 0)
        return QStringLiteral("Nothing to write");
    if (dryRun)
        return QStringLiteral("%1 to write").arg(entries(n));
    if (onPage)
        return QStringLiteral("%1 written into the open page (not saved)").arg(entries(n));
    return f.written ? QStringLiteral("%1 written, file saved").arg(entries(n)) : QStringLiteral("Not saved");
}

QString entryNote(const model::PreTranslatedEntry& e)
{
    if (!e.skipped.isEmpty())
        return QStringLiteral("Left alone: %1").arg(e.skipped);
    QStringList notes;
    if (e.alternatives > 0)
        notes << QStringLiteral("first of %1 translations").arg(e.alternatives + 1);
    for (const model::CheckWarning& w : e.warnings)
        notes << w.message;
    return notes.join(QStringLiteral("; "));
}

} // namespace

PreTranslationWindow::PreTranslationWindow(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool)
    , list_(new QTreeWidget(this))
    , summary_(new QLabel(this))
    , translate_(new QPushButton(QStringLiteral("&Pre-translate"), this))
{
    setObjectName(QStringLiteral("PreTranslationWindow"));
    setWindowTitle(QStringLiteral("Pre-translation"));
    list_->setObjectName(QStringLiteral("PreTranslationList"));
    list_->setHeaderLabels({QStringLiteral("File / line"), QStringLiteral("Text"), QStringLiteral("Translation"),
                            QStringLiteral("Note")});
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setColumnWidth(PlaceColumn, 150);
    list_->setColumnWidth(SourceColumn, 180);
    list_->setColumnWidth(TranslationColumn, 180);
    summary_->setObjectName(QStringLiteral("PreTranslationSummary"));
    summary_->setWordWrap(true);
    translate_->setToolTip(QStringLiteral("Write what the preview shows into the project"));
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    connect(translate_, &QPushButton::clicked, this, [this] { emit translateRequested(); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(summary_, 1);
    buttons->addWidget(translate_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    resize(760, 380);
}

void PreTranslationWindow::showOutcome(const PreTranslationOutcome& outcome)
{
    const model::PreTranslationReport& report = outcome.report;
    setWindowTitle(report.dryRun ? QStringLiteral("Pre-translation preview") : QStringLiteral("Pre-translation"));
    list_->clear();
    for (const model::PreTranslatedFile& f : report.files) {
        const bool onPage = outcome.openPages.contains(f.name);
        auto* file = new QTreeWidgetItem({f.name, QString(), QString(), fileNote(f, report.dryRun, onPage)});
        file->setToolTip(PlaceColumn, f.path);
        file->setToolTip(NoteColumn, file->text(NoteColumn));
        QFont bold = file->font(PlaceColumn);
        bold.setBold(true);
        file->setFont(PlaceColumn, bold);
        if (!f.problem.isEmpty())
            file->setForeground(NoteColumn, Qt::darkRed);
        for (const model::PreTranslatedEntry& e : f.entries) {
            auto* entry = new QTreeWidgetItem(file, {QStringLiteral("%1:%2").arg(e.line).arg(e.column), e.source,
                                                     e.translation, entryNote(e)});
            entry->setToolTip(NoteColumn, entry->text(NoteColumn));
            if (!e.skipped.isEmpty() || !e.warnings.empty())
                entry->setForeground(NoteColumn, e.skipped.isEmpty() ? QColor(160, 90, 0) : QColor(Qt::darkRed));
        }
        list_->addTopLevelItem(file);
        file->setExpanded(!f.entries.empty());
    }
    const int n = report.writtenEntries();
    const int files = report.changedFiles();
    QString text = report.dryRun
        ? QStringLiteral("Preview: %1 in %2 would be pre-translated; nothing was written.")
        : QStringLiteral("%1 in %2 pre-translated.");
    text = text.arg(entries(n), files == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(files));
    if (report.problems() > 0)
        text += QStringLiteral(" %1 could not be done.")
                    .arg(report.problems() == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(report.problems()));
    summary_->setText(text);
    translate_->setVisible(report.dryRun && n > 0);
    show();
    raise();
}

} // namespace lingrove::ui

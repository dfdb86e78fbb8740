#include "ui/translation/DictionaryExchangeCommands.h"

#include "model/DictionaryExchange.h"
#include "model/Workspace.h"
#include "ui/shell/Actions.h"
#include "ui/shell/UserInterface.h"
#include "ui/shell/WaitCursor.h"
#include "ui/translation/DictionaryWindow.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace lingrove::ui {

namespace {

const QString kFormats = QStringLiteral("the format goes by the extension: .tmx (TMX), .po (gettext PO) or .xlf (XLIFF)");

QString quotedList(const QStringList& texts)
{
    QStringList quoted;
    for (const QString& t : texts)
        quoted << QStringLiteral("\u201C%1\u201D").arg(t);
    return quoted.join(QStringLiteral(", "));
}

} // namespace

ExchangeReportDialog::ExchangeReportDialog(QWidget* parent, const QString& title, const QString& summary,
                                           const QStringList& details)
    : QDialog(parent)
    , summary_(new QLabel(summary, this))
    , details_(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("ExchangeReport"));
    setWindowTitle(title);
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    details_->setReadOnly(true);
    details_->setLineWrapMode(QPlainTextEdit::NoWrap);
    details_->setPlainText(details.join(u'\n'));
    details_->setVisible(!details.isEmpty());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(details_, 1);
    layout->addWidget(buttons);
    resize(details.isEmpty() ? 420 : 640, details.isEmpty() ? 120 : 360);
}

QString ExchangeReportDialog::summary() const
{
    return summary_->text();
}

QStringList ExchangeReportDialog::details() const
{
    const QString text = details_->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(u'\n');
}

DictionaryExchangeCommands::DictionaryExchangeCommands(DictionaryWindow& window, const model::Workspace& workspace)
    : QObject(&window)
    , window_(window)
    , workspace_(workspace)
{
    export_ = makeAction(this, "ExportTable", QStringLiteral("&Export..."));
    import_ = makeAction(this, "ImportTable", QStringLiteral("&Import..."));
    export_->setToolTip(QStringLiteral("Write the table as a TMX, PO or XLIFF file"));
    import_->setToolTip(QStringLiteral("Merge the translations of a TMX, PO or XLIFF file into the table"));
    connect(export_, &QAction::triggered, this, [this] { exportTable(); });
    connect(import_, &QAction::triggered, this, [this] { importFile(); });
    QMenu* menu = window_.menuBar()->addMenu(QStringLiteral("&Table"));
    menu->setObjectName(QStringLiteral("TableMenu"));
    menu->addAction(export_);
    menu->addAction(import_);
    connect(menu, &QMenu::aboutToShow, this, [this] {
        const bool open = !window_.tableName().isEmpty();
        export_->setEnabled(open);
        import_->setEnabled(open);
    });
}

bool DictionaryExchangeCommands::exportTable()
{
    const QString table = window_.tableName();
    if (table.isEmpty()) {
        ui().message(&window_, QStringLiteral("Open a table first."));
        return false;
    }
    if (!window_.post())
        return false;
    const model::Project& project = workspace_.project();
    const std::optional<QString> chosen =
        ui().saveFile(&window_, QStringLiteral("Export table %1").arg(table),
                      QStringLiteral("TMX files|*.tmx|PO files|*.po|XLIFF files|*.xlf"), table + QStringLiteral(".tmx"),
                      project.isOpen() ? project.folder : QString());
    if (!chosen)
        return false;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".tmx");
    const std::optional<model::ExchangeFormat> format = model::exchangeFormatOf(path);
    if (!format) {
        ui().message(&window_, QStringLiteral("%1 was not written: %2.").arg(path, kFormats), BoxKind::Warning);
        return false;
    }

    model::ExportOptions options;
    options.original = table;
    model::ExportResult result;
    QString why;
    {
        WaitCursor wait;
        // The project's own table: its languages, and where its texts stand.
        if (project.isOpen() && project.dictionaryTable.compare(table, Qt::CaseInsensitive) == 0) {
            options.sourceLanguage = model::languageTag(project.sourceLanguage);
            options.targetLanguage = model::languageTag(project.destLanguage);
            std::vector<model::ProjectPage> pages;
            QString ignored;
            if (model::listProjectPages(project, &pages, &ignored))
                options.locations = model::pageLocations(pages, workspace_.settings());
        }
        model::Dictionary dictionary;
        if (!dictionary.open(table, &why) || !model::exportTable(dictionary, path, *format, options, &result, &why)) {
            ui().error(&window_, QStringLiteral("The table %1 was not exported: %2").arg(table, why));
            return false;
        }
    }
    QStringList details;
    for (const QString& left : result.leftOut)
        details << QStringLiteral("Left out: %1").arg(left);
    ExchangeReportDialog report(&window_, QStringLiteral("Export"),
                                QStringLiteral("%1 %2 of the table %3 written to %4.")
                                    .arg(result.units)
                                    .arg(result.units == 1 ? QStringLiteral("unit") : QStringLiteral("units"))
                                    .arg(table, path),
                                details);
    ui().exec(report);
    return true;
}

bool DictionaryExchangeCommands::importFile()
{
    const QString table = window_.tableName();
    if (table.isEmpty()) {
        ui().message(&window_, QStringLiteral("Open a table first."));
        return false;
    }
    if (!window_.post())
        return false;
    const model::Project& project = workspace_.project();
    const std::optional<QString> path = ui().openFile(
        &window_, QStringLiteral("Import into table %1").arg(table),
        QStringLiteral("Exchange files|*.tmx;*.po;*.pot;*.xlf;*.xliff|TMX files|*.tmx|PO files|*.po;*.pot|"
                       "XLIFF files|*.xlf;*.xliff|All files|*.*"),
        QString(), project.isOpen() ? project.folder : QString());
    if (!path)
        return false;
    const std::optional<model::ExchangeFormat> format = model::exchangeFormatOf(*path);
    if (!format) {
        ui().message(&window_, QStringLiteral("%1 was not read: %2.").arg(*path, kFormats), BoxKind::Warning);
        return false;
    }

    model::ImportReport report;
    QString why;
    {
        WaitCursor wait;
        model::Dictionary dictionary;
        if (!dictionary.open(table, &why)
            || !model::importFile(dictionary, *path, *format, {}, {}, &report, &why)) {
            ui().error(&window_, QStringLiteral("Nothing was imported into the table %1: %2").arg(table, why));
            return false;
        }
    }
    // The grid shows what the table holds now.
    window_.openTable(table);

    QStringList details;
    for (const model::MergeResult& r : report.results) {
        if (!r.conflicting())
            continue;
        QStringList stored;
        for (const QString& t : r.before)
            if (!t.isEmpty())
                stored << t;
        details << QStringLiteral("Conflict: \u201C%1\u201D: the file has %2%3; not stored")
                       .arg(r.source, quotedList(r.notStored),
                            stored.isEmpty() ? QString() : QStringLiteral(", the table %1").arg(quotedList(stored)));
    }
    const model::ImportedFile& f = report.file;
    QString summary = QStringLiteral("%1 imported into the table %2: %3 added, %4 updated, %5 conflicting, %6 "
                                     "unchanged.")
                          .arg(QFileInfo(*path).fileName(), table)
                          .arg(report.added)
                          .arg(report.updated)
                          .arg(report.conflicting)
                          .arg(report.unchanged);
    if (f.untranslated || f.fuzzy || f.other)
        summary += QStringLiteral(" Not imported: %1 untranslated, %2 fuzzy, %3 other (obsolete, plural forms, "
                                  "headers).")
                       .arg(f.untranslated)
                       .arg(f.fuzzy)
                       .arg(f.other);
    if (!f.sourceLanguage.isEmpty() || !f.targetLanguage.isEmpty())
        summary += QStringLiteral(" The file's languages: %1 to %2.")
                       .arg(f.sourceLanguage.isEmpty() ? QStringLiteral("not named") : f.sourceLanguage,
                            f.targetLanguage.isEmpty() ? QStringLiteral("not named") : f.targetLanguage);
    ExchangeReportDialog dialog(&window_, QStringLiteral("Import"), summary, details);
    ui().exec(dialog);
    return true;
}

} // namespace lingrove::ui

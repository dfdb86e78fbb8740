#include "ui/project/NewProjectWizard.h"

#include "model/Dictionary.h"
#include "ui/project/CreateTableDialog.h"
#include "ui/project/ProjectFeature.h"
#include "platform/Paths.h"
#include "ui/shell/UserInterface.h"

#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace lingrove::ui {

namespace {

// The picture on the left side of the wizard.
class WizardPicture : public QWidget {
public:
    using QWidget::QWidget;
    QSize sizeHint() const override { return {120, 260}; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient g(0, 0, 0, height());
        g.setColorAt(0, QColor(0, 0, 128));
        g.setColorAt(1, QColor(0, 128, 128));
        p.fillRect(rect(), g);
        p.setPen(QPen(Qt::white, 2));
        // Two overlapping pages: one text, translated into another.
        const QRect a(18, 40, 56, 72), b(44, 76, 56, 72);
        p.setBrush(QColor(255, 255, 255, 60));
        p.drawRect(a);
        p.drawRect(b);
        for (int i = 0; i < 5; ++i) {
            p.drawLine(a.left() + 8, a.top() + 12 + i * 11, a.right() - 8, a.top() + 12 + i * 11);
            p.drawLine(b.left() + 8, b.top() + 12 + i * 11, b.right() - 14, b.top() + 12 + i * 11);
        }
        QFont f = font();
        f.setBold(true);
        f.setPixelSize(15);
        p.setFont(f);
        p.drawText(QRect(0, height() - 60, width(), 30), Qt::AlignCenter, "Lingrove");
    }
};

} // namespace

NewProjectWizard::NewProjectWizard(ProjectFeature& project, QWidget* parent)
    : QDialog(parent)
    , project_(project)
{
    setObjectName("Newpro");
    setWindowTitle("New project");
    setModal(true);

    auto* outer = new QHBoxLayout(this);
    outer->addWidget(new WizardPicture(this));
    auto* right = new QVBoxLayout;
    outer->addLayout(right, 1);
    auto* form = new QFormLayout;
    right->addLayout(form);

    nameField = new QLineEdit(this);
    nameField->setObjectName("nameField");
    form->addRow("Project name", nameField);

    auto pathRow = [this](QLineEdit*& edit, QToolButton*& button, const char* name) {
        auto* row = new QHBoxLayout;
        edit = new QLineEdit(this);
        edit->setObjectName(name);
        button = new QToolButton(this);
        button->setText("...");
        row->addWidget(edit, 1);
        row->addWidget(button);
        return row;
    };
    form->addRow("Choose folder to save project", pathRow(folderField, folderButton, "folderField"));
    form->addRow("Select project file", pathRow(projectSourceField, projectSourceButton, "projectSourceField"));
    sourceLanguageField = new QLineEdit(this);
    sourceLanguageField->setObjectName("sourceLanguageField");
    form->addRow("Source language", sourceLanguageField);
    destLanguageField = new QLineEdit(this);
    destLanguageField->setObjectName("destLanguageField");
    form->addRow("Destination language", destLanguageField);
    auto* tableRow = new QHBoxLayout;
    tableCombo = new QComboBox(this);
    tableCombo->setObjectName("tableCombo");
    tableCombo->setEditable(true);
    tableCombo->setInsertPolicy(QComboBox::NoInsert);
    tableCombo->setMinimumContentsLength(24);
    createTableButton = new QPushButton("Create new table", this);
    createTableButton->setObjectName("createTableButton");
    tableRow->addWidget(tableCombo, 1);
    tableRow->addWidget(createTableButton);
    form->addRow("Use dictionary table", tableRow);

    right->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    createButton = new QPushButton("C&reate", this);
    createButton->setObjectName("createButton");
    createButton->setDefault(true);
    cancelButton = new QPushButton("&Cancel", this);
    cancelButton->setObjectName("cancelButton");
    buttons->addWidget(createButton);
    buttons->addWidget(cancelButton);
    right->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(560, 300)));

    connect(folderButton, &QToolButton::clicked, this, [this] {
        if (auto folder = ui().chooseFolder(this, "Choose folder to save project", folderField->text()))
            folderField->setText(*folder);
    });
    connect(projectSourceButton, &QToolButton::clicked, this, [this] {
        if (auto file = ui().openFile(this, "Select project file", "Delphi project files *.dpr|*.dpr",
                                                projectSourceField->text()))
            projectSourceField->setText(*file);
    });
    connect(createTableButton, &QPushButton::clicked, this, [this] { createTable(); });
    connect(createButton, &QPushButton::clicked, this, [this] { create(); });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

model::NewProjectFields NewProjectWizard::fields() const
{
    return {nameField->text(), folderField->text(), projectSourceField->text(),
            sourceLanguageField->text(), destLanguageField->text(), tableCombo->currentText()};
}

void NewProjectWizard::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    fillTables();
}

void NewProjectWizard::fillTables()
{
    tableCombo->clear();
    tableCombo->addItems(model::listTables());
    if (tableCombo->count() > 0)
        tableCombo->setCurrentIndex(0);
    showTableNameFromItsStart();
}

void NewProjectWizard::showTableNameFromItsStart()
{
    // An edit field scrolled to the end of a long name hides its start.
    if (QLineEdit* edit = tableCombo->lineEdit())
        edit->home(false);
}

CreateTableDialog& NewProjectWizard::createTableDialog()
{
    if (!createTableDialog_)
        createTableDialog_ = new CreateTableDialog(this);
    return *createTableDialog_;
}

void NewProjectWizard::createTable()
{
    CreateTableDialog& dialog = createTableDialog();
    dialog.setProposedName(sourceLanguageField->text() + QLatin1Char('_') + destLanguageField->text());
    ui().exec(dialog);
    const QString name = dialog.createdName();
    if (name.isEmpty())
        return;
    fillTables();
    const int at = tableCombo->findText(name);
    if (at >= 0)
        tableCombo->setCurrentIndex(at);
    else
        tableCombo->setCurrentText(name);
    showTableNameFromItsStart();
}

bool NewProjectWizard::create()
{
    struct Check {
        QLineEdit* field;
        const char* message;
    };
    const Check checks[] = {
        {nameField, "Project name is missing"},
        {folderField, "Project directory not defined"},
        {projectSourceField, "Delphi file is unknown"},
        {sourceLanguageField, "Source language not defined"},
        {destLanguageField, "Destination language not defined"},
    };
    for (const Check& c : checks) {
        if (c.field->text().isEmpty()) {
            ui().message(this, c.message);
            c.field->setFocus();
            return false;
        }
    }

    const model::NewProjectFields f = fields();
    // The folder chooser offers to create a folder that does not exist yet.
    const QString folder = platform::toNative(f.folder);
    if (!QDir(folder).exists()) {
        if (!ui().question(this, QString("The folder %1 does not exist.\r\nDo you want to create it?").arg(f.folder)))
            return false;
        if (!QDir().mkpath(folder)) {
            ui().message(this, QString("Cannot create the folder %1").arg(f.folder), BoxKind::Error);
            return false;
        }
    }

    try {
        model::writeNewProjectFile(f);
    } catch (const std::exception& e) {
        ui().error(this, QString::fromUtf8(e.what()));
        return false;
    }
    if (!project_.startNewProject(f))
        return false;
    accept();
    return true;
}

} // namespace lingrove::ui

#include "app/NewProjectWizard.h"

#include "app/MainWindow.h"
#include "platform/Paths.h"
#include "platform/UserInterface.h"

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

namespace lingrove::app {

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

NewProjectWizard::NewProjectWizard(MainWindow* main)
    : QDialog(main)
    , main_(main)
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

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName("Edit1");
    form->addRow("Project name", Edit1);

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
    form->addRow("Choose folder to save project", pathRow(DirectoryEdit1, DirectoryButton, "DirectoryEdit1"));
    form->addRow("Select project file", pathRow(FilenameEdit1, FilenameButton, "FilenameEdit1"));
    Edit3 = new QLineEdit(this);
    Edit3->setObjectName("Edit3");
    form->addRow("Source language", Edit3);
    Edit4 = new QLineEdit(this);
    Edit4->setObjectName("Edit4");
    form->addRow("Destination language", Edit4);
    auto* tableRow = new QHBoxLayout;
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    SpeedButton1 = new QPushButton("Create new table", this);
    SpeedButton1->setObjectName("SpeedButton1");
    tableRow->addWidget(ComboBox1, 1);
    tableRow->addWidget(SpeedButton1);
    form->addRow("Use dictionary table", tableRow);

    right->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    BitBtn1 = new QPushButton("C&reate", this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton("&Cancel", this);
    BitBtn2->setObjectName("BitBtn2");
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    right->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(560, 300)));

    connect(DirectoryButton, &QToolButton::clicked, this, [this] {
        if (auto folder = platform::ui().chooseFolder(this, "Choose folder to save project", DirectoryEdit1->text()))
            DirectoryEdit1->setText(*folder);
    });
    connect(FilenameButton, &QToolButton::clicked, this, [this] {
        if (auto file = platform::ui().openFile(this, "Select project file", "Delphi project files *.dpr|*.dpr",
                                                FilenameEdit1->text()))
            FilenameEdit1->setText(*file);
    });
    connect(SpeedButton1, &QPushButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { CreateProject(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

NewProjectFields NewProjectWizard::fields() const
{
    return {Edit1->text(), DirectoryEdit1->text(), FilenameEdit1->text(),
            Edit3->text(), Edit4->text(), ComboBox1->currentText()};
}

void NewProjectWizard::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Tabellen();
}

void NewProjectWizard::Tabellen()
{
    ComboBox1->clear();
    if (listTables)
        ComboBox1->addItems(listTables());
    if (ComboBox1->count() > 0)
        ComboBox1->setCurrentIndex(0);
}

void NewProjectWizard::SpeedButton1Click()
{
    if (createTable)
        createTable(*this);
}

bool NewProjectWizard::CreateProject()
{
    struct Check {
        QLineEdit* field;
        const char* message;
    };
    const Check checks[] = {
        {Edit1, "Project name is missing"},
        {DirectoryEdit1, "Project directory not defined"},
        {FilenameEdit1, "Delphi file is unknown"},
        {Edit3, "Source language not defined"},
        {Edit4, "Destination language not defined"},
    };
    for (const Check& c : checks) {
        if (c.field->text().isEmpty()) {
            platform::ui().message(this, c.message);
            c.field->setFocus();
            return false;
        }
    }

    const NewProjectFields f = fields();
    // The folder chooser offers to create a folder that does not exist yet.
    const QString folder = platform::toNative(f.folder);
    if (!QDir(folder).exists()) {
        if (!platform::ui().question(this, QString("The folder %1 does not exist.\r\nDo you want to create it?").arg(f.folder)))
            return false;
        if (!QDir().mkpath(folder)) {
            platform::ui().message(this, QString("Cannot create the folder %1").arg(f.folder), platform::BoxKind::Error);
            return false;
        }
    }

    try {
        writeNewProjectFile(f);
    } catch (const std::exception& e) {
        main_->showError(QString::fromUtf8(e.what()));
        return false;
    }
    if (!main_->startNewProject())
        return false;
    accept();
    return true;
}

} // namespace lingrove::app

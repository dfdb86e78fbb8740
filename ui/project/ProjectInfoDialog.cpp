#include "ui/project/ProjectInfoDialog.h"

#include "platform/IniFile.h"
#include "ui/project/ScriptViewer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace lingrove::ui {

ProjectInfoDialog::ProjectInfoDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("PInform");
    setWindowTitle("Project Info");
    setModal(true);
    setFixedSize(427, 241);

    auto* v = new QVBoxLayout(this);
    tabs = new QTabWidget(this);
    auto* general = new QWidget;
    auto* g = new QVBoxLayout(general);
    for (QLabel** l : {&nameLabel, &folderLabel, &sourceLanguageLabel, &destLanguageLabel, &tableLabel}) {
        *l = new QLabel(general);
        (*l)->setTextInteractionFlags(Qt::TextSelectableByMouse);
        g->addWidget(*l);
    }
    g->addStretch(1);
    auto* resource = new QWidget;
    auto* r = new QVBoxLayout(resource);
    resourceLabel = new QLabel(resource);
    resourceLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    r->addWidget(resourceLabel);
    viewScriptButton = new QPushButton("&View  RC File", resource);
    r->addWidget(viewScriptButton, 0, Qt::AlignLeft);
    r->addStretch(1);
    tabs->addTab(general, "General");
    tabs->addTab(resource, "Version resource");
    // At the first showing the resource tab is in front.
    tabs->setCurrentIndex(1);
    v->addWidget(tabs, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    closeButton = new QPushButton("&Close", this);
    buttons->addWidget(closeButton);
    v->addLayout(buttons);

    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(viewScriptButton, &QPushButton::clicked, this, [this] { viewScriptClicked(); });
}

void ProjectInfoDialog::setProjectFile(const QString& path)
{
    projectFile_ = path;
}

void ProjectInfoDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    fill();
}

void ProjectInfoDialog::fill()
{
    // What is shown is the file on disk: the state of the last save.
    const platform::IniFile ini(projectFile_);
    auto line = [&](QLabel* label, const QString& prefix, const QString& key) {
        label->setText(prefix + ini.readString("General", key, "Unknown"));
    };
    line(nameLabel, "Projectname: ", "Projectname");
    line(folderLabel, "Projectfolder: ", "Projectfolder");
    line(sourceLanguageLabel, "Source Language: ", "Source");
    line(destLanguageLabel, "Destination language: ", "Destination");
    line(tableLabel, "Used database: ", "Database");
    if (ini.readInteger("Resource", "Position", -1) != -1) {
        scriptName_ = ini.readString("Resource", "Fullresname");
        resourceLabel->setText("Resourcen name: " + scriptName_);
        viewScriptButton->setEnabled(true);
    } else {
        scriptName_.clear();
        resourceLabel->setText("Versionnifo resource file not included");
        viewScriptButton->setEnabled(false);
    }
}

void ProjectInfoDialog::viewScriptClicked()
{
    viewResourceScript(this, scriptName_);
}

} // namespace lingrove::ui

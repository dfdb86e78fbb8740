#include "app/ProjectInfoDialog.h"

#include "app/AppState.h"
#include "platform/IniFile.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace lingrove::app {

ProjectInfoDialog::ProjectInfoDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("PInform");
    setWindowTitle("Project Info");
    setModal(true);
    setFixedSize(427, 241);

    auto* v = new QVBoxLayout(this);
    PageControl1 = new QTabWidget(this);
    auto* general = new QWidget;
    auto* g = new QVBoxLayout(general);
    for (QLabel** l : {&Label1, &Label2, &Label3, &Label4, &Label5}) {
        *l = new QLabel(general);
        (*l)->setTextInteractionFlags(Qt::TextSelectableByMouse);
        g->addWidget(*l);
    }
    g->addStretch(1);
    auto* resource = new QWidget;
    auto* r = new QVBoxLayout(resource);
    Label6 = new QLabel(resource);
    Label6->setTextInteractionFlags(Qt::TextSelectableByMouse);
    r->addWidget(Label6);
    BitBtn2 = new QPushButton("&View  RC File", resource);
    r->addWidget(BitBtn2, 0, Qt::AlignLeft);
    r->addStretch(1);
    PageControl1->addTab(general, "General");
    PageControl1->addTab(resource, "Version resource");
    // At the first showing the resource tab is in front.
    PageControl1->setCurrentIndex(1);
    v->addWidget(PageControl1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    BitBtn1 = new QPushButton("&Close", this);
    buttons->addWidget(BitBtn1);
    v->addLayout(buttons);

    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
}

void ProjectInfoDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void ProjectInfoDialog::FormShow()
{
    // What is shown is the file on disk: the state of the last save.
    const platform::IniFile ini(state().project.projectFilePath());
    auto line = [&](QLabel* label, const QString& prefix, const QString& key) {
        label->setText(prefix + ini.readString("General", key, "Unknown"));
    };
    line(Label1, "Projectname: ", "Projectname");
    line(Label2, "Projectfolder: ", "Projectfolder");
    line(Label3, "Source Language: ", "Source");
    line(Label4, "Destination language: ", "Destination");
    line(Label5, "Used database: ", "Database");
    if (ini.readInteger("Resource", "Position", -1) != -1) {
        scriptName_ = ini.readString("Resource", "Fullresname");
        Label6->setText("Resourcen name: " + scriptName_);
        BitBtn2->setEnabled(true);
    } else {
        scriptName_.clear();
        Label6->setText("Versionnifo resource file not included");
        BitBtn2->setEnabled(false);
    }
}

void ProjectInfoDialog::BitBtn2Click()
{
    if (viewScript)
        viewScript(scriptName_);
}

} // namespace lingrove::app

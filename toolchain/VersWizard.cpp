#include "toolchain/VersWizard.h"

#include "app/AppState.h"
#include "platform/FileUtil.h"
#include "platform/Paths.h"
#include "platform/UserInterface.h"
#include "toolchain/BuildCommands.h"
#include "toolchain/Codepage.h"
#include "toolchain/VerPrev.h"
#include "toolchain/Zeichentab.h"
#include "core/text/Windows1252.h"
#include "core/rcscript/Tables.h"
#include "core/rcscript/VersionScript.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QFormLayout>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace lingrove::toolchain {

using platform::ui;

namespace {

// The picture on the left: a blue band with the wizard's subject.
class PicturePanel : public QWidget {
public:
    explicit PicturePanel(QWidget* parent) : QWidget(parent) { setFixedWidth(150); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        QLinearGradient g(0, 0, 0, height());
        g.setColorAt(0, QColor(0, 0, 128));
        g.setColorAt(1, QColor(0, 128, 192));
        p.fillRect(rect(), g);
        p.setPen(Qt::white);
        QFont f = font();
        f.setPixelSize(22);
        f.setBold(true);
        p.setFont(f);
        p.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignHCenter | Qt::AlignBottom | Qt::TextWordWrap,
                   QStringLiteral("Version\ninfo"));
        p.setPen(QPen(Qt::white, 3));
        const int x = width() / 2;
        p.drawRect(x - 30, 40, 60, 76);
        for (int y = 56; y < 110; y += 12)
            p.drawLine(x - 20, y, x + 20, y);
    }
};

QLineEdit* edit(const QString& name, const QString& text, QWidget* parent)
{
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(name);
    return e;
}

} // namespace

QString upperCaseName(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const int b = text::toWindows1252(c.unicode());
        if (b >= 0)
            out += decodeCp1252(rcscript::upperResourceName(std::string(1, static_cast<char>(b))));
        else
            out += c.toUpper();
    }
    return out;
}

TVers::TVers(BuildCommands& commands, QWidget* parent) : QDialog(parent), commands_(commands)
{
    setObjectName("Vers");
    setWindowTitle("Versioninfo");
    resize(702, 366);

    auto* outer = new QVBoxLayout(this);
    auto* body = new QHBoxLayout;
    outer->addLayout(body, 1);
    body->addWidget(new PicturePanel(this));
    Pages = new QStackedWidget(this);
    body->addWidget(Pages, 1);

    // Page 1: numbers, language, code page.
    auto* page1 = new QWidget(Pages);
    auto* l1 = new QVBoxLayout(page1);
    l1->addWidget(new QLabel("Put a general information into your project", page1));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("FILEVERSION", page1), 0, 0);
    grid->addWidget(new QLabel("PRODUCTVERSION", page1), 1, 0);
    for (int i = 0; i < 4; ++i) {
        FILEVERSION[size_t(i)] = edit(QStringLiteral("FILEVERSION%1").arg(i + 1), "0", page1);
        PRODUCTVERSION[size_t(i)] = edit(QStringLiteral("PRODUCTVERSION%1").arg(i + 1), "0", page1);
        grid->addWidget(FILEVERSION[size_t(i)], 0, i + 1);
        grid->addWidget(PRODUCTVERSION[size_t(i)], 1, i + 1);
    }
    l1->addLayout(grid);
    auto* choose = new QFormLayout;
    ChooseLang = new QComboBox(page1);
    ChooseLang->setObjectName("ChooseLang");
    ChooseCharset = new QComboBox(page1);
    ChooseCharset->setObjectName("ChooseCharset");
    choose->addRow("Lang-Id", ChooseLang);
    choose->addRow("Charset-Id", ChooseCharset);
    l1->addLayout(choose);
    l1->addStretch();
    Pages->addWidget(page1);

    // Page 2: the ten strings.
    auto* page2 = new QWidget(Pages);
    auto* l2 = new QVBoxLayout(page2);
    l2->addWidget(new QLabel("Put a string information into your project. You can test a view with\n"
                             "left-clicking of button \"Show preview\"",
                             page2));
    auto* form = new QGridLayout;
    const std::pair<QLineEdit**, const char*> strings[] = {
        {&Comments, "Comments"},         {&CompanyName, "CompanyName"},
        {&FileDescription, "FileDescription"}, {&FileVersion, "FileVersion"},
        {&InternalName, "InternalName"}, {&LegalCopyright, "LegalCopyright"},
        {&LegalTradeMark, "LegalTradeMark"}, {&OriginalFileName, "OriginalFileName"},
        {&PrivateBuild, "PrivateBuild"}, {&ProductVersion, "ProductVersion"},
    };
    int row = 0;
    for (const auto& [field, name] : strings) {
        *field = edit(name, name, page2);
        form->addWidget(new QLabel(name, page2), row % 5, (row / 5) * 2);
        form->addWidget(*field, row % 5, (row / 5) * 2 + 1);
        ++row;
    }
    l2->addLayout(form);
    auto* signRow = new QHBoxLayout;
    AddSign = new QPushButton("Add a sign", page2);
    ShowPreview = new QPushButton("Show preview", page2);
    // Pressing them must leave the focus on the edit field they work on.
    AddSign->setFocusPolicy(Qt::NoFocus);
    ShowPreview->setFocusPolicy(Qt::NoFocus);
    signRow->addWidget(AddSign);
    signRow->addWidget(ShowPreview);
    signRow->addStretch();
    l2->addLayout(signRow);
    l2->addStretch();
    Pages->addWidget(page2);

    SignMenu = new QMenu(this);
    for (const char16_t sign : {u'\u00A9', u'\u00AE', u'\u00A3', u'\u00A5', u'\u00D8'}) {
        const QString text(QChar{sign});
        SignMenu->addAction(text, this, [this, text] { appendToFocusedEdit(text); });
    }
    SignMenu->addSeparator();
    SignMenu->addAction("other...", this, &TVers::OtherSignClick);

    // Page 3: name and what to do.
    auto* page3 = new QWidget(Pages);
    auto* l3 = new QVBoxLayout(page3);
    l3->addWidget(new QLabel("Now you can add the version ressourse into project und re-compile them.\n"
                             "If you want to do it manual, deselect  the check boxes.",
                             page3));
    l3->addWidget(new QLabel("Name for  RES-File ( without extension )", page3));
    ResName = edit("ResName", "VERSION", page3);
    l3->addWidget(ResName);
    AddDirective = new QCheckBox("Add the compiler directive into project", page3);
    AddDirective->setChecked(true);
    Recompile = new QCheckBox("Re-compile the current project", page3);
    Recompile->setChecked(true);
    l3->addWidget(AddDirective);
    l3->addWidget(Recompile);
    l3->addStretch();
    Pages->addWidget(page3);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    PriorButton = new QPushButton("< Prior", this);
    NextButton = new QPushButton("Next >", this);
    CancelButton = new QPushButton("&Cancel", this);
    CreateButton = new QPushButton("C&reate", this);
    for (auto* b : {PriorButton, NextButton, CancelButton, CreateButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    outer->addLayout(buttons);

    connect(PriorButton, &QPushButton::clicked, this, &TVers::PriorClick);
    connect(NextButton, &QPushButton::clicked, this, &TVers::NextClick);
    connect(CancelButton, &QPushButton::clicked, this, &TVers::CancelClick);
    connect(CreateButton, &QPushButton::clicked, this, &TVers::CreateClick);
    connect(AddSign, &QPushButton::clicked, this, &TVers::AddSignClick);
    connect(ShowPreview, &QPushButton::clicked, this, &TVers::ShowPreviewClick);
    connect(ResName, &QLineEdit::textChanged, this, [this](const QString& text) {
        const QString upper = upperCaseName(text);
        if (upper != text) {
            const int cursor = ResName->cursorPosition();
            ResName->setText(upper);
            ResName->setCursorPosition(cursor);
        }
    });

    loadlangList();
    LoadCharsetList();
    goToPage(0);
}

TVers::~TVers() { delete zeichentab_; }

void TVers::loadlangList()
{
    for (const auto& e : rcscript::LanguageTable)
        ChooseLang->addItem(decodeCp1252(std::string(e.Name)));
    ChooseLang->setCurrentIndex(-1);
}

void TVers::LoadCharsetList()
{
    for (const auto& e : rcscript::CharsetTable)
        ChooseCharset->addItem(decodeCp1252(std::string(e.Name)));
    ChooseCharset->setCurrentIndex(-1);
}

TVerPrev& TVers::VerPrev()
{
    if (!verPrev_)
        verPrev_ = new TVerPrev(this);
    return *verPrev_;
}

TZeichentab& TVers::Zeichentab()
{
    if (!zeichentab_) {
        // A window of its own that stays beside the modal wizard.
        zeichentab_ = new TZeichentab(nullptr);
        zeichentab_->onAppend = [this](const QString& text) { appendToFocusedEdit(text); };
    }
    return *zeichentab_;
}

void TVers::goToPage(int index)
{
    Pages->setCurrentIndex(std::clamp(index, 0, Pages->count() - 1));
    updateButtons();
}

void TVers::updateButtons()
{
    const int page = Pages->currentIndex();
    PriorButton->setEnabled(page > 0);
    NextButton->setEnabled(page < Pages->count() - 1);
    CreateButton->setEnabled(page == Pages->count() - 1);
}

void TVers::PriorClick() { goToPage(Pages->currentIndex() - 1); }
void TVers::NextClick() { goToPage(Pages->currentIndex() + 1); }

void TVers::closeCharacterTable()
{
    if (zeichentab_)
        zeichentab_->close();
}

void TVers::CancelClick()
{
    closeCharacterTable();
    reject();
}

void TVers::appendToFocusedEdit(const QString& text)
{
    if (auto* e = qobject_cast<QLineEdit*>(focusWidget()))
        e->setText(e->text() + text);
}

void TVers::AddSignClick() { SignMenu->popup(QCursor::pos()); }

void TVers::OtherSignClick()
{
    TZeichentab& table = Zeichentab();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        table.move(screen->availableGeometry().topLeft());
    table.show();
    table.raise();
}

rcscript::VersionInfoFields TVers::fields() const
{
    rcscript::VersionInfoFields f;
    for (size_t i = 0; i < 4; ++i) {
        f.FILEVERSION[i] = toCp1252String(FILEVERSION[i]->text());
        f.PRODUCTVERSION[i] = toCp1252String(PRODUCTVERSION[i]->text());
    }
    f.ChooseLang = ChooseLang->currentIndex();
    f.ChooseCharset = ChooseCharset->currentIndex();
    f.Comments = toCp1252String(Comments->text());
    f.CompanyName = toCp1252String(CompanyName->text());
    f.FileDescription = toCp1252String(FileDescription->text());
    f.FileVersion = toCp1252String(FileVersion->text());
    f.InternalName = toCp1252String(InternalName->text());
    f.LegalCopyright = toCp1252String(LegalCopyright->text());
    f.LegalTradeMark = toCp1252String(LegalTradeMark->text());
    f.OriginalFileName = toCp1252String(OriginalFileName->text());
    f.PrivateBuild = toCp1252String(PrivateBuild->text());
    f.ProductVersion = toCp1252String(ProductVersion->text());
    return f;
}

QStringList TVers::previewStrings() const
{
    return {FileVersion->text(),  FileDescription->text(), LegalCopyright->text(), PrivateBuild->text(),
            CompanyName->text(),  InternalName->text(),    Comments->text(),       LegalTradeMark->text(),
            OriginalFileName->text(), ProductVersion->text(),
            ChooseLang->currentIndex() >= 0 ? ChooseLang->currentText() : QString()};
}

void TVers::ShowPreviewClick()
{
    TVerPrev& preview = VerPrev();
    preview.setStrings(previewStrings());
    ui().exec(preview);
}

void TVers::CreateClick()
{
    closeCharacterTable();
    const rcscript::VersionInfoFields f = fields();
    if (f.ChooseLang < 0 || f.ChooseCharset < 0) {
        ui().message(this,
                     QStringLiteral("Please choose a language (Lang-Id) and a character set (Charset-Id) "
                                    "on the first page before creating the resource."),
                     platform::BoxKind::Warning);
        goToPage(0);
        return;
    }
    const QString dpr = commands_.delphiProjectFile();
    if (dpr.isEmpty()) {
        ui().message(this, QStringLiteral("No project is open: there is no folder for the resource script."),
                     platform::BoxKind::Warning);
        return;
    }

    const QString name = ResName->text();
    const QString scriptName = name + QStringLiteral(".rc");
    const QString scriptPath = platform::joinPath(platform::folderOf(platform::toNative(dpr)), scriptName);
    {
        const std::string text = rcscript::scriptText(rcscript::CreateRC(f));
        QString why;
        if (!platform::writeFileAtomically(scriptPath, QByteArray::fromStdString(text), &why)) {
            ui().error(this, QStringLiteral("Cannot create file \"%1\". %2").arg(scriptPath, why));
            reject();
            return;
        }
    }
    auto& project = app::state().project;
    project.ResName = scriptName;
    project.FullResName = scriptPath;

    commands_.CompileRC();

    bool go = true;
    if (AddDirective->isChecked()) {
        const QString res = QString::fromStdString(rcscript::compiledFileName(toCp1252String(scriptName)));
        // A project source that cannot be written stops here; one without a
        // BEGIN line gets no directive (the user has been told) and goes on.
        go = commands_.AddResDatei(res, commands_.RemoveOldResource) != AddOutcome::WriteFailed;
    }
    if (go && Recompile->isChecked())
        commands_.Compile();
    accept();
}

} // namespace lingrove::toolchain

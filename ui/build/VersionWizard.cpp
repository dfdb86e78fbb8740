#include "ui/build/VersionWizard.h"

#include "model/TextCodec.h"
#include "ui/build/BuildFeature.h"
#include "ui/build/CharacterTable.h"
#include "ui/build/VersionPreview.h"
#include "ui/shell/UserInterface.h"
#include "core/text/Encoding.h"
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

namespace lingrove::ui {


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
            out += model::fromWindows1252(rcscript::upperResourceName(std::string(1, static_cast<char>(b))));
        else
            out += c.toUpper();
    }
    return out;
}

VersionWizard::VersionWizard(BuildFeature& build, QWidget* parent) : QDialog(parent), build_(build)
{
    setObjectName("Vers");
    setWindowTitle("Versioninfo");
    resize(702, 366);

    auto* outer = new QVBoxLayout(this);
    auto* body = new QHBoxLayout;
    outer->addLayout(body, 1);
    body->addWidget(new PicturePanel(this));
    pages = new QStackedWidget(this);
    body->addWidget(pages, 1);

    // Page 1: numbers, language, code page.
    auto* page1 = new QWidget(pages);
    auto* l1 = new QVBoxLayout(page1);
    l1->addWidget(new QLabel("Put a general information into your project", page1));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("fileVersionNumbers", page1), 0, 0);
    grid->addWidget(new QLabel("productVersionNumbers", page1), 1, 0);
    for (int i = 0; i < 4; ++i) {
        fileVersionNumbers[size_t(i)] = edit(QStringLiteral("fileVersionNumbers%1").arg(i + 1), "0", page1);
        productVersionNumbers[size_t(i)] = edit(QStringLiteral("productVersionNumbers%1").arg(i + 1), "0", page1);
        grid->addWidget(fileVersionNumbers[size_t(i)], 0, i + 1);
        grid->addWidget(productVersionNumbers[size_t(i)], 1, i + 1);
    }
    l1->addLayout(grid);
    auto* choose = new QFormLayout;
    language = new QComboBox(page1);
    language->setObjectName("language");
    charset = new QComboBox(page1);
    charset->setObjectName("charset");
    choose->addRow("Lang-Id", language);
    choose->addRow("Charset-Id", charset);
    l1->addLayout(choose);
    l1->addStretch();
    pages->addWidget(page1);

    // Page 2: the ten strings.
    auto* page2 = new QWidget(pages);
    auto* l2 = new QVBoxLayout(page2);
    l2->addWidget(new QLabel("Put a string information into your project. You can test a view with\n"
                             "left-clicking of button \"Show preview\"",
                             page2));
    auto* form = new QGridLayout;
    const std::pair<QLineEdit**, const char*> strings[] = {
        {&comments, "Comments"},         {&companyName, "CompanyName"},
        {&fileDescription, "FileDescription"}, {&fileVersion, "FileVersion"},
        {&internalName, "InternalName"}, {&legalCopyright, "LegalCopyright"},
        {&legalTrademark, "LegalTradeMark"}, {&originalFileName, "OriginalFileName"},
        {&privateBuild, "PrivateBuild"}, {&productVersion, "ProductVersion"},
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
    addSignButton = new QPushButton("Add a sign", page2);
    previewButton = new QPushButton("Show preview", page2);
    // Pressing them must leave the focus on the edit field they work on.
    addSignButton->setFocusPolicy(Qt::NoFocus);
    previewButton->setFocusPolicy(Qt::NoFocus);
    signRow->addWidget(addSignButton);
    signRow->addWidget(previewButton);
    signRow->addStretch();
    l2->addLayout(signRow);
    l2->addStretch();
    pages->addWidget(page2);

    signMenu = new QMenu(this);
    for (const char16_t sign : {u'\u00A9', u'\u00AE', u'\u00A3', u'\u00A5', u'\u00D8'}) {
        const QString text(QChar{sign});
        signMenu->addAction(text, this, [this, text] { appendToFocusedEdit(text); });
    }
    signMenu->addSeparator();
    signMenu->addAction("other...", this, &VersionWizard::showCharacterTable);

    // Page 3: name and what to do.
    auto* page3 = new QWidget(pages);
    auto* l3 = new QVBoxLayout(page3);
    l3->addWidget(new QLabel("Now you can add the version ressourse into project und re-compile them.\n"
                             "If you want to do it manual, deselect  the check boxes.",
                             page3));
    l3->addWidget(new QLabel("Name for  RES-File ( without extension )", page3));
    resourceName = edit("resourceName", "VERSION", page3);
    l3->addWidget(resourceName);
    addDirective = new QCheckBox("Add the compiler directive into project", page3);
    addDirective->setChecked(true);
    recompile = new QCheckBox("Re-compile the current project", page3);
    recompile->setChecked(true);
    l3->addWidget(addDirective);
    l3->addWidget(recompile);
    l3->addStretch();
    pages->addWidget(page3);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    priorButton = new QPushButton("< Prior", this);
    nextButton = new QPushButton("Next >", this);
    cancelButton = new QPushButton("&Cancel", this);
    createButton = new QPushButton("C&reate", this);
    for (auto* b : {priorButton, nextButton, cancelButton, createButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    outer->addLayout(buttons);

    connect(priorButton, &QPushButton::clicked, this, &VersionWizard::showPrior);
    connect(nextButton, &QPushButton::clicked, this, &VersionWizard::showNext);
    connect(cancelButton, &QPushButton::clicked, this, &VersionWizard::cancel);
    connect(createButton, &QPushButton::clicked, this, &VersionWizard::create);
    connect(addSignButton, &QPushButton::clicked, this, &VersionWizard::showSignMenu);
    connect(previewButton, &QPushButton::clicked, this, &VersionWizard::showPreview);
    connect(resourceName, &QLineEdit::textChanged, this, [this](const QString& text) {
        const QString upper = upperCaseName(text);
        if (upper != text) {
            const int cursor = resourceName->cursorPosition();
            resourceName->setText(upper);
            resourceName->setCursorPosition(cursor);
        }
    });

    fillLanguages();
    fillCharsets();
    goToPage(0);
}

VersionWizard::~VersionWizard() = default;

void VersionWizard::fillLanguages()
{
    for (const auto& e : rcscript::LanguageTable)
        language->addItem(model::fromWindows1252(std::string(e.Name)));
    language->setCurrentIndex(-1);
}

void VersionWizard::fillCharsets()
{
    for (const auto& e : rcscript::CharsetTable)
        charset->addItem(model::fromWindows1252(std::string(e.Name)));
    charset->setCurrentIndex(-1);
}

VersionPreview& VersionWizard::preview()
{
    if (!preview_)
        preview_ = new VersionPreview(this);
    return *preview_;
}

CharacterTable& VersionWizard::characterTable()
{
    if (!characterTable_) {
        // A tool window of the wizard: it stays above it and, being the
        // modal wizard's own, takes clicks while the wizard is open.
        characterTable_ = new CharacterTable(this);
        characterTable_->onAppend = [this](const QString& text) { appendToFocusedEdit(text); };
    }
    return *characterTable_;
}

void VersionWizard::goToPage(int index)
{
    pages->setCurrentIndex(std::clamp(index, 0, pages->count() - 1));
    updateButtons();
}

void VersionWizard::updateButtons()
{
    const int page = pages->currentIndex();
    priorButton->setEnabled(page > 0);
    nextButton->setEnabled(page < pages->count() - 1);
    createButton->setEnabled(page == pages->count() - 1);
}

void VersionWizard::showPrior() { goToPage(pages->currentIndex() - 1); }
void VersionWizard::showNext() { goToPage(pages->currentIndex() + 1); }

void VersionWizard::closeCharacterTable()
{
    if (characterTable_)
        characterTable_->close();
}

void VersionWizard::cancel()
{
    closeCharacterTable();
    reject();
}

void VersionWizard::appendToFocusedEdit(const QString& text)
{
    if (auto* e = qobject_cast<QLineEdit*>(focusWidget()))
        e->setText(e->text() + text);
}

void VersionWizard::showSignMenu() { signMenu->popup(QCursor::pos()); }

void VersionWizard::showCharacterTable()
{
    CharacterTable& table = characterTable();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        table.move(screen->availableGeometry().topLeft());
    table.show();
    table.raise();
}

rcscript::VersionInfoFields VersionWizard::fields() const
{
    rcscript::VersionInfoFields f;
    for (size_t i = 0; i < 4; ++i) {
        f.fileVersionNumbers[i] = model::toWindows1252(fileVersionNumbers[i]->text()).toStdString();
        f.productVersionNumbers[i] = model::toWindows1252(productVersionNumbers[i]->text()).toStdString();
    }
    f.language = language->currentIndex();
    f.charset = charset->currentIndex();
    f.comments = model::toWindows1252(comments->text()).toStdString();
    f.companyName = model::toWindows1252(companyName->text()).toStdString();
    f.fileDescription = model::toWindows1252(fileDescription->text()).toStdString();
    f.fileVersion = model::toWindows1252(fileVersion->text()).toStdString();
    f.internalName = model::toWindows1252(internalName->text()).toStdString();
    f.legalCopyright = model::toWindows1252(legalCopyright->text()).toStdString();
    f.legalTrademark = model::toWindows1252(legalTrademark->text()).toStdString();
    f.originalFileName = model::toWindows1252(originalFileName->text()).toStdString();
    f.privateBuild = model::toWindows1252(privateBuild->text()).toStdString();
    f.productVersion = model::toWindows1252(productVersion->text()).toStdString();
    return f;
}

QStringList VersionWizard::previewStrings() const
{
    return {fileVersion->text(),  fileDescription->text(), legalCopyright->text(), privateBuild->text(),
            companyName->text(),  internalName->text(),    comments->text(),       legalTrademark->text(),
            originalFileName->text(), productVersion->text(),
            language->currentIndex() >= 0 ? language->currentText() : QString()};
}

void VersionWizard::showPreview()
{
    VersionPreview& window = preview();
    window.setStrings(previewStrings());
    ui().exec(window);
}

void VersionWizard::create()
{
    closeCharacterTable();
    const rcscript::VersionInfoFields f = fields();
    if (f.language < 0 || f.charset < 0) {
        ui().message(this,
                     QStringLiteral("Please choose a language (Lang-Id) and a character set (Charset-Id) "
                                    "on the first page before creating the resource."),
                     BoxKind::Warning);
        goToPage(0);
        return;
    }
    if (build_.versionResource().projectFolderMissing()) {
        ui().message(this, QStringLiteral("No project is open: there is no folder for the resource script."),
                     BoxKind::Warning);
        return;
    }

    const QString name = resourceName->text();
    const QString problem = model::VersionResource::nameProblem(name, build_.projectSource());
    if (!problem.isEmpty()) {
        ui().message(this, problem, BoxKind::Warning);
        return;
    }
    QString why;
    if (!build_.versionResource().writeScript(name, f, &why)) {
        ui().error(this, why);
        reject();
        return;
    }
    // Without a resource file the project gets no directive for it, nor is
    // it compiled; the wizard stays open with the fields as typed.
    if (!build_.compileResourceScript())
        return;

    bool go = true;
    if (addDirective->isChecked()) {
        // A project source that cannot be written stops here; one without a
        // BEGIN line gets no directive (the user has been told) and goes on.
        go = build_.addResourceDirective(build_.versionResource().compiledFileName(), build_.replaceResource())
             != model::VersionResource::Outcome::WriteFailed;
    }
    if (go && recompile->isChecked())
        build_.compile();
    accept();
}

} // namespace lingrove::ui

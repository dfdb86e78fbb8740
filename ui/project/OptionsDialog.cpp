#include "ui/project/OptionsDialog.h"

#include "model/CompilerConfig.h"
#include "model/DelphiInstallation.h"
#include "model/LibraryPath.h"
#include "model/SettingsStore.h"
#include "model/Workspace.h"
#include "platform/KeyStore.h"
#include "platform/Paths.h"
#include "ui/project/LibraryPathEditor.h"
#include "ui/shell/UserInterface.h"
#include "ui/shell/WaitCursor.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>

namespace lingrove::ui {

// ---- Colours ----------------------------------------------------------------

namespace {

struct NamedColor {
    const char* name;
    quint32 number;   // 0x00BBGGRR
};

constexpr std::array<NamedColor, 16> kStandardColors{{
    {"Black", 0x000000},  {"Maroon", 0x000080}, {"Green", 0x008000}, {"Olive", 0x008080},
    {"Navy", 0x800000},   {"Purple", 0x800080}, {"Teal", 0x808000},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},    {"Lime", 0x00FF00},  {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00}, {"White", 0xFFFFFF},
}};

QIcon swatch(const QColor& color)
{
    QPixmap pixmap(16, 12);
    pixmap.fill(color);
    return QIcon(pixmap);
}

} // namespace

ColorComboBox::ColorComboBox(QWidget* parent) : QComboBox(parent)
{
    for (const NamedColor& c : kStandardColors) {
        const QColor color = model::settings_store::colorFromNumber(qint32(c.number));
        addItem(swatch(color), QString::fromLatin1(c.name), color);
    }
}

int ColorComboBox::standardCount()
{
    return int(kStandardColors.size());
}

QColor ColorComboBox::color() const
{
    return currentData().value<QColor>();
}

void ColorComboBox::setColor(const QColor& color)
{
    const QSignalBlocker quiet(this);
    const QColor wanted = color.toRgb();
    for (int i = 0; i < standardCount(); ++i) {
        if (itemData(i).value<QColor>() == wanted) {
            if (count() > standardCount())
                removeItem(standardCount());
            setCurrentIndex(i);
            return;
        }
    }
    const QString name = wanted.name().toUpper();
    if (count() > standardCount()) {
        setItemIcon(standardCount(), swatch(wanted));
        setItemText(standardCount(), name);
        setItemData(standardCount(), wanted);
    } else {
        addItem(swatch(wanted), name, wanted);
    }
    setCurrentIndex(standardCount());
}

// ---- The dialog ---------------------------------------------------------------

namespace {

QToolButton* styleButton(QWidget* parent, const QString& name, const char* caption, int style)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(QString::fromLatin1(caption));
    b->setCheckable(true);
    b->setFixedSize(25, 25);
    // Each button shows the style it stands for.
    QFont f = b->font();
    f.setBold(style == 0);
    f.setItalic(style == 1);
    f.setUnderline(style == 2);
    f.setStrikeOut(style == 3);
    b->setFont(f);
    return b;
}

QPushButton* pushButton(QWidget* parent, const char* name, const char* caption)
{
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QLineEdit* lineEdit(QWidget* parent, const char* name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

model::TextLook lookOf(const ColorComboBox* colors, const std::array<QToolButton*, 4>& styles)
{
    model::TextLook look;
    look.color = colors->color();
    look.bold = styles[0]->isChecked();
    look.italic = styles[1]->isChecked();
    look.underline = styles[2]->isChecked();
    look.strikeOut = styles[3]->isChecked();
    return look;
}

} // namespace

OptionsDialog::OptionsDialog(model::Workspace& workspace, QWidget* parent)
    : QDialog(parent)
    , workspace_(workspace)
{
    setObjectName(QStringLiteral("OptForm"));
    setWindowTitle(QStringLiteral("Option"));
    setFixedSize(532, 343);

    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabs"));
    buildStringsTab();
    buildEditorTab();
    buildToolsTab();
    buildLibraryTab();
    buildDictionaryTab();

    cancelButton = pushButton(this, "cancelButton", "&Cancel");
    okButton = pushButton(this, "okButton", "&OK");
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, [this] { store(); });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancelButton);
    buttons->addWidget(okButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs, 1);
    layout->addLayout(buttons);

    libraryPathEditor = new LibraryPathEditor(libraryPathField, this);
    showSettings(workspace_.settings());
}

void OptionsDialog::buildStringsTab()
{
    stringsTab = new QWidget;
    stringsTab->setObjectName(QStringLiteral("stringsTab"));
    tabs->addTab(stringsTab, QStringLiteral("Strings"));

    auto* box = new QGroupBox(QStringLiteral("Accept as strings follow strings types:"), stringsTab);
    auto* boxes = new QVBoxLayout(box);
    auto check = [&](const char* name, const char* caption) {
        auto* c = new QCheckBox(QString::fromLatin1(caption), box);
        c->setObjectName(QString::fromLatin1(name));
        boxes->addWidget(c);
        return c;
    };
    acceptEmpty = check("acceptEmpty", "Empty string ( such a  '              ' )");
    acceptFonts = check("acceptFonts", "Property Font.Name ( such a  'Times New Roman' )");
    acceptNumbers = check("acceptNumbers", "Numbers  ( such a  '12340' , '125,13' )");
    acceptDateTime = check("acceptDateTime", "Date / Time in current format ( such a  '12:25:30' , '19.04.98' )");
    acceptDirs = check("acceptDirs", "Directories and files ( includes char  '\\' )");
    acceptExtensions = check("acceptExtensions", "File extensions ( such a .exe )");
    acceptSeparator = check("acceptSeparator", "Menu separator");

    auto* layout = new QVBoxLayout(stringsTab);
    layout->addWidget(box);
    layout->addStretch(1);
}

void OptionsDialog::buildEditorTab()
{
    editorTab = new QWidget;
    editorTab->setObjectName(QStringLiteral("editorTab"));
    tabs->addTab(editorTab, QStringLiteral("Editor"));

    auto* schemeBox = new QGroupBox(QStringLiteral("Use highligths"), editorTab);
    delphi2Scheme = new QRadioButton(QStringLiteral("Delphi 2.0"), schemeBox);
    delphi2Scheme->setObjectName(QStringLiteral("delphi2Scheme"));
    delphi3Scheme = new QRadioButton(QStringLiteral("Delphi 3.0"), schemeBox);
    delphi3Scheme->setObjectName(QStringLiteral("delphi3Scheme"));
    auto* radios = new QHBoxLayout(schemeBox);
    radios->addWidget(delphi2Scheme);
    radios->addWidget(delphi3Scheme);
    radios->addStretch(1);

    auto* looksBox = new QGroupBox(QStringLiteral("Text attributes"), editorTab);
    auto* grid = new QGridLayout(looksBox);
    grid->addWidget(new QLabel(QStringLiteral("Color"), looksBox), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Style"), looksBox), 0, 3);

    QFont sampleFont(QStringLiteral("Courier New"));
    sampleFont.setPixelSize(17);
    auto sample = [&](const char* name) {
        QLineEdit* e = lineEdit(looksBox, name);
        e->setText(QStringLiteral("String"));
        e->setReadOnly(true);
        e->setFont(sampleFont);
        e->setFixedWidth(110);
        return e;
    };
    selectedSample = sample("selectedSample");
    changedSample = sample("changedSample");
    selectedColor = new ColorComboBox(looksBox);
    selectedColor->setObjectName(QStringLiteral("selectedColor"));
    changedColor = new ColorComboBox(looksBox);
    changedColor->setObjectName(QStringLiteral("changedColor"));
    static const char* const letters[4] = {"B", "I", "U", "S"};
    for (int i = 0; i < 4; ++i) {
        selectedStyle[std::size_t(i)] = styleButton(looksBox, QStringLiteral("selectedStyle%1").arg(letters[i]), letters[i], i);
        changedStyle[std::size_t(i)] = styleButton(looksBox, QStringLiteral("changedStyle%1").arg(letters[i]), letters[i], i);
    }

    auto row = [&](int r, const char* caption, QLineEdit* e, ColorComboBox* colors,
                   const std::array<QToolButton*, 4>& styles) {
        grid->addWidget(new QLabel(QString::fromLatin1(caption), looksBox), r, 0);
        grid->addWidget(e, r, 1);
        grid->addWidget(colors, r, 2);
        auto* buttons = new QHBoxLayout;
        buttons->setSpacing(2);
        for (QToolButton* b : styles)
            buttons->addWidget(b);
        buttons->addStretch(1);
        grid->addLayout(buttons, r, 3);
        // The sample shows the look as it is being chosen.
        connect(colors, &QComboBox::currentIndexChanged, this, [=, this] { updateSample(e, colors, styles); });
        for (QToolButton* b : styles)
            connect(b, &QToolButton::toggled, this, [=, this] { updateSample(e, colors, styles); });
    };
    row(1, "Selected string", selectedSample, selectedColor, selectedStyle);
    row(2, "Changed string", changedSample, changedColor, changedStyle);

    auto* layout = new QVBoxLayout(editorTab);
    layout->addWidget(schemeBox);
    layout->addWidget(looksBox);
    layout->addStretch(1);
}

void OptionsDialog::buildToolsTab()
{
    toolsTab = new QWidget;
    toolsTab->setObjectName(QStringLiteral("toolsTab"));
    tabs->addTab(toolsTab, QStringLiteral("Executable"));

    auto* layout = new QGridLayout(toolsTab);
    auto tool = [&](int r, const char* caption, const char* editName, const char* buttonName, const char* program) {
        QLineEdit* e = lineEdit(toolsTab, editName);
        QPushButton* b = pushButton(toolsTab, buttonName, "Browse");
        layout->addWidget(new QLabel(QString::fromLatin1(caption), toolsTab), 2 * r, 0, 1, 2);
        layout->addWidget(e, 2 * r + 1, 0);
        layout->addWidget(b, 2 * r + 1, 1);
        connect(b, &QPushButton::clicked, this, [this, e, program] { browse(e, program); });
        return std::pair{e, b};
    };
    std::tie(compilerField, compilerBrowse) =
        tool(0, "Delphi compiler ( dcc32.exe)", "compilerField", "compilerBrowse", "dcc32.exe");
    std::tie(ideField, ideBrowse) = tool(1, "Delphi IDE (delphi32.exe )", "ideField", "ideBrowse", "delphi32.exe");
    std::tie(resourceCompilerField, resourceCompilerBrowse) = tool(
        2, "Borland resource compiler ( brcc32.exe )", "resourceCompilerField", "resourceCompilerBrowse", "brcc32.exe");
    layout->setRowStretch(6, 1);
}

void OptionsDialog::buildLibraryTab()
{
    libraryTab = new QWidget;
    libraryTab->setObjectName(QStringLiteral("libraryTab"));
    tabs->addTab(libraryTab, QStringLiteral("Library"));

    libraryPathField = lineEdit(libraryTab, "libraryPathField");
    unitAliasesField = lineEdit(libraryTab, "unitAliasesField");
    editLibraryPathButton = pushButton(libraryTab, "editLibraryPathButton", "Edit");
    delphi2LibraryButton = pushButton(libraryTab, "delphi2LibraryButton", "Use Delphi 2.0 settings");
    delphi3LibraryButton = pushButton(libraryTab, "delphi3LibraryButton", "Use Delphi 3.0 settings");
    configCaption = new QLabel(libraryTab);
    configCaption->setObjectName(QStringLiteral("configCaption"));
    configList = new QListWidget(libraryTab);
    configList->setObjectName(QStringLiteral("configList"));
    configList->setSelectionMode(QAbstractItemView::NoSelection);
    configList->setFocusPolicy(Qt::NoFocus);

    auto* layout = new QGridLayout(libraryTab);
    layout->addWidget(new QLabel(QStringLiteral("Library path"), libraryTab), 0, 0);
    layout->addWidget(libraryPathField, 0, 1);
    layout->addWidget(editLibraryPathButton, 0, 2);
    layout->addWidget(new QLabel(QStringLiteral("Unit aliases"), libraryTab), 1, 0);
    layout->addWidget(unitAliasesField, 1, 1, 1, 2);
    auto* presets = new QHBoxLayout;
    presets->addWidget(delphi2LibraryButton);
    presets->addWidget(delphi3LibraryButton);
    presets->addStretch(1);
    layout->addLayout(presets, 2, 0, 1, 3);
    layout->addWidget(configCaption, 3, 0, 1, 3);
    layout->addWidget(configList, 4, 0, 1, 3);
    layout->setRowStretch(4, 1);

    connect(delphi2LibraryButton, &QPushButton::clicked, this, [this] { useDelphiLibraryPath(2); });
    connect(delphi3LibraryButton, &QPushButton::clicked, this, [this] { useDelphiLibraryPath(3); });
    connect(editLibraryPathButton, &QPushButton::clicked, this, [this] { editLibraryPath(); });
}

void OptionsDialog::buildDictionaryTab()
{
    dictionaryTab = new QWidget;
    dictionaryTab->setObjectName(QStringLiteral("dictionaryTab"));
    tabs->addTab(dictionaryTab, QStringLiteral("Dictionary"));

    auto* box = new QGroupBox(QStringLiteral("Dictionary tables are kept on"), dictionaryTab);
    localDictionaries = new QRadioButton(QStringLiteral("This computer (SQLite)"), box);
    localDictionaries->setObjectName(QStringLiteral("localDictionaries"));
    serverDictionaries = new QRadioButton(QStringLiteral("Server (PostgreSQL)"), box);
    serverDictionaries->setObjectName(QStringLiteral("serverDictionaries"));
    serverHost = lineEdit(box, "serverHost");
    serverHost->setPlaceholderText(QStringLiteral("localhost"));
    serverPort = new QSpinBox(box);
    serverPort->setObjectName(QStringLiteral("serverPort"));
    serverPort->setRange(0, 65535);
    serverPort->setSpecialValueText(QStringLiteral("5432 (default)"));
    serverDatabase = lineEdit(box, "serverDatabase");
    serverUser = lineEdit(box, "serverUser");
    serverUser->setPlaceholderText(QStringLiteral("the login name"));
    serverSslMode = new QComboBox(box);
    serverSslMode->setObjectName(QStringLiteral("serverSslMode"));
    serverSslMode->addItems(model::sslModes());
    testServerButton = pushButton(box, "testServerButton", "Test connection");

    auto* grid = new QGridLayout(box);
    grid->addWidget(localDictionaries, 0, 0, 1, 4);
    grid->addWidget(serverDictionaries, 1, 0, 1, 4);
    auto row = [&](int r, int column, const char* caption, QWidget* field) {
        auto* label = new QLabel(QString::fromLatin1(caption), box);
        label->setBuddy(field);
        grid->addWidget(label, r, column);
        grid->addWidget(field, r, column + 1);
    };
    row(2, 0, "&Host", serverHost);
    row(2, 2, "P&ort", serverPort);
    row(3, 0, "&Database", serverDatabase);
    row(3, 2, "SSL &mode", serverSslMode);
    row(4, 0, "&User", serverUser);
    grid->addWidget(testServerButton, 4, 3);
    grid->setColumnStretch(1, 1);
    auto* note = new QLabel(QStringLiteral("The password is never stored by Lingrove: it comes from ~/.pgpass or "
                                           "PGPASSWORD, or is asked for once per session. Empty fields take "
                                           "libpq's PG* environment variables."),
                            dictionaryTab);
    note->setWordWrap(true);

    auto* layout = new QVBoxLayout(dictionaryTab);
    layout->addWidget(box);
    layout->addWidget(note);
    layout->addStretch(1);

    auto enable = [this] {
        const bool server = serverDictionaries->isChecked();
        for (QWidget* w : std::initializer_list<QWidget*>{serverHost, serverPort, serverDatabase, serverUser,
                                                           serverSslMode, testServerButton})
            w->setEnabled(server);
    };
    connect(serverDictionaries, &QRadioButton::toggled, this, enable);
    connect(testServerButton, &QPushButton::clicked, this, [this] { testServer(); });
    enable();
}

void OptionsDialog::showDictionaryLocation(const model::DictionaryLocation& location)
{
    (location.isServer() ? serverDictionaries : localDictionaries)->setChecked(true);
    serverHost->setText(location.server.host);
    serverPort->setValue(location.server.port);
    serverDatabase->setText(location.server.database);
    serverUser->setText(location.server.user);
    serverSslMode->setCurrentText(location.server.sslMode);
}

model::DictionaryLocation OptionsDialog::shownDictionaryLocation() const
{
    model::DictionaryLocation location = workspace_.settings().dictionary;
    location.kind = serverDictionaries->isChecked() ? model::DictionaryLocation::Kind::Server
                                                    : model::DictionaryLocation::Kind::Local;
    location.server.host = serverHost->text().trimmed();
    location.server.port = serverPort->value();
    location.server.database = serverDatabase->text().trimmed();
    location.server.user = serverUser->text().trimmed();
    location.server.sslMode = serverSslMode->currentText();
    return location;
}

void OptionsDialog::testServer()
{
    model::DictionaryLocation location = shownDictionaryLocation();
    location.kind = model::DictionaryLocation::Kind::Server;
    QStringList names;
    QString error;
    bool ok = false;
    {
        const WaitCursor wait;
        ok = model::listTables(location, &names, &error);
    }
    if (!ok) {
        ui().message(this, error, BoxKind::Error);
        return;
    }
    ui().message(this, QStringLiteral("Connected to the dictionary server %1: %2 dictionary tables.")
                           .arg(location.server.describe())
                           .arg(names.size()));
}

// ---- Settings and controls -----------------------------------------------------------

void OptionsDialog::updateSample(QLineEdit* sample, ColorComboBox* colors, const std::array<QToolButton*, 4>& styles)
{
    const model::TextLook look = lookOf(colors, styles);
    QFont font = sample->font();
    look.applyTo(font);
    sample->setFont(font);
    QPalette palette = sample->palette();
    palette.setColor(QPalette::Text, look.color);
    sample->setPalette(palette);
}

void OptionsDialog::showLook(const model::TextLook& look, QLineEdit* sample, ColorComboBox* colors,
                             const std::array<QToolButton*, 4>& styles)
{
    const bool flags[4] = {look.bold, look.italic, look.underline, look.strikeOut};
    for (int i = 0; i < 4; ++i) {
        const QSignalBlocker quiet(styles[std::size_t(i)]);
        styles[std::size_t(i)]->setChecked(flags[i]);
    }
    colors->setColor(look.color);
    updateSample(sample, colors, styles);
}

void OptionsDialog::showSettings(const model::Settings& s)
{
    compilerField->setText(s.compiler.stored());
    ideField->setText(s.ide.stored());
    resourceCompilerField->setText(s.resourceCompiler.stored());
    acceptEmpty->setChecked(s.accept.Empty);
    acceptFonts->setChecked(s.accept.Fonts);
    acceptNumbers->setChecked(s.accept.Numbers);
    acceptDateTime->setChecked(s.accept.DateTime);
    acceptDirs->setChecked(s.accept.Dirs);
    acceptExtensions->setChecked(s.accept.Extentions);
    acceptSeparator->setChecked(s.accept.Separator);
    (s.colourScheme == 3 ? delphi3Scheme : delphi2Scheme)->setChecked(true);
    showLook(s.selectedLook, selectedSample, selectedColor, selectedStyle);
    showLook(s.changedLook, changedSample, changedColor, changedStyle);
    showDictionaryLocation(s.dictionary);
}

model::Settings OptionsDialog::shownSettings() const
{
    model::Settings s = workspace_.settings();
    s.compiler = model::ToolPath::fromStored(compilerField->text());
    s.ide = model::ToolPath::fromStored(ideField->text());
    s.resourceCompiler = model::ToolPath::fromStored(resourceCompilerField->text());
    s.accept.Empty = acceptEmpty->isChecked();
    s.accept.Fonts = acceptFonts->isChecked();
    s.accept.Numbers = acceptNumbers->isChecked();
    s.accept.DateTime = acceptDateTime->isChecked();
    s.accept.Dirs = acceptDirs->isChecked();
    s.accept.Extentions = acceptExtensions->isChecked();
    s.accept.Separator = acceptSeparator->isChecked();
    s.colourScheme = delphi2Scheme->isChecked() ? 2 : 3;
    s.selectedLook = lookOf(selectedColor, selectedStyle);
    s.changedLook = lookOf(changedColor, changedStyle);
    s.dictionary = shownDictionaryLocation();
    return s;
}

// ---- Handlers ---------------------------------------------------------------------

void OptionsDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        prepare();
}

void OptionsDialog::prepare()
{
    tabs->setCurrentWidget(stringsTab);
    showSettings(workspace_.settings());

    configList->clear();
    configCaption->clear();
    const model::Settings& s = workspace_.settings();
    // Without a compiler folder there is no configuration file to show (the
    // bare name would point into the root folder).
    if (s.compiler.folder.isEmpty())
        return;
    const QString path = s.compilerConfigPath();
    if (!QFileInfo(path).isFile())
        return;
    const auto lines = model::compiler_config::read(path);
    if (!lines)
        return;
    configList->addItems(*lines);
    configCaption->setText(QStringLiteral("File ") + path);
    const model::CompilerOptions options = model::compiler_config::options(*lines);
    for (const QString& line : *lines) {
        const QString option = line.left(2).toUpper();
        if (option == QLatin1String("-A"))
            unitAliasesField->setText(options.unitAliases);
        else if (option == QLatin1String("-U"))
            libraryPathField->setText(options.searchPath);
    }
}

void OptionsDialog::store()
{
    const model::Settings settings = shownSettings();
    bool stored = false;
    try {
        platform::KeyStore store;
        stored = model::settings_store::save(store, settings, workspace_.isConfigured());
    } catch (const platform::KeyStoreError& e) {
        // The store could not be written: stay in the dialog with nothing else done.
        ui().error(this, QString::fromUtf8(e.what()));
        return;
    }
    if (stored) {
        const bool moved = !(workspace_.settings().dictionary == settings.dictionary);
        workspace_.setSettings(settings);
        // The project's table is now looked for where the tables are.
        const QString table = workspace_.project().dictionaryTable;
        QString error;
        if (moved && workspace_.project().isOpen() && !table.isEmpty()
            && !workspace_.dictionary().open(table, &error))
            ui().message(this,
                         error + QStringLiteral("\nTranslations are not stored until the table can be opened "
                                                "(open the project again, or make the table there)."),
                         BoxKind::Warning);
    } else {
        ui().message(this,
                     QStringLiteral("The settings could not be stored (the key %1 cannot be created).\n"
                                    "The program goes on with the settings it had.")
                         .arg(QString::fromLatin1(model::delphi::kSettingsKey)),
                     BoxKind::Error);
    }
    workspace_.setConfigured(true);
    writeCompilerConfig(workspace_.settings());
    accept();
}

void OptionsDialog::writeCompilerConfig(const model::Settings& settings)
{
    if (settings.compiler.folder.isEmpty()) {
        ui().message(this,
                     QStringLiteral("The compiler's configuration file dcc32.cfg was not written:\n"
                                    "no folder of the Delphi compiler is set."),
                     BoxKind::Warning);
        return;
    }
    const QString path = settings.compilerConfigPath();
    QString why;
    if (!model::compiler_config::write(path, {unitAliasesField->text(), libraryPathField->text()}, &why)) {
        ui().message(this,
                     QStringLiteral("The compiler's configuration file could not be written:\n") + path
                         + QLatin1Char('\n') + why,
                     BoxKind::Error);
    }
}

void OptionsDialog::browse(QLineEdit* field, const char* program)
{
    const QString current = field->text();
    const QString folder = current.isEmpty() ? QString() : platform::folderOf(platform::toNative(current));
    const auto chosen = ui().openFile(this, QStringLiteral("Open"), QStringLiteral("Executable files|*.exe"),
                                      QString::fromLatin1(program), folder);
    if (chosen && !chosen->isEmpty())
        field->setText(*chosen);
}

void OptionsDialog::useDelphiLibraryPath(int version)
{
    const platform::KeyStore store;
    const model::LibraryPath library = model::delphiLibraryPath(store, version);
    libraryPathField->setText(library.searchPath);
    unitAliasesField->setText(library.unitAliases);
}

void OptionsDialog::editLibraryPath()
{
    libraryPathEditor->fill();
    ui().exec(*libraryPathEditor);
}

} // namespace lingrove::ui

#include "app/OptionsDialog.h"

#include "app/AppState.h"
#include "app/DelphiInstallation.h"
#include "app/LibraryPath.h"
#include "platform/FileUtil.h"
#include "platform/KeyStore.h"
#include "platform/Paths.h"
#include "platform/UserInterface.h"

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
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>

namespace lingrove::app {

// ---- Colours ----------------------------------------------------------------

QColor colorFromNumber(qint32 number)
{
    const auto n = static_cast<quint32>(number);
    return QColor(int(n & 0xFF), int((n >> 8) & 0xFF), int((n >> 16) & 0xFF));
}

qint32 colorNumber(const QColor& color)
{
    return qint32(quint32(color.red()) | (quint32(color.green()) << 8) |
                  (quint32(color.blue()) << 16));
}

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
        const QColor color = colorFromNumber(qint32(c.number));
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

// Style flags of a look in the order of the buttons: B, I, U, S.
bool& styleFlag(TextLook& look, int index)
{
    switch (index) {
    case 0: return look.bold;
    case 1: return look.italic;
    case 2: return look.underline;
    default: return look.strikeOut;
    }
}

bool styleFlag(const TextLook& look, int index)
{
    return styleFlag(const_cast<TextLook&>(look), index);
}

QToolButton* styleButton(QWidget* parent, const char* name, const char* caption)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(QString::fromLatin1(caption));
    b->setCheckable(true);
    b->setFixedSize(25, 25);
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

QString fromStoreError(const platform::KeyStoreError& e)
{
    return QString::fromUtf8(e.what());
}

} // namespace

OptionsDialog::OptionsDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName("OptForm");
    setWindowTitle("Option");
    setFixedSize(532, 343);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    buildStringsTab();
    buildEditorTab();
    buildExecutableTab();
    buildLibraryTab();

    BitBtn2 = pushButton(this, "BitBtn2", "&Cancel");
    BitBtn1 = pushButton(this, "BitBtn1", "&OK");
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(buttons);

    LPathEdit = new LibraryPathEditor(Edit6, this);
}

void OptionsDialog::buildStringsTab()
{
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName("TabSheet1");
    PageControl1->addTab(TabSheet1, "Strings");

    GroupBox1 = new QGroupBox("Accept as strings follow strings types:", TabSheet1);
    GroupBox1->setObjectName("GroupBox1");
    auto* boxes = new QVBoxLayout(GroupBox1);
    auto check = [&](const char* name, const char* caption) {
        auto* c = new QCheckBox(QString::fromLatin1(caption), GroupBox1);
        c->setObjectName(QString::fromLatin1(name));
        boxes->addWidget(c);
        return c;
    };
    CheckBox1 = check("CheckBox1", "Empty string ( such a  '              ' )");
    CheckBox2 = check("CheckBox2", "Property Font.Name ( such a  'Times New Roman' )");
    CheckBox3 = check("CheckBox3", "Numbers  ( such a  '12340' , '125,13' )");
    CheckBox4 = check("CheckBox4", "Date / Time in current format ( such a  '12:25:30' , '19.04.98' )");
    CheckBox5 = check("CheckBox5", "Directories and files ( includes char  '\\' )");
    CheckBox6 = check("CheckBox6", "File extensions ( such a .exe )");
    CheckBox7 = check("CheckBox7", "Menu separator");

    auto* layout = new QVBoxLayout(TabSheet1);
    layout->addWidget(GroupBox1);
    layout->addStretch(1);
}

void OptionsDialog::buildEditorTab()
{
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName("TabSheet2");
    PageControl1->addTab(TabSheet2, "Editor");

    GroupBox2 = new QGroupBox("Use highligths", TabSheet2);
    GroupBox2->setObjectName("GroupBox2");
    RadioButton1 = new QRadioButton("Delphi 2.0", GroupBox2);
    RadioButton1->setObjectName("RadioButton1");
    RadioButton2 = new QRadioButton("Delphi 3.0", GroupBox2);
    RadioButton2->setObjectName("RadioButton2");
    auto* radios = new QHBoxLayout(GroupBox2);
    radios->addWidget(RadioButton1);
    radios->addWidget(RadioButton2);
    radios->addStretch(1);
    (state().settings.Highlights == 3 ? RadioButton2 : RadioButton1)->setChecked(true);

    GroupBox3 = new QGroupBox("Text attributes", TabSheet2);
    GroupBox3->setObjectName("GroupBox3");
    auto* grid = new QGridLayout(GroupBox3);
    grid->addWidget(new QLabel("Color", GroupBox3), 0, 2);
    grid->addWidget(new QLabel("Style", GroupBox3), 0, 3);

    QFont sampleFont("Courier New");
    sampleFont.setPixelSize(17);
    auto sample = [&](const char* name) {
        QLineEdit* e = lineEdit(GroupBox3, name);
        e->setText("String");
        e->setReadOnly(true);
        e->setFont(sampleFont);
        e->setFixedWidth(110);
        return e;
    };
    Edit1 = sample("Edit1");
    Edit2 = sample("Edit2");
    ColorComboBox1 = new ColorComboBox(GroupBox3);
    ColorComboBox1->setObjectName("ColorComboBox1");
    ColorComboBox2 = new ColorComboBox(GroupBox3);
    ColorComboBox2->setObjectName("ColorComboBox2");

    SpeedButton1 = styleButton(GroupBox3, "SpeedButton1", "B");
    SpeedButton2 = styleButton(GroupBox3, "SpeedButton2", "I");
    SpeedButton3 = styleButton(GroupBox3, "SpeedButton3", "U");
    SpeedButton4 = styleButton(GroupBox3, "SpeedButton4", "S");
    SpeedButton5 = styleButton(GroupBox3, "SpeedButton5", "B");
    SpeedButton6 = styleButton(GroupBox3, "SpeedButton6", "I");
    SpeedButton7 = styleButton(GroupBox3, "SpeedButton7", "U");
    SpeedButton8 = styleButton(GroupBox3, "SpeedButton8", "S");

    const std::array<QToolButton*, 8> all{SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4,
                                          SpeedButton5, SpeedButton6, SpeedButton7, SpeedButton8};
    for (int i = 0; i < 8; ++i) {
        QFont f = all[i]->font();
        TextLook shown;
        styleFlag(shown, i % 4) = true;
        shown.applyTo(f);
        all[i]->setFont(f);
    }

    auto row = [&](int r, const char* caption, QLineEdit* e, ColorComboBox* colors, int first) {
        grid->addWidget(new QLabel(QString::fromLatin1(caption), GroupBox3), r, 0);
        grid->addWidget(e, r, 1);
        grid->addWidget(colors, r, 2);
        auto* styles = new QHBoxLayout;
        styles->setSpacing(2);
        for (int i = first; i < first + 4; ++i)
            styles->addWidget(all[i]);
        styles->addStretch(1);
        grid->addLayout(styles, r, 3);
    };
    row(1, "Selected string", Edit1, ColorComboBox1, 0);
    row(2, "Changed string", Edit2, ColorComboBox2, 4);

    // The looks as the program holds them (the defaults until LoadSettings).
    Settings& s = state().settings;
    showLook(s.selectedLook, Edit1, ColorComboBox1,
             {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4});
    showLook(s.changedLook, Edit2, ColorComboBox2,
             {SpeedButton5, SpeedButton6, SpeedButton7, SpeedButton8});

    connect(ColorComboBox1, &QComboBox::currentIndexChanged, this, [this] { ColorComboBox1Change(); });
    connect(ColorComboBox2, &QComboBox::currentIndexChanged, this, [this] { ColorComboBox2Change(); });
    for (QToolButton* b : all)
        connect(b, &QToolButton::toggled, this, [this, b] { styleButtonClick(b); });

    auto* layout = new QVBoxLayout(TabSheet2);
    layout->addWidget(GroupBox2);
    layout->addWidget(GroupBox3);
    layout->addStretch(1);
}

void OptionsDialog::buildExecutableTab()
{
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName("TabSheet3");
    PageControl1->addTab(TabSheet3, "Executable");

    auto* layout = new QGridLayout(TabSheet3);
    auto tool = [&](int r, const char* caption, const char* editName, const char* buttonName) {
        QLineEdit* e = lineEdit(TabSheet3, editName);
        QPushButton* b = pushButton(TabSheet3, buttonName, "Browse");
        layout->addWidget(new QLabel(QString::fromLatin1(caption), TabSheet3), 2 * r, 0, 1, 2);
        layout->addWidget(e, 2 * r + 1, 0);
        layout->addWidget(b, 2 * r + 1, 1);
        connect(b, &QPushButton::clicked, this, [this, b] { SpeedButton10Click(b); });
        return std::pair{e, b};
    };
    std::tie(Edit3, SpeedButton10) = tool(0, "Delphi compiler ( dcc32.exe)", "Edit3", "SpeedButton10");
    std::tie(Edit4, SpeedButton11) = tool(1, "Delphi IDE (delphi32.exe )", "Edit4", "SpeedButton11");
    std::tie(Edit5, SpeedButton12) =
        tool(2, "Borland resource compiler ( brcc32.exe )", "Edit5", "SpeedButton12");
    layout->setRowStretch(6, 1);

    // Until settings are stored, the fields show the tools the program uses
    // by default, so that confirming the dialog on the first run stores
    // working paths rather than empty ones.
    const Settings defaults = Settings::defaults();
    Edit3->setText(delphi::compilerPath(defaults));
    Edit4->setText(delphi::idePath(defaults));
    Edit5->setText(delphi::resCompPath(defaults));
}

void OptionsDialog::buildLibraryTab()
{
    TabSheet4 = new QWidget;
    TabSheet4->setObjectName("TabSheet4");
    PageControl1->addTab(TabSheet4, "Library");

    Edit6 = lineEdit(TabSheet4, "Edit6");
    Edit7 = lineEdit(TabSheet4, "Edit7");
    SpeedButton15 = pushButton(TabSheet4, "SpeedButton15", "Edit");
    SpeedButton13 = pushButton(TabSheet4, "SpeedButton13", "Use Delphi 2.0 settings");
    SpeedButton14 = pushButton(TabSheet4, "SpeedButton14", "Use Delphi 3.0 settings");
    ConfigCaption = new QLabel(TabSheet4);
    ConfigCaption->setObjectName("ConfigCaption");
    ConfigList = new QListWidget(TabSheet4);
    ConfigList->setObjectName("ConfigList");
    ConfigList->setSelectionMode(QAbstractItemView::NoSelection);
    ConfigList->setFocusPolicy(Qt::NoFocus);

    auto* layout = new QGridLayout(TabSheet4);
    layout->addWidget(new QLabel("Library path", TabSheet4), 0, 0);
    layout->addWidget(Edit6, 0, 1);
    layout->addWidget(SpeedButton15, 0, 2);
    layout->addWidget(new QLabel("Unit aliases", TabSheet4), 1, 0);
    layout->addWidget(Edit7, 1, 1, 1, 2);
    auto* presets = new QHBoxLayout;
    presets->addWidget(SpeedButton13);
    presets->addWidget(SpeedButton14);
    presets->addStretch(1);
    layout->addLayout(presets, 2, 0, 1, 3);
    layout->addWidget(ConfigCaption, 3, 0, 1, 3);
    layout->addWidget(ConfigList, 4, 0, 1, 3);
    layout->setRowStretch(4, 1);

    connect(SpeedButton13, &QPushButton::clicked, this, [this] { SpeedButton13Click(); });
    connect(SpeedButton14, &QPushButton::clicked, this, [this] { SpeedButton14Click(); });
    connect(SpeedButton15, &QPushButton::clicked, this, [this] { SpeedButton15Click(); });
}

// ---- Looks ----------------------------------------------------------------------

void OptionsDialog::applySample(const TextLook& look, QLineEdit* sample)
{
    QFont font = sample->font();
    look.applyTo(font);
    sample->setFont(font);
    QPalette palette = sample->palette();
    palette.setColor(QPalette::Text, look.color);
    sample->setPalette(palette);
}

void OptionsDialog::showLook(const TextLook& look, QLineEdit* sample, ColorComboBox* colors,
                             const std::array<QToolButton*, 4>& styles)
{
    const TextLook copy = look;   // the buttons' handlers write into the look
    for (int i = 0; i < 4; ++i) {
        const QSignalBlocker quiet(styles[i]);
        styles[i]->setChecked(styleFlag(copy, i));
    }
    colors->setColor(copy.color);
    applySample(copy, sample);
}

void OptionsDialog::ColorComboBox1Change()
{
    TextLook& look = state().settings.selectedLook;
    look.color = ColorComboBox1->color();
    applySample(look, Edit1);
}

void OptionsDialog::ColorComboBox2Change()
{
    TextLook& look = state().settings.changedLook;
    look.color = ColorComboBox2->color();
    applySample(look, Edit2);
}

void OptionsDialog::styleButtonClick(QToolButton* button)
{
    const std::array<QToolButton*, 8> all{SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4,
                                          SpeedButton5, SpeedButton6, SpeedButton7, SpeedButton8};
    for (int i = 0; i < 8; ++i) {
        if (all[i] != button)
            continue;
        const bool selected = i < 4;
        TextLook& look = selected ? state().settings.selectedLook : state().settings.changedLook;
        styleFlag(look, i % 4) = button->isChecked();
        applySample(look, selected ? Edit1 : Edit2);
        return;
    }
}

// ---- Settings store ------------------------------------------------------------

void OptionsDialog::LoadSettings()
{
    platform::KeyStore store;
    const QString key = QString::fromLatin1(delphi::kSettingsKey);
    store.createKey(key);   // a key that cannot be made reads as one without values
    Settings& s = state().settings;

    const QString ide = store.readString(key, "IDE");
    const QString compiler = store.readString(key, "Compiler");
    const QString resComp = store.readString(key, "Rescomp");
    platform::SplitPath part = platform::splitToolPath(ide);
    s.IdeExe = part.file;
    s.IdeDir = part.folder;
    part = platform::splitToolPath(compiler);
    s.CompilerExe = part.file;
    s.CompilerDir = part.folder;
    part = platform::splitToolPath(resComp);
    s.ResCompExe = part.file;
    s.ResCompDir = part.folder;
    Edit4->setText(ide);
    Edit3->setText(compiler);
    Edit5->setText(resComp);

    // Each switch reaches its check box as soon as it is read, so that the
    // dialog shows what is in effect when a later value cannot be read.
    auto readSwitch = [&](const char* name, bool& field, QCheckBox* box) {
        field = store.readInteger(key, QString::fromLatin1(name)) != 0;
        box->setChecked(field);
    };
    readSwitch("Empty", s.Empty, CheckBox1);
    readSwitch("Dirs", s.Dirs, CheckBox5);
    readSwitch("Numbers", s.Numbers, CheckBox3);
    readSwitch("Fonts", s.Fonts, CheckBox2);
    readSwitch("Extentions", s.Extentions, CheckBox6);
    readSwitch("DateTime", s.DateTime, CheckBox4);
    readSwitch("Separator", s.Separator, CheckBox7);

    s.Highlights = quint8(store.readInteger(key, "Highlights") & 0xFF);
    if (s.Highlights == 2)
        RadioButton1->setChecked(true);
    else if (s.Highlights == 3)
        RadioButton2->setChecked(true);

    auto readLook = [&](const QString& prefix, TextLook& look, QLineEdit* sample,
                        ColorComboBox* colors, const std::array<QToolButton*, 4>& styles) {
        look.color = colorFromNumber(store.readInteger(key, prefix + "C"));
        colors->setColor(look.color);
        applySample(look, sample);
        static const char* const kStyles[4] = {"B", "I", "U", "S"};
        for (int i = 0; i < 4; ++i) {
            const bool on = store.readInteger(key, prefix + kStyles[i]) != 0;
            styleFlag(look, i) = on;
            const QSignalBlocker quiet(styles[i]);
            styles[i]->setChecked(on);
            applySample(look, sample);
        }
    };
    readLook("SF", s.selectedLook, Edit1, ColorComboBox1,
             {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4});
    readLook("CF", s.changedLook, Edit2, ColorComboBox2,
             {SpeedButton5, SpeedButton6, SpeedButton7, SpeedButton8});
}

bool OptionsDialog::SaveSettings()
{
    const QString key = QString::fromLatin1(delphi::kSettingsKey);
    platform::KeyStore store;
    if (state().ConfigOK)
        store.deleteKey(key);
    if (!store.createKey(key))
        return false;

    store.writeString(key, "Compiler", Edit3->text());
    store.writeString(key, "IDE", Edit4->text());
    store.writeString(key, "ResComp", Edit5->text());
    auto writeFlag = [&](const char* name, bool on) {
        store.writeInteger(key, QString::fromLatin1(name), on ? 1 : 0);
    };
    writeFlag("Empty", CheckBox1->isChecked());
    writeFlag("Fonts", CheckBox2->isChecked());
    writeFlag("Numbers", CheckBox3->isChecked());
    writeFlag("DateTime", CheckBox4->isChecked());
    writeFlag("Dirs", CheckBox5->isChecked());
    writeFlag("Extentions", CheckBox6->isChecked());
    writeFlag("Separator", CheckBox7->isChecked());
    store.writeInteger(key, "SFC", colorNumber(Edit1->palette().color(QPalette::Text)));
    writeFlag("SFB", SpeedButton1->isChecked());
    writeFlag("SFI", SpeedButton2->isChecked());
    writeFlag("SFU", SpeedButton3->isChecked());
    writeFlag("SFS", SpeedButton4->isChecked());
    store.writeInteger(key, "CFC", colorNumber(Edit2->palette().color(QPalette::Text)));
    writeFlag("CFB", SpeedButton5->isChecked());
    writeFlag("CFI", SpeedButton6->isChecked());
    writeFlag("CFU", SpeedButton7->isChecked());
    writeFlag("CFS", SpeedButton8->isChecked());
    if (RadioButton1->isChecked())
        store.writeInteger(key, "Highlights", 2);
    if (RadioButton2->isChecked())
        store.writeInteger(key, "Highlights", 3);

    Settings& s = state().settings;
    platform::SplitPath part = platform::splitToolPath(Edit4->text());
    s.IdeExe = part.file;
    s.IdeDir = part.folder;
    part = platform::splitToolPath(Edit3->text());
    s.CompilerExe = part.file;
    s.CompilerDir = part.folder;
    part = platform::splitToolPath(Edit5->text());
    s.ResCompExe = part.file;
    s.ResCompDir = part.folder;
    s.Empty = CheckBox1->isChecked();
    s.Fonts = CheckBox2->isChecked();
    s.Numbers = CheckBox3->isChecked();
    s.DateTime = CheckBox4->isChecked();
    s.Dirs = CheckBox5->isChecked();
    s.Extentions = CheckBox6->isChecked();
    s.Separator = CheckBox7->isChecked();
    s.Highlights = RadioButton1->isChecked() ? 2 : 3;
    return true;
}

// ---- Handlers ---------------------------------------------------------------------

void OptionsDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void OptionsDialog::FormShow()
{
    PageControl1->setCurrentWidget(TabSheet1);

    ConfigList->clear();
    ConfigCaption->clear();
    const Settings& s = state().settings;
    // Without a compiler folder there is no configuration file to show (the
    // bare name would point into the root folder).
    if (s.CompilerDir.isEmpty())
        return;
    const QString path = s.compilerConfigPath();
    if (!QFileInfo(path).isFile())
        return;
    const auto lines = readConfigFile(path);
    if (!lines)
        return;
    ConfigList->addItems(*lines);
    ConfigCaption->setText("File " + path);

    for (const QString& line : *lines) {
        const QString option = line.left(2).toUpper();
        if (option == QLatin1String("-A"))
            Edit7->setText(optionValue(line));
        else if (option == QLatin1String("-U"))
            Edit6->setText(optionValue(line));
    }
}

void OptionsDialog::BitBtn1Click()
{
    bool stored = false;
    try {
        stored = SaveSettings();
    } catch (const platform::KeyStoreError& e) {
        // The store could not be written: stay in the dialog with nothing else done.
        platform::ui().error(this, fromStoreError(e));
        return;
    }
    if (!stored) {
        platform::ui().message(this,
                               "The settings could not be stored (the key " +
                                   QString::fromLatin1(delphi::kSettingsKey) +
                                   " cannot be created).\nThe program goes on with the settings it had.",
                               platform::BoxKind::Error);
    }
    state().ConfigOK = true;
    writeCompilerConfig();
    accept();
}

void OptionsDialog::writeCompilerConfig()
{
    const Settings& s = state().settings;
    if (s.CompilerDir.isEmpty()) {
        platform::ui().message(this,
                               "The compiler's configuration file dcc32.cfg was not written:\n"
                               "no folder of the Delphi compiler is set.",
                               platform::BoxKind::Warning);
        return;
    }
    const QString path = s.compilerConfigPath();
    QString why;
    if (!writeConfigFile(path, Edit7->text(), Edit6->text(), &why)) {
        platform::ui().message(this,
                               "The compiler's configuration file could not be written:\n" + path +
                                   "\n" + why,
                               platform::BoxKind::Error);
    }
}

void OptionsDialog::SpeedButton10Click(QAbstractButton* sender)
{
    QLineEdit* field = nullptr;
    const char* preset = nullptr;
    if (sender == SpeedButton10) {
        field = Edit3;
        preset = "dcc32.exe";
    } else if (sender == SpeedButton11) {
        field = Edit4;
        preset = "delphi32.exe";
    } else if (sender == SpeedButton12) {
        field = Edit5;
        preset = "brcc32.exe";
    } else {
        return;
    }
    const QString current = field->text();
    const QString folder =
        current.isEmpty() ? QString() : platform::folderOf(platform::toNative(current));
    const auto chosen = platform::ui().openFile(this, "Open", "Executable files|*.exe",
                                                QString::fromLatin1(preset), folder);
    if (chosen && !chosen->isEmpty())
        field->setText(*chosen);
}

void OptionsDialog::SpeedButton13Click()
{
    const LibraryPath lib = GetDelphiLibraryPath(2);
    Edit6->setText(lib.SearchPath);
    Edit7->setText(lib.UnitAliases);
}

void OptionsDialog::SpeedButton14Click()
{
    const LibraryPath lib = GetDelphiLibraryPath(3);
    Edit6->setText(lib.SearchPath);
    Edit7->setText(lib.UnitAliases);
}

void OptionsDialog::SpeedButton15Click()
{
    LPathEdit->FormShow();
    platform::ui().exec(*LPathEdit);
}

// ---- dcc32.cfg ---------------------------------------------------------------------

QString OptionsDialog::optionValue(const QString& line)
{
    // The option letters, then the value, usually in double quotes: -u"C:\lib".
    QString value = line.mid(2).trimmed();
    if (value.startsWith(QLatin1Char('"')))
        value.remove(0, 1);
    if (value.endsWith(QLatin1Char('"')))
        value.chop(1);
    return value;
}

std::optional<QStringList> OptionsDialog::readConfigFile(const QString& path)
{
    QByteArray bytes;
    if (platform::readFile(path, bytes) != platform::ReadResult::Read)
        return std::nullopt;
    // 8-bit text: one character per byte.
    QStringList lines = QString::fromLatin1(bytes).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();   // the end of the last line, not a line of its own
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

bool OptionsDialog::writeConfigFile(const QString& path, const QString& unitAliases,
                                    const QString& searchPath, QString* why)
{
    const QFileInfo info(path);
    if (!info.absoluteDir().exists()) {
        if (why)
            *why = "The folder " + info.absolutePath() + " does not exist.";
        return false;
    }
    const QString text = "-a\"" + unitAliases + "\"\r\n-u\"" + searchPath + "\"\r\n";
    return platform::writeFileAtomically(path, text.toLatin1(), why);
}

} // namespace lingrove::app

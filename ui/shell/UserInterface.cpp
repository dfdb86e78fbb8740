#include "ui/shell/UserInterface.h"

#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QInputDialog>
#include <QMessageBox>

namespace lingrove::ui {

namespace {

std::unique_ptr<UserInterface>& current()
{
    static std::unique_ptr<UserInterface> instance;
    return instance;
}

QMessageBox::Icon iconOf(BoxKind kind)
{
    switch (kind) {
    case BoxKind::Information: return QMessageBox::Information;
    case BoxKind::Warning: return QMessageBox::Warning;
    case BoxKind::Error: return QMessageBox::Critical;
    case BoxKind::Confirmation: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QString titleOf(BoxKind kind)
{
    switch (kind) {
    case BoxKind::Information: return QStringLiteral("Information");
    case BoxKind::Warning: return QStringLiteral("Warning");
    case BoxKind::Error: return QStringLiteral("Error");
    case BoxKind::Confirmation: return QStringLiteral("Confirm");
    }
    return {};
}

QString applicationTitle()
{
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Lingrove") : name;
}

// Where a file dialog starts: the proposed name inside the proposed folder.
QString startPath(const QString& fileName, const QString& folder)
{
    if (folder.isEmpty() || fileName.isEmpty())
        return folder.isEmpty() ? platform::toNative(fileName) : platform::toNative(folder);
    if (QFileInfo(platform::toNative(fileName)).isAbsolute())
        return platform::toNative(fileName);
    return platform::joinPath(platform::toNative(folder), platform::toNative(fileName));
}

std::optional<QString> nonEmpty(const QString& s)
{
    if (s.isEmpty())
        return std::nullopt;
    return s;
}

// The next queued answer, or fallback when none is queued.
template <typename T>
T takeFront(std::vector<T>& queue, T fallback)
{
    if (queue.empty())
        return fallback;
    T front = std::move(queue.front());
    queue.erase(queue.begin());
    return front;
}

// The same for text answers; a queued nullopt is a cancelled box. Kept apart
// from the template: g++ 12 at -O2 warns falsely about a moved
// std::optional<QString>.
std::optional<QString> takeFront(std::vector<std::optional<QString>>& queue)
{
    if (queue.empty())
        return std::nullopt;
    const bool given = queue.front().has_value();
    const QString text = given ? *queue.front() : QString();
    queue.erase(queue.begin());
    if (!given)
        return std::nullopt;
    return text;
}

} // namespace

UserInterface& ui()
{
    auto& ui = current();
    if (!ui)
        ui = std::make_unique<QtUserInterface>();
    return *ui;
}

std::unique_ptr<UserInterface> setUserInterface(std::unique_ptr<UserInterface> ui)
{
    std::unique_ptr<UserInterface> previous = std::move(current());
    current() = std::move(ui);
    return previous;
}

QString qtFileFilter(const QString& delphiFilter)
{
    if (delphiFilter.isEmpty())
        return {};
    const QStringList pieces = delphiFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i < pieces.size(); i += 2) {
        const QString description = pieces[i].trimmed();
        QString masks = QStringLiteral("*");
        if (i + 1 < pieces.size()) {
            QStringList list = pieces[i + 1].split(u';', Qt::SkipEmptyParts);
            for (QString& m : list)
                m = m.trimmed();
            list.removeAll(QString());
            if (!list.isEmpty())
                masks = list.join(u' ');
        }
        filters.append(QStringLiteral("%1 (%2)").arg(description.isEmpty() ? masks : description, masks));
    }
    return filters.join(QStringLiteral(";;"));
}

// --- QtUserInterface ---

void QtUserInterface::message(QWidget* parent, const QString& text, BoxKind kind)
{
    QMessageBox box(iconOf(kind), kind == BoxKind::Information ? applicationTitle() : titleOf(kind), text,
                    QMessageBox::Ok, parent);
    box.exec();
}

bool QtUserInterface::question(QWidget* parent, const QString& text, BoxKind kind)
{
    QMessageBox box(iconOf(kind), titleOf(kind), text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

Answer QtUserInterface::choice(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Question, applicationTitle(), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

void QtUserInterface::error(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, applicationTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

std::optional<QString> QtUserInterface::inputBox(QWidget* parent, const QString& caption,
                                                 const QString& prompt, const QString& text)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, text, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

std::optional<QString> QtUserInterface::passwordBox(QWidget* parent, const QString& caption, const QString& prompt)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(parent, caption, prompt, QLineEdit::Password, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

std::optional<QString> QtUserInterface::openFile(QWidget* parent, const QString& caption,
                                                 const QString& filter, const QString& fileName,
                                                 const QString& folder)
{
    return nonEmpty(QFileDialog::getOpenFileName(parent, caption, startPath(fileName, folder),
                                                 qtFileFilter(filter)));
}

std::optional<QString> QtUserInterface::saveFile(QWidget* parent, const QString& caption,
                                                 const QString& filter, const QString& fileName,
                                                 const QString& folder)
{
    return nonEmpty(QFileDialog::getSaveFileName(parent, caption, startPath(fileName, folder),
                                                 qtFileFilter(filter)));
}

std::optional<QString> QtUserInterface::chooseFolder(QWidget* parent, const QString& caption,
                                                     const QString& folder)
{
    return nonEmpty(QFileDialog::getExistingDirectory(parent, caption, platform::toNative(folder)));
}

void fitTitle(QWidget& window)
{
    if (window.minimumWidth() == window.maximumWidth())
        return;   // a window of fixed size is made for its title
    // The title bar's font is the desktop's; a tenth larger than the
    // window's, and room for the icon and the buttons beside it.
    QFont font = window.font();
    font.setPointSizeF(font.pointSizeF() * 1.1);
    const int needed = QFontMetrics(font).horizontalAdvance(window.windowTitle()) + 160;
    if (window.minimumWidth() < needed)
        window.setMinimumWidth(needed);
}

int QtUserInterface::exec(QDialog& dialog)
{
    fitTitle(dialog);
    return dialog.exec();
}

// --- ScriptedUserInterface ---

QStringList ScriptedUserInterface::texts(const QString& kind) const
{
    QStringList out;
    for (const Shown& s : shown)
        if (kind.isEmpty() || s.kind == kind)
            out.append(s.text);
    return out;
}

void ScriptedUserInterface::clear()
{
    shown.clear();
}

void ScriptedUserInterface::message(QWidget*, const QString& text, BoxKind)
{
    shown.push_back({QStringLiteral("message"), text});
}

bool ScriptedUserInterface::question(QWidget*, const QString& text, BoxKind)
{
    shown.push_back({QStringLiteral("question"), text});
    return takeFront(answers, false);
}

Answer ScriptedUserInterface::choice(QWidget*, const QString& text)
{
    shown.push_back({QStringLiteral("choice"), text});
    return takeFront(choices, Answer::No);
}

void ScriptedUserInterface::error(QWidget*, const QString& text)
{
    shown.push_back({QStringLiteral("error"), text});
}

std::optional<QString> ScriptedUserInterface::inputBox(QWidget*, const QString&, const QString& prompt,
                                                       const QString&)
{
    shown.push_back({QStringLiteral("input"), prompt});
    return takeFront(inputs);
}

std::optional<QString> ScriptedUserInterface::passwordBox(QWidget*, const QString&, const QString& prompt)
{
    shown.push_back({QStringLiteral("password"), prompt});
    return takeFront(inputs);
}

std::optional<QString> ScriptedUserInterface::openFile(QWidget*, const QString& caption, const QString&,
                                                       const QString&, const QString&)
{
    shown.push_back({QStringLiteral("open"), caption});
    return takeFront(files);
}

std::optional<QString> ScriptedUserInterface::saveFile(QWidget*, const QString& caption, const QString&,
                                                       const QString&, const QString&)
{
    shown.push_back({QStringLiteral("save"), caption});
    return takeFront(files);
}

std::optional<QString> ScriptedUserInterface::chooseFolder(QWidget*, const QString& caption,
                                                           const QString&)
{
    shown.push_back({QStringLiteral("folder"), caption});
    return takeFront(files);
}

int ScriptedUserInterface::exec(QDialog& dialog)
{
    shown.push_back({QStringLiteral("dialog"), dialog.windowTitle()});
    fitTitle(dialog);
    dialog.show();
    int result = QDialog::Rejected;
    if (auto script = takeFront(dialogs, std::function<int(QDialog&)>()); script) {
        result = script(dialog);
    } else {
        dialog.reject();
    }
    dialog.setResult(result);
    dialog.hide();
    return result;
}

// --- ScriptedUi ---

ScriptedUi::ScriptedUi()
{
    auto scripted = std::make_unique<ScriptedUserInterface>();
    ui_ = scripted.get();
    previous_ = setUserInterface(std::move(scripted));
}

ScriptedUi::~ScriptedUi()
{
    setUserInterface(std::move(previous_));
}

} // namespace lingrove::ui

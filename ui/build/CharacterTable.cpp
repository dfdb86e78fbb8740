#include "ui/build/CharacterTable.h"

#include "core/text/Encoding.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>

namespace lingrove::ui {

namespace {
constexpr int kCell = 20;
constexpr int kGrid = 16 * kCell + 1;
} // namespace

QString CharacterTable::cellText(int code)
{
    const char32_t cp = text::fromWindows1252(static_cast<unsigned char>(code & 0xFF));
    return QString(QChar(static_cast<char16_t>(cp)));
}

CharacterTable::CharacterTable(QWidget* parent) : QDialog(parent, Qt::Tool)
{
    setObjectName("Zeichentab");
    setWindowTitle("ANSI Table");
    setFixedSize(362, 397);
    setModal(false);

    grid = new QTableWidget(16, 16, this);
    grid->setObjectName("grid");
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setMinimumSectionSize(kCell);
    grid->verticalHeader()->setMinimumSectionSize(kCell);
    grid->horizontalHeader()->setDefaultSectionSize(kCell);
    grid->verticalHeader()->setDefaultSectionSize(kCell);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setShowGrid(true);
    grid->setFrameStyle(QFrame::NoFrame);
    grid->setGeometry(20, 10, kGrid, kGrid);
    QFont font("MS Sans Serif");
    font.setPixelSize(13);
    grid->setFont(font);
    for (int code = 0; code < 256; ++code) {
        // Control codes keep their character but show as a middle dot.
        const bool control = code < 32 || code == 127;
        auto* item = new QTableWidgetItem(control ? QStringLiteral("\u00B7") : cellText(code));
        item->setData(Qt::UserRole, cellText(code));
        item->setTextAlignment(Qt::AlignCenter);
        if (control)
            item->setForeground(Qt::gray);
        grid->setItem(code / 16, code % 16, item);
    }
    grid->viewport()->setMouseTracking(true);
    grid->viewport()->installEventFilter(this);
    connect(grid, &QTableWidget::cellClicked, this, &CharacterTable::cellClicked);

    trademarkField = new QLabel("TM", this);
    trademarkField->setObjectName("trademarkField");
    trademarkField->setAlignment(Qt::AlignCenter);
    trademarkField->setFrameStyle(QFrame::Panel | QFrame::Raised);
    trademarkField->setAutoFillBackground(true);
    trademarkField->setGeometry(grid->x() + kGrid - 23, grid->y() + kGrid - 23, 23, 23);
    trademarkField->installEventFilter(this);

    magnifier = new QLabel("A", this);
    magnifier->setObjectName("magnifier");
    magnifier->setAlignment(Qt::AlignCenter);
    magnifier->setFixedSize(45, 45);
    QFont big("MS Sans Serif");
    big.setPixelSize(30);
    magnifier->setFont(big);
    magnifier->setAutoFillBackground(true);
    QPalette pal = magnifier->palette();
    pal.setColor(QPalette::Window, palette().color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::WindowText, Qt::white);
    magnifier->setPalette(pal);
    magnifier->hide();
    magnifier->installEventFilter(this);

    okButton = new QPushButton("&OK", this);
    closeButton = new QPushButton("&Close", this);
    okButton->setGeometry(100, 350, 75, 27);
    closeButton->setGeometry(187, 350, 75, 27);
    connect(okButton, &QPushButton::clicked, this, &CharacterTable::okClicked);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
}

bool CharacterTable::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grid->viewport() && event->type() == QEvent::MouseMove) {
        lastPointer_ = static_cast<QMouseEvent*>(event)->position().toPoint();
    } else if (watched == trademarkField && event->type() == QEvent::MouseButtonPress) {
        trademarkClicked();
        return true;
    } else if (watched == magnifier && event->type() == QEvent::MouseButtonDblClick) {
        okClicked();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CharacterTable::showMagnifier(const QString& text)
{
    magnifierText_ = text;
    magnifier->setText(text);
    const QPoint at = grid->geometry().topLeft() + lastPointer_ - QPoint(10, 10);
    magnifier->move(at);
    magnifier->raise();
    magnifier->show();
}

void CharacterTable::cellClicked(int row, int column)
{
    const QTableWidgetItem* item = grid->item(row, column);
    if (!item)
        return;
    showMagnifier(item->data(Qt::UserRole).toString());
}

void CharacterTable::trademarkClicked() { showMagnifier(QStringLiteral("TM")); }

void CharacterTable::okClicked()
{
    magnifier->hide();
    if (onAppend)
        onAppend(magnifierText_);
}

} // namespace lingrove::ui

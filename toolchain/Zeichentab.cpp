#include "toolchain/Zeichentab.h"

#include "core/text/Windows1252.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>

namespace lingrove::toolchain {

namespace {
constexpr int kCell = 20;
constexpr int kGrid = 16 * kCell + 1;
} // namespace

QString TZeichentab::cellText(int code)
{
    const char32_t cp = text::fromWindows1252(static_cast<unsigned char>(code & 0xFF));
    return QString(QChar(static_cast<char16_t>(cp)));
}

TZeichentab::TZeichentab(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setObjectName("Zeichentab");
    setWindowTitle("ANSI Table");
    setFixedSize(362, 397);
    setModal(false);

    StringGrid1 = new QTableWidget(16, 16, this);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setMinimumSectionSize(kCell);
    StringGrid1->verticalHeader()->setMinimumSectionSize(kCell);
    StringGrid1->horizontalHeader()->setDefaultSectionSize(kCell);
    StringGrid1->verticalHeader()->setDefaultSectionSize(kCell);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setShowGrid(true);
    StringGrid1->setFrameStyle(QFrame::NoFrame);
    StringGrid1->setGeometry(20, 10, kGrid, kGrid);
    QFont font("MS Sans Serif");
    font.setPixelSize(13);
    StringGrid1->setFont(font);
    for (int code = 0; code < 256; ++code) {
        // Control codes keep their character but show as a middle dot.
        const bool control = code < 32 || code == 127;
        auto* item = new QTableWidgetItem(control ? QStringLiteral("\u00B7") : cellText(code));
        item->setData(Qt::UserRole, cellText(code));
        item->setTextAlignment(Qt::AlignCenter);
        if (control)
            item->setForeground(Qt::gray);
        StringGrid1->setItem(code / 16, code % 16, item);
    }
    StringGrid1->viewport()->setMouseTracking(true);
    StringGrid1->viewport()->installEventFilter(this);
    connect(StringGrid1, &QTableWidget::cellClicked, this, &TZeichentab::cellClicked);

    TMField = new QLabel("TM", this);
    TMField->setObjectName("TMField");
    TMField->setAlignment(Qt::AlignCenter);
    TMField->setFrameStyle(QFrame::Panel | QFrame::Raised);
    TMField->setAutoFillBackground(true);
    TMField->setGeometry(StringGrid1->x() + kGrid - 23, StringGrid1->y() + kGrid - 23, 23, 23);
    TMField->installEventFilter(this);

    Magnifier = new QLabel("A", this);
    Magnifier->setObjectName("Magnifier");
    Magnifier->setAlignment(Qt::AlignCenter);
    Magnifier->setFixedSize(45, 45);
    QFont big("MS Sans Serif");
    big.setPixelSize(30);
    Magnifier->setFont(big);
    Magnifier->setAutoFillBackground(true);
    QPalette pal = Magnifier->palette();
    pal.setColor(QPalette::Window, palette().color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::WindowText, Qt::white);
    Magnifier->setPalette(pal);
    Magnifier->hide();
    Magnifier->installEventFilter(this);

    OKButton = new QPushButton("&OK", this);
    CloseButton = new QPushButton("&Close", this);
    OKButton->setGeometry(100, 350, 75, 27);
    CloseButton->setGeometry(187, 350, 75, 27);
    connect(OKButton, &QPushButton::clicked, this, &TZeichentab::OKClick);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);
}

bool TZeichentab::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == StringGrid1->viewport() && event->type() == QEvent::MouseMove) {
        lastPointer_ = static_cast<QMouseEvent*>(event)->position().toPoint();
    } else if (watched == TMField && event->type() == QEvent::MouseButtonPress) {
        tmClicked();
        return true;
    } else if (watched == Magnifier && event->type() == QEvent::MouseButtonDblClick) {
        OKClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TZeichentab::showMagnifier(const QString& text)
{
    magnifierText_ = text;
    Magnifier->setText(text);
    const QPoint at = StringGrid1->geometry().topLeft() + lastPointer_ - QPoint(10, 10);
    Magnifier->move(at);
    Magnifier->raise();
    Magnifier->show();
}

void TZeichentab::cellClicked(int row, int column)
{
    const QTableWidgetItem* item = StringGrid1->item(row, column);
    if (!item)
        return;
    showMagnifier(item->data(Qt::UserRole).toString());
}

void TZeichentab::tmClicked() { showMagnifier(QStringLiteral("TM")); }

void TZeichentab::OKClick()
{
    Magnifier->hide();
    if (onAppend)
        onAppend(magnifierText_);
}

} // namespace lingrove::toolchain

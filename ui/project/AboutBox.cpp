#include "ui/project/AboutBox.h"

#include "ui/shell/UserInterface.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimerEvent>
#include <QVBoxLayout>

namespace lingrove::ui {

ScrollingPanel::ScrollingPanel(const QStringList& lines, QWidget* parent)
    : QWidget(parent)
    , lines_(lines)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0, 0, 128));
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
}

void ScrollingPanel::showEvent(QShowEvent*)
{
    offset_ = 0;
    if (!timer_)
        timer_ = startTimer(40);
}

void ScrollingPanel::hideEvent(QHideEvent*)
{
    if (timer_)
        killTimer(timer_);
    timer_ = 0;
}

void ScrollingPanel::timerEvent(QTimerEvent*)
{
    const int lineHeight = fontMetrics().height() + 4;
    const int total = lineHeight * static_cast<int>(lines_.size()) + height();
    offset_ = (offset_ + 1) % qMax(1, total);
    update();
}

void ScrollingPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    const int lineHeight = fontMetrics().height() + 4;
    int y = height() - offset_;
    for (const QString& line : lines_) {
        p.drawText(QRect(0, y, width(), lineHeight), Qt::AlignCenter, line);
        y += lineHeight;
    }
}

CreditsWindow::CreditsWindow(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("Credits");
    setWindowTitle("Credits");
    setModal(true);
    auto* v = new QVBoxLayout(this);
    v->addWidget(new ScrollingPanel({"Lingrove", "", "Thanks to the authors of", "the libraries it is built on:", "",
                                     "Qt - the windows, the editor and", "the SQL access to the dictionaries",
                                     "SQLite - the dictionary tables", "GoogleTest and Google Benchmark",
                                     "Free Pascal - compiling on Linux", "GNU binutils - resources", "",
                                     "and to every translator", "who found a fault and told us."},
                                    this),
                 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    closeButton = new QPushButton("&Close", this);
    buttons->addWidget(closeButton);
    v->addLayout(buttons);
    resize(340, 260);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
}

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("AboutBox");
    setWindowTitle("Info");
    setModal(true);
    auto* v = new QVBoxLayout(this);
    v->addWidget(new ScrollingPanel({"Lingrove", "Version 0.5", "", "Make your application multilinqual!"}, this), 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    okButton = new QPushButton("&OK", this);
    okButton->setDefault(true);
    creditsButton = new QPushButton("&Credits", this);
    buttons->addWidget(okButton);
    buttons->addWidget(creditsButton);
    v->addLayout(buttons);
    resize(340, 240);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(creditsButton, &QPushButton::clicked, this, &AboutBox::creditsRequested);
}

} // namespace lingrove::ui

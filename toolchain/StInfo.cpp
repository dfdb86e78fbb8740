#include "toolchain/StInfo.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>

namespace lingrove::toolchain {

TStInfo::TStInfo(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("StInfo");
    setFixedSize(342, 56);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Panel1 = new QLabel(QString::fromLatin1(RestingText), this);
    Panel1->setObjectName("Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(2);
    Panel1->setAlignment(Qt::AlignCenter);
    QFont font("MS Sans Serif");
    font.setPixelSize(17);
    Panel1->setFont(font);
    QPalette pal = Panel1->palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    Panel1->setPalette(pal);
    layout->addWidget(Panel1);
}

QString TStInfo::text() const { return Panel1->text(); }

void TStInfo::setText(const QString& text) { Panel1->setText(text); }

void TStInfo::showAndRepaint()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    show();
    raise();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TStInfo::showText(const QString& text)
{
    setText(text);
    showAndRepaint();
}

void TStInfo::hideAndReset()
{
    hide();
    setText(QString::fromLatin1(RestingText));
}

void pauseWithMessages(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() <= ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
}

void paintWhileWaiting() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

} // namespace lingrove::toolchain

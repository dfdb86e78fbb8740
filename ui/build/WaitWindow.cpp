#include "ui/build/WaitWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>

namespace lingrove::ui {

WaitWindow::WaitWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("StInfo");
    setFixedSize(342, 56);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    label_ = new QLabel(QString::fromLatin1(RestingText), this);
    label_->setObjectName("label_");
    label_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    label_->setLineWidth(2);
    label_->setAlignment(Qt::AlignCenter);
    QFont font("MS Sans Serif");
    font.setPixelSize(17);
    label_->setFont(font);
    QPalette pal = label_->palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    label_->setPalette(pal);
    layout->addWidget(label_);
}

QString WaitWindow::text() const { return label_->text(); }

void WaitWindow::setText(const QString& text) { label_->setText(text); }

void WaitWindow::showAndRepaint()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    show();
    raise();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void WaitWindow::showText(const QString& text)
{
    setText(text);
    showAndRepaint();
}

void WaitWindow::hideAndReset()
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

} // namespace lingrove::ui

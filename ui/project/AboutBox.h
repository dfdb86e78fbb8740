#pragma once
// "Info" and "Credits".
#include <QDialog>

class QPushButton;

namespace lingrove::ui {

class CreditsWindow : public QDialog {
    Q_OBJECT
public:
    explicit CreditsWindow(QWidget* parent);
    QPushButton* closeButton = nullptr;   // "&Close"
};

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent);
    QPushButton* okButton = nullptr;       // "&OK"
    QPushButton* creditsButton = nullptr;  // "&Credits"

signals:
    void creditsRequested();
};

// A panel whose lines scroll upwards, round and round, while it is visible.
class ScrollingPanel : public QWidget {
    Q_OBJECT
public:
    ScrollingPanel(const QStringList& lines, QWidget* parent);
    QSize sizeHint() const override { return {300, 140}; }

protected:
    void paintEvent(QPaintEvent*) override;
    void showEvent(QShowEvent*) override;
    void hideEvent(QHideEvent*) override;
    void timerEvent(QTimerEvent*) override;

private:
    QStringList lines_;
    int offset_ = 0;
    int timer_ = 0;
};

} // namespace lingrove::ui

#pragma once
// "ANSI Table": the 256 characters of the 8-bit Windows character set and
// the mark "TM", to append to the version wizard's focused edit field.
#include <QDialog>
#include <QPoint>
#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;

namespace lingrove::toolchain {

class TZeichentab : public QDialog {
    Q_OBJECT
public:
    explicit TZeichentab(QWidget* parent = nullptr);

    // Receives the magnifier's text on "&OK" or a double click on it.
    std::function<void(const QString&)> onAppend;

    // The text of the cell of a code (0..255): that one character.
    static QString cellText(int code);

    // What the handlers do; the mouse events call them.
    void cellClicked(int row, int column);
    void tmClicked();
    void OKClick();
    QString magnifierText() const { return magnifierText_; }

    QTableWidget* StringGrid1 = nullptr;
    QLabel* Magnifier = nullptr;
    QLabel* TMField = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CloseButton = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showMagnifier(const QString& text);
    QPoint lastPointer_;   // in grid pixels
    QString magnifierText_ = QStringLiteral("A");
};

} // namespace lingrove::toolchain

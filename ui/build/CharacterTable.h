#pragma once
// "ANSI Table": the 256 characters of the 8-bit Windows character set and
// the mark "TM", to append to the version wizard's focused edit field.
#include <QDialog>
#include <QPoint>
#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;

namespace lingrove::ui {

class CharacterTable : public QDialog {
    Q_OBJECT
public:
    explicit CharacterTable(QWidget* parent = nullptr);

    // Receives the magnifier's text on "&OK" or a double click on it.
    std::function<void(const QString&)> onAppend;

    // The text of the cell of a code (0..255): that one character.
    static QString cellText(int code);

    // What the handlers do; the mouse events call them.
    void cellClicked(int row, int column);
    void trademarkClicked();
    void okClicked();
    QString magnifierText() const { return magnifierText_; }

    QTableWidget* grid = nullptr;
    QLabel* magnifier = nullptr;
    QLabel* trademarkField = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* closeButton = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showMagnifier(const QString& text);
    QPoint lastPointer_;   // in grid pixels
    QString magnifierText_ = QStringLiteral("A");
};

} // namespace lingrove::ui

#pragma once
// The wait window: a borderless panel in the middle of the screen with one
// line of status text, shown while the compiler or the resource compiler
// runs.
#include <QWidget>

class QLabel;

namespace lingrove::ui {

class WaitWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* RestingText = "Please wait while compiling...";

    explicit WaitWindow(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    // Show (centred) and paint at once, not only when the event loop comes round.
    void showAndRepaint();
    // Set the text and paint it at once.
    void showText(const QString& text);
    // Hide and put the resting text back.
    void hideAndReset();

private:
    QLabel* label_ = nullptr;
};

// Waits about ms milliseconds while the application goes on processing its
// events (painting and input), then returns.
void pauseWithMessages(int ms);

// Keeps the windows painted while a process is waited for; input stays
// blocked until the wait ends.
void paintWhileWaiting();

} // namespace lingrove::ui

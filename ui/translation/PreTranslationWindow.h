#pragma once
// The window "Pre-translation": what pre-translating the project did (or, in
// a preview, would do): a row per unit and form with the entries written
// and whether the file was saved or changed in its page, under it a row per
// entry with its line, text, translation and what the checks found, or why
// it was left alone. A preview offers to pre-translate for real.
#include "ui/translation/ProjectPreTranslation.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace lingrove::ui {

class PreTranslationWindow : public QWidget {
    Q_OBJECT

public:
    explicit PreTranslationWindow(QWidget* mainWindow);

    // Shows outcome and brings the window to the front.
    void showOutcome(const PreTranslationOutcome& outcome);

    QTreeWidget* list() const { return list_; }
    QLabel* summary() const { return summary_; }
    QPushButton* translateButton() const { return translate_; }

signals:
    // "Pre-translate" in a preview.
    void translateRequested();

private:
    QTreeWidget* list_;
    QLabel* summary_;
    QPushButton* translate_;
};

} // namespace lingrove::ui

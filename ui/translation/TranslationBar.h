#pragma once
// The translation bar above the pages: the source text of the located entry
// (read-only, red), the translation typed or chosen, the "Word n" button, the
// "UNDO" button and the hidden proposal buttons S1..S5.
#include <QWidget>

#include <array>

class QLineEdit;
class QPushButton;

namespace lingrove::ui {

class TranslationBar : public QWidget {
    Q_OBJECT

public:
    explicit TranslationBar(QWidget* parent = nullptr);

    QLineEdit* sourceField() const { return source_; }
    QLineEdit* translationField() const { return translation_; }
    QPushButton* wordButton() const { return word_; }
    QPushButton* undoButton() const { return undo_; }
    QPushButton* proposalButton(int index) const { return proposals_[static_cast<std::size_t>(index)]; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* sourceLabel_;
    QLineEdit* translationLabel_;
    QLineEdit* source_;
    QLineEdit* translation_;
    QPushButton* word_;
    QPushButton* undo_;
    std::array<QPushButton*, 5> proposals_{};
};

// A read-only field that shows a caption, as the bars' labels are drawn.
QLineEdit* labelField(const QString& text, QWidget* parent);

} // namespace lingrove::ui

#pragma once
// The translation bar above the pages: the source text of the located entry
// (read-only, red), the translation typed or chosen, the "Word n" button, the
// "UNDO" button and, in the row under them, the proposal buttons S1..S5.
//
// A proposal button shows a stored translation of the source (an exact
// proposal) or, in a slot the exact ones leave free, the translation of a
// similar source: that one is drawn apart (italic on a tinted button, its
// similarity in front) and its tooltip names the source it translates.
#include <QWidget>

#include <array>

class QLineEdit;
class QPushButton;

namespace lingrove::ui {

// What one proposal button offers.
struct ProposalSlot {
    enum class Kind { Empty, Exact, Similar };
    Kind kind = Kind::Empty;
    QString text;         // the translation
    QString source;       // Similar: the stored source it translates
    int similarity = 0;   // Similar: percent

    bool isSimilar() const { return kind == Kind::Similar; }
};

class TranslationBar : public QWidget {
    Q_OBJECT

public:
    explicit TranslationBar(QWidget* parent = nullptr);

    QLineEdit* sourceField() const { return source_; }
    QLineEdit* translationField() const { return translation_; }
    QPushButton* wordButton() const { return word_; }
    QPushButton* undoButton() const { return undo_; }
    QPushButton* proposalButton(int index) const { return proposals_[static_cast<std::size_t>(index)]; }

    // Shows slot on proposal button index (0..4).
    void setProposal(int index, const ProposalSlot& slot);
    // Releases every proposal button (none is the chosen one).
    void releaseProposals();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeProposals();
    void elideProposal(int index);

    QLineEdit* sourceLabel_;
    QLineEdit* translationLabel_;
    QLineEdit* proposalLabel_;
    QLineEdit* source_;
    QLineEdit* translation_;
    QPushButton* word_;
    QPushButton* undo_;
    std::array<QPushButton*, 5> proposals_{};
    std::array<QString, 5> captions_;   // the buttons' whole texts, elided to fit
};

// A read-only field that shows a caption, as the bars' labels are drawn.
QLineEdit* labelField(const QString& text, QWidget* parent);

} // namespace lingrove::ui

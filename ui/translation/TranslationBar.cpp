#include "ui/translation/TranslationBar.h"

#include <QLineEdit>
#include <QPushButton>

namespace lingrove::ui {

namespace {

constexpr int kRowHeight = 23;
constexpr int kGap = 3;

// The tint of a button that offers a similar match.
QColor similarTint()
{
    return QColor(255, 236, 179);
}

} // namespace

QLineEdit* labelField(const QString& text, QWidget* parent)
{
    auto* e = new QLineEdit(text, parent);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}

TranslationBar::TranslationBar(QWidget* parent)
    : QWidget(parent)
    , sourceLabel_(labelField(QStringLiteral("Source"), this))
    , translationLabel_(labelField(QStringLiteral("Destination"), this))
    , proposalLabel_(labelField(QStringLiteral("Proposals"), this))
    , source_(new QLineEdit(this))
    , translation_(new QLineEdit(this))
    , word_(new QPushButton(QStringLiteral("Word 1"), this))
    , undo_(new QPushButton(QStringLiteral("UNDO"), this))
{
    setObjectName(QStringLiteral("Panel7"));
    setFixedHeight(81);
    sourceLabel_->setObjectName(QStringLiteral("Edit6"));
    translationLabel_->setObjectName(QStringLiteral("Edit7"));
    proposalLabel_->setObjectName(QStringLiteral("ProposalLabel"));
    sourceLabel_->setGeometry(4, 3, 101, kRowHeight);
    translationLabel_->setGeometry(4, 29, 101, kRowHeight);
    proposalLabel_->setGeometry(4, 55, 101, kRowHeight);

    source_->setObjectName(QStringLiteral("Edit1"));
    source_->setReadOnly(true);
    QPalette red = source_->palette();
    red.setColor(QPalette::Text, Qt::red);
    red.setColor(QPalette::Base, palette().color(QPalette::Button));
    source_->setPalette(red);
    translation_->setObjectName(QStringLiteral("Edit2"));
    source_->setGeometry(109, 3, 600, kRowHeight);
    translation_->setGeometry(109, 29, 600, kRowHeight);

    word_->setObjectName(QStringLiteral("SpeedButton19"));
    word_->setFocusPolicy(Qt::NoFocus);
    undo_->setObjectName(QStringLiteral("SpeedButton1"));
    undo_->setFocusPolicy(Qt::NoFocus);
    word_->resize(70, 49);
    undo_->resize(70, 49);

    for (int i = 0; i < 5; ++i) {
        auto* s = new QPushButton(this);
        s->setObjectName(QStringLiteral("SpeedButton%1").arg(6 + i));
        s->setCheckable(true);
        s->setAutoExclusive(true);
        // Choosing a proposal leaves the keyboard in the input.
        s->setFocusPolicy(Qt::NoFocus);
        proposals_[static_cast<std::size_t>(i)] = s;
        setProposal(i, {});
    }
    proposals_[0]->setChecked(true);
}

void TranslationBar::setProposal(int index, const ProposalSlot& slot)
{
    QPushButton* button = proposalButton(index);
    const QString key = QStringLiteral("Ctrl+%1").arg(index + 1);
    QString caption;
    QString tip;
    switch (slot.kind) {
    case ProposalSlot::Kind::Empty:
        tip = QStringLiteral("S%1: no proposal").arg(index + 1);
        break;
    case ProposalSlot::Kind::Exact:
        caption = slot.text;
        tip = QStringLiteral("S%1 (%2, F2): stored translation of the source\n%3").arg(index + 1).arg(key, slot.text);
        break;
    case ProposalSlot::Kind::Similar:
        caption = QStringLiteral("%1% %2").arg(slot.similarity).arg(slot.text);
        tip = QStringLiteral("S%1 (%2, F2): similar match, %3% alike; used only when chosen\n"
                             "Translation of \u201C%4\u201D:\n%5")
                  .arg(index + 1)
                  .arg(key)
                  .arg(slot.similarity)
                  .arg(slot.source, slot.text);
        break;
    }
    captions_[static_cast<std::size_t>(index)] = caption;
    button->setToolTip(tip);
    button->setEnabled(slot.kind != ProposalSlot::Kind::Empty);
    button->setProperty("similar", slot.isSimilar());

    QFont font = this->font();
    font.setItalic(slot.isSimilar());
    button->setFont(font);
    QPalette palette = this->palette();
    if (slot.isSimilar())
        palette.setColor(QPalette::Button, similarTint());
    button->setPalette(palette);
    elideProposal(index);
}

void TranslationBar::releaseProposals()
{
    // An exclusive group keeps one button down; it lets go only while not exclusive.
    for (QPushButton* button : proposals_)
        button->setAutoExclusive(false);
    for (QPushButton* button : proposals_) {
        button->setChecked(false);
        button->setAutoExclusive(true);
    }
}

void TranslationBar::elideProposal(int index)
{
    QPushButton* button = proposalButton(index);
    const QString& caption = captions_[static_cast<std::size_t>(index)];
    button->setText(button->fontMetrics().elidedText(caption, Qt::ElideRight, qMax(0, button->width() - 12)));
}

void TranslationBar::placeProposals()
{
    const int left = source_->x();
    const int room = width() - left - 4;
    const int each = qMax(30, (room - 4 * kGap) / 5);
    for (int i = 0; i < 5; ++i) {
        proposalButton(i)->setGeometry(left + i * (each + kGap), 55, each, kRowHeight);
        elideProposal(i);
    }
}

void TranslationBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The fields take the width the two buttons leave.
    const int w = width() - source_->x() - word_->width() - undo_->width() - 9;
    source_->resize(qMax(40, w), source_->height());
    translation_->resize(source_->width(), translation_->height());
    word_->move(source_->x() + source_->width() + 3, 3);
    undo_->move(source_->x() + source_->width() + 4 + word_->width(), 3);
    placeProposals();
}

} // namespace lingrove::ui

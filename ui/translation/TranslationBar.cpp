#include "ui/translation/TranslationBar.h"

#include <QLineEdit>
#include <QPushButton>

namespace lingrove::ui {

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
    , source_(new QLineEdit(this))
    , translation_(new QLineEdit(this))
    , word_(new QPushButton(QStringLiteral("Word 1"), this))
    , undo_(new QPushButton(QStringLiteral("UNDO"), this))
{
    setObjectName(QStringLiteral("Panel7"));
    setFixedHeight(55);
    sourceLabel_->setObjectName(QStringLiteral("Edit6"));
    translationLabel_->setObjectName(QStringLiteral("Edit7"));
    sourceLabel_->setGeometry(4, 3, 101, 23);
    translationLabel_->setGeometry(4, 29, 101, 23);

    source_->setObjectName(QStringLiteral("Edit1"));
    source_->setReadOnly(true);
    QPalette red = source_->palette();
    red.setColor(QPalette::Text, Qt::red);
    red.setColor(QPalette::Base, palette().color(QPalette::Button));
    source_->setPalette(red);
    translation_->setObjectName(QStringLiteral("Edit2"));
    source_->setGeometry(109, 3, 600, 23);
    translation_->setGeometry(109, 29, 600, 23);

    word_->setObjectName(QStringLiteral("SpeedButton19"));
    word_->setFocusPolicy(Qt::NoFocus);
    undo_->setObjectName(QStringLiteral("SpeedButton1"));
    undo_->setFocusPolicy(Qt::NoFocus);
    word_->resize(70, 49);
    undo_->resize(70, 49);

    for (int i = 0; i < 5; ++i) {
        auto* s = new QPushButton(QStringLiteral("S%1").arg(i + 1), this);
        s->setObjectName(QStringLiteral("SpeedButton%1").arg(6 + i));
        s->setCheckable(true);
        s->setAutoExclusive(true);
        s->setVisible(false);
        proposals_[static_cast<std::size_t>(i)] = s;
    }
    proposals_[0]->setChecked(true);
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
}

} // namespace lingrove::ui

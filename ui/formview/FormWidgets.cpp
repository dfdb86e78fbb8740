// The painted controls of a form's window and the alignment of its controls.
#include "ui/formview/FormWidgets.h"

#include "ui/formview/FormValues.h"

#include <QEvent>
#include <QPainter>
#include <QTabBar>
#include <qdrawutil.h>

#include <algorithm>
#include <map>

namespace lingrove::ui::formview {

Align alignOf(const std::string& name)
{
    static const std::map<std::string, Align, std::less<>> names = {
        {"altop", Align::Top},   {"albottom", Align::Bottom}, {"alleft", Align::Left},
        {"alright", Align::Right}, {"alclient", Align::Client}, {"alnone", Align::None},
    };
    const auto it = names.find(lower(name));
    return it == names.end() ? Align::None : it->second;
}

void PanelWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QRect r = rect();
    if (single) {
        p.setPen(palette().color(QPalette::WindowText));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
    if (outer) {
        qDrawShadePanel(&p, r, palette(), outer < 0, bevelWidth);
        r.adjust(bevelWidth, bevelWidth, -bevelWidth, -bevelWidth);
    }
    r.adjust(borderWidth, borderWidth, -borderWidth, -borderWidth);
    if (inner) {
        qDrawShadePanel(&p, r, palette(), inner < 0, bevelWidth);
        r.adjust(bevelWidth, bevelWidth, -bevelWidth, -bevelWidth);
    }
    if (!caption.isEmpty()) {
        p.setPen(palette().color(isEnabled() ? QPalette::Normal : QPalette::Disabled, QPalette::WindowText));
        p.drawText(r, static_cast<int>(alignment | Qt::TextShowMnemonic), caption);
    }
}

void BevelWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    const QColor dark = pal.color(QPalette::Dark), light = pal.color(QPalette::Light);
    const QColor first = raised ? light : dark, second = raised ? dark : light;
    const int w = width(), h = height();
    auto hline = [&](int y) {
        p.setPen(first);
        p.drawLine(0, y, w - 1, y);
        p.setPen(second);
        p.drawLine(0, y + 1, w - 1, y + 1);
    };
    auto vline = [&](int x) {
        p.setPen(first);
        p.drawLine(x, 0, x, h - 1);
        p.setPen(second);
        p.drawLine(x + 1, 0, x + 1, h - 1);
    };
    if (shape == "bstopline")
        hline(0);
    else if (shape == "bsbottomline")
        hline(h - 2);
    else if (shape == "bsleftline")
        vline(0);
    else if (shape == "bsrightline")
        vline(w - 2);
    else if (shape == "bsframe") {
        p.setPen(first);
        p.drawRect(0, 0, w - 2, h - 2);
        p.setPen(second);
        p.drawRect(1, 1, w - 2, h - 2);
    } else if (shape == "bsbox")
        qDrawShadeRect(&p, rect(), pal, !raised, 1);
    // bsSpacer draws nothing
}

void ShapeWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(pen);
    p.setBrush(brush);
    const int pw = std::max(1, pen.width());
    QRectF r(pw / 2.0, pw / 2.0, width() - pw, height() - pw);
    if (shape.startsWith("stsquare") || shape == "stroundsquare" || shape == "stcircle") {
        const qreal side = std::min(r.width(), r.height());
        r = QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
    }
    if (shape == "stellipse" || shape == "stcircle")
        p.drawEllipse(r);
    else if (shape == "stroundrect" || shape == "stroundsquare") {
        const qreal radius = std::min(r.width(), r.height()) / 4;
        p.drawRoundedRect(r, radius, radius);
    } else
        p.drawRect(r);
}

void PlaceholderWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(255, 255, 255, 96));
    QPen pen(palette().color(QPalette::Dark));
    pen.setStyle(Qt::DashLine);
    p.setPen(pen);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.drawLine(0, 0, width() - 1, height() - 1);
    p.drawLine(0, height() - 1, width() - 1, 0);
    p.setPen(palette().color(QPalette::WindowText));
    const QRect inner = rect().adjusted(2, 2, -2, -2);
    const QRect box = p.boundingRect(inner, Qt::AlignCenter, text).adjusted(-2, 0, 2, 0);
    p.fillRect(box & inner, palette().color(QPalette::Window));
    p.drawText(inner, Qt::AlignCenter, text);
}

TabControlWidget::TabControlWidget(QWidget* parent)
    : QWidget(parent), tabs(new QTabBar(this))
{
    tabs->setDrawBase(false);
    tabs->setExpanding(false);
}

int TabControlWidget::tabHeight() const
{
    return tabs->count() ? tabs->sizeHint().height() : 0;
}

void TabControlWidget::resizeEvent(QResizeEvent*)
{
    tabs->setGeometry(0, 0, width(), tabHeight());
}

void TabControlWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    qDrawShadePanel(&p, QRect(0, tabHeight() - 1, width(), height() - tabHeight() + 1), palette(), false, 1);
}

AlignFilter::AlignFilter(QWidget* container, QMargins insets)
    : QObject(container), container_(container), insets_(insets)
{
    container->installEventFilter(this);
}

void AlignFilter::add(QWidget* w, Align align, QRect designed)
{
    int key = 0;
    switch (align) {
    case Align::Top: key = designed.top(); break;
    case Align::Bottom: key = -(designed.bottom() + 1); break;
    case Align::Left: key = designed.left(); break;
    case Align::Right: key = -(designed.right() + 1); break;
    default: break;
    }
    Control control{w, align, key};
    const auto at = std::upper_bound(controls_.begin(), controls_.end(), control,
                                     [](const Control& a, const Control& b) { return a.key < b.key; });
    controls_.insert(at, control);
}

void AlignFilter::realign()
{
    QRect r = container_->rect().marginsRemoved(insets_);
    for (Align kind : {Align::Top, Align::Bottom, Align::Left, Align::Right, Align::Client}) {
        for (const auto& [w, align, key] : controls_) {
            if (!w || align != kind || w->isHidden())
                continue;
            const QSize size = w->size();
            switch (kind) {
            case Align::Top:
                w->setGeometry(r.left(), r.top(), r.width(), size.height());
                r.setTop(r.top() + size.height());
                break;
            case Align::Bottom:
                w->setGeometry(r.left(), r.bottom() + 1 - size.height(), r.width(), size.height());
                r.setBottom(r.bottom() - size.height());
                break;
            case Align::Left:
                w->setGeometry(r.left(), r.top(), size.width(), r.height());
                r.setLeft(r.left() + size.width());
                break;
            case Align::Right:
                w->setGeometry(r.right() + 1 - size.width(), r.top(), size.width(), r.height());
                r.setRight(r.right() - size.width());
                break;
            default:
                w->setGeometry(r.left(), r.top(), std::max(0, r.width()), std::max(0, r.height()));
                break;
            }
        }
    }
}

bool AlignFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == container_ && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        realign();
    return false;
}

} // namespace lingrove::ui::formview

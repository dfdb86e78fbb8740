#pragma once
// The widgets of a form's window that Qt has no match for, drawn as the VCL
// draws its controls, and the layout of aligned controls.
#include <QBrush>
#include <QFrame>
#include <QMargins>
#include <QPen>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <string>
#include <vector>

class QTabBar;

namespace lingrove::ui::formview {

enum class Align { None, Top, Bottom, Left, Right, Client };

// alTop, alClient, ... in any letter case; None for what is no alignment.
Align alignOf(const std::string& name);

// Panel: outer and inner bevel, border, caption.
class PanelWidget : public QWidget {
public:
    using QWidget::QWidget;
    QString caption;
    int outer = 1, inner = 0; // 0 none, 1 raised, -1 lowered
    int bevelWidth = 1, borderWidth = 0;
    bool single = false;
    Qt::Alignment alignment = Qt::AlignCenter;

    int inset() const
    {
        return borderWidth + (outer ? bevelWidth : 0) + (inner ? bevelWidth : 0) + (single ? 1 : 0);
    }

protected:
    void paintEvent(QPaintEvent*) override;
};

class BevelWidget : public QWidget {
public:
    using QWidget::QWidget;
    QString shape = "bsbox";
    bool raised = false;

protected:
    void paintEvent(QPaintEvent*) override;
};

class ShapeWidget : public QWidget {
public:
    using QWidget::QWidget;
    QString shape = "strectangle";
    QBrush brush = QBrush(Qt::white);
    QPen pen = QPen(Qt::black);

protected:
    void paintEvent(QPaintEvent*) override;
};

// A component of a class the viewer does not know, as a frame of its size.
class PlaceholderWidget : public QWidget {
public:
    using QWidget::QWidget;
    QString text;

protected:
    void paintEvent(QPaintEvent*) override;
};

// A tab control: tabs across the top, a panel below; its controls stand on
// the panel regardless of the tab shown.
class TabControlWidget : public QWidget {
public:
    explicit TabControlWidget(QWidget* parent);
    QTabBar* tabs;

    int tabHeight() const;

protected:
    void resizeEvent(QResizeEvent*) override;
    void paintEvent(QPaintEvent*) override;
};

class StatusBarWidget : public QFrame {
public:
    using QFrame::QFrame;
};

// Lays out the aligned controls of one container as the VCL does: the
// alTop ones from the top down, then alBottom from the bottom up, alLeft,
// alRight, and alClient in what is left. Controls of one kind take their
// turns by their designed place (alTop by top edge, alBottom by bottom edge
// from below, alLeft by left edge, alRight by right edge from the right),
// in creation order where that is the same; so a splitter stored before
// the tree view left of it still comes after it.
class AlignFilter : public QObject {
public:
    // insets: the container's border, inside which the controls stand.
    AlignFilter(QWidget* container, QMargins insets);

    // designed: the control's place as stored in the form.
    void add(QWidget* w, Align align, QRect designed);
    void realign();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* container_;
    QMargins insets_;
    struct Control {
        QPointer<QWidget> widget;
        Align align;
        int key;
    };
    std::vector<Control> controls_;   // by key, then in creation order
};

} // namespace lingrove::ui::formview

#pragma once
// "&View as form": the active form page, saved, shown as a live window.
#include <QObject>

class QAction;

namespace lingrove::model {
class Workspace;
}

namespace lingrove::ui {

class Shell;

class FormViewFeature : public QObject {
    Q_OBJECT

public:
    FormViewFeature(model::Workspace& workspace, Shell& shell, QObject* parent = nullptr);

    QAction* viewAsFormAction() const { return viewAsForm_; }

    // Saves the active page and shows its form file as a window.
    void viewAsForm();

private:
    model::Workspace& workspace_;
    Shell& shell_;
    QAction* viewAsForm_;
};

} // namespace lingrove::ui

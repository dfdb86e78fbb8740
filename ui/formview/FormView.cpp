// The window of a form, built from its component tree.
#include "ui/formview/FormView.h"

#include "ui/formview/FormBuilder.h"

#include <QFont>
#include <QStringList>

namespace lingrove::ui {

namespace {

// The fonts that forms name most, where Windows' own are missing: look-alikes
// of about the same width.
void addFontSubstitutes()
{
    static const bool added = [] {
        const QStringList sans{"Microsoft Sans Serif", "Arial", "Liberation Sans", "Nimbus Sans", "Helvetica"};
        const QStringList serif{"Times New Roman", "Liberation Serif", "Nimbus Roman", "Times"};
        const QStringList mono{"Courier New", "Liberation Mono", "Nimbus Mono PS", "Courier"};
        for (const char* family : {"MS Sans Serif", "System", "MS Shell Dlg", "MS Shell Dlg 2"})
            QFont::insertSubstitutions(family, sans);
        QFont::insertSubstitutions("Arial", sans.mid(2));
        QFont::insertSubstitutions("MS Serif", serif);
        QFont::insertSubstitutions("Times New Roman", serif.mid(1));
        QFont::insertSubstitutions("Courier", mono);
        QFont::insertSubstitutions("Courier New", mono.mid(1));
        return true;
    }();
    (void)added;
}

} // namespace

FormView::FormView(const formfile::FormComponent& form, QWidget* parent)
    : QDialog(parent)
{
    addFontSubstitutes();
    formview::FormBuilder(*this, form).build();
}

FormView::~FormView() = default;

} // namespace lingrove::ui

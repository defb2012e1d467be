// zvLib, the colour chooser of the options dialog's colour fields.
#include "app/zvLib_pickcolor.h"

#include "app/zvModal.h"

#include <QColorDialog>
#include <QPalette>
#include <QWidget>

namespace zvLib {

void PickColor(QWidget& box)
{
    QColorDialog dialog(box.palette().color(QPalette::Window), &box);
    dialog.setObjectName("dlgColor");
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    ShowModal(dialog);
    if (dialog.result() != QDialog::Accepted) {
        return;
    }
    QPalette palette = box.palette();
    palette.setColor(QPalette::Window, dialog.currentColor());
    box.setAutoFillBackground(true);
    box.setPalette(palette);
}

}  // namespace zvLib

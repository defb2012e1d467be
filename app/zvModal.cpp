// Message boxes as QMessageBox with the program's title, and modal dialogs through exec, both
// handed to the installed script instead when there is one.
#include "app/zvModal.h"

#include "model/zvUI.h"
#include "platform/cQtConvert.h"

#include <QDialog>
#include <QMessageBox>
#include <QPushButton>

#include <utility>
#include <vector>

namespace {

using Buttons = std::vector<std::pair<QMessageBox::StandardButton, int>>;

// The buttons of a style, in their order on the box, with the answer each gives.
Buttons buttonsOf(int style)
{
    switch (style & 7) {
    case 1:
        return {{QMessageBox::Ok, vbMsg::OK}, {QMessageBox::Cancel, vbMsg::Cancel}};
    case 3:
        return {{QMessageBox::Yes, vbMsg::Yes},
                {QMessageBox::No, vbMsg::No},
                {QMessageBox::Cancel, vbMsg::Cancel}};
    case 4:
        return {{QMessageBox::Yes, vbMsg::Yes}, {QMessageBox::No, vbMsg::No}};
    default:
        return {{QMessageBox::Ok, vbMsg::OK}};
    }
}

QMessageBox::Icon iconOf(int style)
{
    switch (style & 0x70) {
    case vbMsg::Critical:
        return QMessageBox::Critical;
    case vbMsg::Question:
        return QMessageBox::Question;
    case vbMsg::Exclamation:
        return QMessageBox::Warning;
    case vbMsg::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

namespace zvLib {

int MsgBox(const std::string& text, int style, const std::string& title)
{
    const std::string caption = title.empty() ? std::string(kAppTitle) : title;
    if (ModalScript) {
        return ModalScript->MsgBox(text, style, caption);
    }
    QMessageBox box(iconOf(style), cQtConvert::ToQString(caption), cQtConvert::ToQString(text));
    const Buttons buttons = buttonsOf(style);
    for (const auto& b : buttons) {
        box.addButton(b.first);
    }
    const std::size_t def = static_cast<std::size_t>((style >> 8) & 3);
    box.setDefaultButton(buttons[def < buttons.size() ? def : 0].first);
    const auto answer = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const auto& b : buttons) {
        if (b.first == answer) {
            return b.second;
        }
    }
    return buttons.size() == 1 ? buttons[0].second : vbMsg::Cancel;
}

void ShowModal(QDialog& dialog)
{
    if (!ModalScript) {
        dialog.exec();
        return;
    }
    dialog.show();
    ModalScript->Answer(dialog);
    if (dialog.isVisible()) {
        dialog.reject();
    }
}

} // namespace zvLib

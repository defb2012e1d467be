// zvQtUI: the model's requests to the user interface carried out by the Qt windows and the
// program's own services (message boxes, status line, set loading, canvas drawing).
#include "app/zvQtUI.h"

#include "app/core/zvLib_sets.h"
#include "app/zvLib_shell.h"
#include "app/zvModal.h"
#include "foundation/zvLib_canvas.h"
#include "platform/cQtConvert.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using cQtConvert::FromQString;
using cQtConvert::ToQString;

frmInput::frmInput(const std::string& prompt, const std::string& title, const std::string& initial)
    : txt_(new QLineEdit(this))
{
    setObjectName("frmInput");
    setWindowTitle(ToQString(title.empty() ? std::string(zvLib::kAppTitle) : title));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(ToQString(prompt), this);
    label->setObjectName("lblPrompt");
    label->setWordWrap(true);
    layout->addWidget(label);
    txt_->setObjectName("txt");
    txt_->setText(ToQString(initial));
    txt_->selectAll();
    layout->addWidget(txt_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setObjectName("cmdOK");
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName("cmdCancel");
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

std::string frmInput::Text() const
{
    return FromQString(txt_->text());
}

void zvQtUI::ClipboardClear()
{
    QGuiApplication::clipboard()->clear();
}

void zvQtUI::ClipboardSetText(const std::string& text)
{
    QGuiApplication::clipboard()->setText(ToQString(text));
}

std::string zvQtUI::ClipboardGetText()
{
    return FromQString(QGuiApplication::clipboard()->text());
}

std::optional<std::string> zvQtUI::InputBox(const std::string& prompt, const std::string& title,
                                            const std::string& initial)
{
    frmInput box(prompt, title, initial);
    zvLib::ShowModal(box);
    if (box.result() != QDialog::Accepted) {
        return std::nullopt;
    }
    return box.Text();
}

int zvQtUI::MsgBox(const std::string& text, int style, const std::string& title)
{
    return zvLib::MsgBox(text, style, title);
}

void zvQtUI::SetStatus(const std::string& text, bool beep)
{
    std::string message = text;
    zvLib::SetStatus(message, beep);
}

zvViewRect zvQtUI::GetViewRect()
{
    const cSurface* pic = zvLib::MainPic;
    if (pic == nullptr) {
        return {};
    }
    return {pic->ScaleLeft(), pic->ScaleTop(), pic->ScaleWidth(), pic->ScaleHeight()};
}

void zvQtUI::SetViewRect(const zvViewRect& rect)
{
    cSurface* pic = zvLib::MainPic;
    if (pic == nullptr) {
        return;
    }
    pic->ScaleLeft(rect.ScaleLeft);
    pic->ScaleTop(rect.ScaleTop);
    pic->ScaleWidth(rect.ScaleWidth);
    pic->ScaleHeight(rect.ScaleHeight);
}

void zvQtUI::DrawGrid()
{
    // The canvas draws its grid here once it is in place.
}

void zvQtUI::DrawCross()
{
    // The canvas draws its origin cross here once it is in place.
}

std::int16_t zvQtUI::LoadSet(const std::string& setCode)
{
    return zvLib::LoadSet(setCode);
}

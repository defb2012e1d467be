// zvQtUI: each request of the model handed to the window or service that answers it.
#include "app/zvQtUI.h"

#include "app/core/zvLib_sets.h"
#include "app/zvLib_shell.h"
#include "app/zvModal.h"
#include "foundation/zvLib_canvas.h"
#include "platform/cQtConvert.h"
#include "view/zvLib_view.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputDialog>

void zvQtUI::ClipboardClear()
{
    QGuiApplication::clipboard()->clear();
}

void zvQtUI::ClipboardSetText(const std::string& text)
{
    QGuiApplication::clipboard()->setText(cQtConvert::ToQString(text));
}

std::string zvQtUI::ClipboardGetText()
{
    return cQtConvert::FromQString(QGuiApplication::clipboard()->text());
}

std::optional<std::string> zvQtUI::InputBox(const std::string& prompt, const std::string& title,
                                            const std::string& initial)
{
    QInputDialog box;
    box.setObjectName("InputBox");
    box.setWindowTitle(cQtConvert::ToQString(title.empty() ? zvLib::kAppTitle : title));
    box.setLabelText(cQtConvert::ToQString(prompt));
    box.setTextValue(cQtConvert::ToQString(initial));
    zvLib::ShowModal(box);
    if (box.result() != QDialog::Accepted) {
        return std::nullopt;
    }
    return cQtConvert::FromQString(box.textValue());
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
    return zvLib::MainPic != nullptr ? zvLib::ViewRect() : zvViewRect{};
}

void zvQtUI::SetViewRect(const zvViewRect& rect)
{
    if (zvLib::MainPic != nullptr) {
        zvLib::ViewRect(rect);
    }
}

void zvQtUI::DrawGrid()
{
    zvLib::DrawGrid();
}

void zvQtUI::DrawCross()
{
    zvLib::DrawCross();
}

std::int16_t zvQtUI::LoadSet(const std::string& setCode)
{
    return zvLib::LoadSet(setCode);
}

// The window registry and the captioning of windows from the language table. A window is
// recognised by identity with the program's instance of its kind; the main window's captions
// are its toolbar control's, the other translatable windows install their own routine.
#include "view/zvLang_forms.h"

#include "foundation/zvLang.h"
#include "platform/cBarModel.h"
#include "view/frmMain.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <map>

namespace {

struct Loaded {
    zvForm kind;
    QPointer<QWidget> form;
};

std::vector<Loaded>& loaded()
{
    static std::vector<Loaded> forms;
    return forms;
}

std::vector<QPointer<QWidget>>& unloaded()
{
    static std::vector<QPointer<QWidget>> forms;
    return forms;
}

std::map<zvForm, std::function<void(QWidget&)>>& translators()
{
    static std::map<zvForm, std::function<void(QWidget&)>> t;
    return t;
}

std::map<zvForm, std::function<void(QWidget&)>>& unloaders()
{
    static std::map<zvForm, std::function<void(QWidget&)>> u;
    return u;
}

void dropDestroyed()
{
    auto& v = loaded();
    v.erase(std::remove_if(v.begin(), v.end(), [](const Loaded& l) { return l.form.isNull(); }),
            v.end());
}

void captionTool(cBarTool& tool)
{
    const zvLang::ToolTexts texts = zvLang::ToolCaptionAndTip(tool.Name());
    tool.Caption(texts.caption);
    tool.ToolTipText(texts.tip);
}

} // namespace

namespace zvLib {

void LoadForm(zvForm kind, QWidget* form)
{
    dropDestroyed();
    auto& v = loaded();
    v.erase(std::remove_if(v.begin(), v.end(), [kind](const Loaded& l) { return l.kind == kind; }),
            v.end());
    if (form != nullptr) {
        v.push_back({kind, form});
    }
}

QWidget* Form(zvForm kind)
{
    dropDestroyed();
    for (const Loaded& l : loaded()) {
        if (l.kind == kind) {
            return l.form.data();
        }
    }
    return nullptr;
}

std::vector<QWidget*> LoadedForms()
{
    dropDestroyed();
    std::vector<QWidget*> forms;
    for (const Loaded& l : loaded()) {
        forms.push_back(l.form.data());
    }
    return forms;
}

void Unload(zvForm kind)
{
    QWidget* form = Form(kind);
    if (form == nullptr) {
        return;
    }
    LoadForm(kind, nullptr);
    if (const auto it = unloaders().find(kind); it != unloaders().end()) {
        it->second(*form);
    }
    form->hide();
    unloaded().emplace_back(form);
    form->deleteLater();
}

void FormUnloader(zvForm kind, std::function<void(QWidget&)> unload)
{
    unloaders()[kind] = std::move(unload);
}

void DestroyUnloadedForms()
{
    for (QPointer<QWidget>& form : unloaded()) {
        delete form.data();
    }
    unloaded().clear();
}

void TranslateOpenForms()
{
    for (QWidget* form : LoadedForms()) {
        if (form->isVisible()) {
            zvLang::TranslateForm(*form);
        }
    }
}

} // namespace zvLib

namespace zvLang {

void TranslateForm(QWidget& form)
{
    static const zvForm kOrder[] = {zvForm::frmMain, zvForm::frmReport, zvForm::frmOpt,
                                    zvForm::frmInfo};
    for (zvForm kind : kOrder) {
        if (zvLib::Form(kind) != &form) {
            continue;
        }
        if (kind == zvForm::frmMain) {
            TranslateBars(static_cast<frmMain&>(form).abr);
        } else if (const auto it = translators().find(kind); it != translators().end()) {
            it->second(form);
        }
        return;
    }
}

void FormTranslator(zvForm kind, std::function<void(QWidget&)> translate)
{
    translators()[kind] = std::move(translate);
}

void TranslateBars(cBarModel& abr)
{
    for (int b = 0; b < abr.BandCount(); ++b) {
        cBarBand& band = abr.Band(b);
        if (band.Name() == "sbr") {
            continue;
        }
        for (int t = 0; t < band.ToolCount(); ++t) {
            cBarTool& tool = band.Tool(t);
            if (tool.ControlType() != cBarToolType::Separator) {
                captionTool(tool);
            }
        }
    }
    if (cBarBand* ibr = abr.FindBand("ibr"); ibr != nullptr && ibr->ChildBandCount() >= 3) {
        static const char* const kTabs[] = {"$items", "$snippets", "$draw"};
        for (int i = 0; i < 3; ++i) {
            ibr->ChildBand(i).Caption(Translate(kTabs[i]));
        }
        // The drawing tab holds fixed tools; the pieces and snippets tabs are filled with the
        // set's own texts.
        cBarBand& draw = ibr->ChildBand(2);
        for (int t = 0; t < draw.ToolCount(); ++t) {
            if (draw.Tool(t).ControlType() != cBarToolType::Separator) {
                captionTool(draw.Tool(t));
            }
        }
    }
    abr.RecalcLayout();
}

} // namespace zvLang

// The program's windows, one instance of each at most, kept in the order they were loaded;
// TranslateForm captions the program's instance of a translatable window from the language
// table, and TranslateOpenForms does so again for every visible window after a language change.
#pragma once

#include <functional>
#include <vector>

class QWidget;
class cBarModel;

// The program's windows.
enum class zvForm {
    frmMain,   // the main window
    frmSplash, // splash, start page, about page and language chooser
    frmOpt,    // the options dialog
    frmReport, // the report view
    frmInfo,   // the info window
    frmEdit,   // the piece editor view
    frmTest,   // the canvas test window
    frmDXF,    // the DXF placement dialog
};

namespace zvLib {

// Records the instance of a window (in place of an earlier one); it counts as loaded until it
// is destroyed or unloaded.
void LoadForm(zvForm kind, QWidget* form);
// The loaded instance of a window, or null.
QWidget* Form(zvForm kind);
// The loaded windows in the order they were loaded.
std::vector<QWidget*> LoadedForms();
// Runs the window's unload routine (FormUnloader), hides the window and destroys it on the
// next turn of the event loop (or at the latest when the program ends); nothing when it is
// not loaded.
void Unload(zvForm kind);
// Installs what a window of that kind does when it is unloaded (saving its layout, say); the
// window's own code installs it.
void FormUnloader(zvForm kind, std::function<void(QWidget&)> unload);
// Destroys every window still waiting to be destroyed.
void DestroyUnloadedForms();

// Captions every visible loaded window again in the current language (the language file is
// not read again); hidden windows keep their texts.
void TranslateOpenForms();

} // namespace zvLib

namespace zvLang {

// Captions the window from the language table when it is the program's instance of a
// translatable window, tried in the order main window, report view, options dialog, info
// window; any other window is left as it is.
void TranslateForm(QWidget& form);
// Installs how the program's instance of a translatable window other than the main window is
// captioned; the window's own code installs it.
void FormTranslator(zvForm kind, std::function<void(QWidget&)> translate);

// Captions the main window's toolbar control: every tool of every band but "sbr" that is not
// a separator, the fixed tools of the item bar's "draw" tab, and the item bar's three tabs;
// then the bands are laid out again.
void TranslateBars(cBarModel& abr);

} // namespace zvLang

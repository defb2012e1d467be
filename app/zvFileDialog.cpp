// The circuit file dialogs over QFileDialog. With a test script installed the dialog is Qt's
// own widget dialog (never the desktop's), so that the script finds and fills it.
#include "app/zvFileDialog.h"

#include "app/zvModal.h"
#include "foundation/zvLang.h"
#include "platform/cQtConvert.h"
#include "view/zvLang_forms.h"

#include <QFileDialog>
#include <QRegularExpression>

#include <cstdlib>
#include <memory>
#include <vector>

using cQtConvert::FromQString;
using cQtConvert::ToQString;

namespace {

std::vector<std::string> SplitAtBars(const std::string& text)
{
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == '|') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

// The description without a bracketed list at its end ("Zorv circuits (*.zv5)" gives
// "Zorv circuits"); the list, when it holds patterns, goes to listed.
QString BareDescription(const std::string& description, QString& listed)
{
    QString d = ToQString(description).trimmed();
    listed.clear();
    if (d.endsWith(')')) {
        const qsizetype open = d.lastIndexOf('(');
        if (open > 0) {
            const QString inside = d.mid(open + 1, d.size() - open - 2);
            if (inside.contains('*')) {
                listed = inside;
            }
            d = d.left(open).trimmed();
        }
    }
    return d;
}

QString QtPatterns(const QString& patterns)
{
    QStringList list;
    for (const QString& p : patterns.split(QRegularExpression("[;, ]"), Qt::SkipEmptyParts)) {
        const QString trimmed = p.trimmed();
        list << (trimmed == "*.*" ? QString("*") : trimmed);
    }
    return list.join(' ');
}

// Shows the dialog offering the name; the chosen path, or "" when it was not accepted.
std::string Run(QFileDialog& dialog, const std::string& fileName)
{
    dialog.setNameFilters(zvLib::QtNameFilters(zvLib::CircuitFileFilter()));
    dialog.selectNameFilter(dialog.nameFilters().value(0));
    dialog.setDefaultSuffix(zvLib::kCircuitDefaultExt);
    if (!fileName.empty()) {
        dialog.selectFile(ToQString(fileName));
    }
    if (zvLib::ModalScript) {
        dialog.setOption(QFileDialog::DontUseNativeDialog);
    }
    dialog.setModal(true);
    zvLib::ShowModal(dialog);
    if (dialog.result() != QDialog::Accepted) {
        return {};
    }
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? std::string() : FromQString(files.front());
}

// The folder as the dialog is to show it. Qt's dialog takes ".." as text, so the path up to
// its last ".." part is first looked up as the system does: after a link, ".." leads up from
// the folder the link leads to. Links after it keep their names.
QString ShownFolder(const std::string& folder)
{
    std::size_t end = 0; // where the last ".." part ends
    for (std::size_t at = folder.find(".."); at != std::string::npos;
         at = folder.find("..", at + 1)) {
        const bool starts = at == 0 || folder[at - 1] == '/';
        const bool ends = at + 2 == folder.size() || folder[at + 2] == '/';
        if (starts && ends) {
            end = at + 2;
        }
    }
    if (end == 0) {
        return ToQString(folder);
    }
    std::unique_ptr<char, decltype(&std::free)> real(
        realpath(folder.substr(0, end).c_str(), nullptr), &std::free);
    return ToQString(real ? std::string(real.get()) + folder.substr(end) : folder);
}

} // namespace

namespace zvLib {

std::string CircuitFileFilter()
{
    return zvLang::Translate("$zorvProject") + " (*.zv5, *.zv6, *.zvd)|*.zv?|" +
           zvLang::Translate("$allFilesTypes") + "|*.*";
}

QStringList QtNameFilters(const std::string& filter)
{
    const std::vector<std::string> parts = SplitAtBars(filter);
    QStringList filters;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        QString listed;
        const QString description = BareDescription(parts[i], listed);
        const QString patterns = listed.isEmpty() ? ToQString(parts[i + 1]) : listed;
        filters << description + " (" + QtPatterns(patterns) + ")";
    }
    return filters;
}

std::string ShowOpenDialog(const std::string& folder)
{
    QFileDialog dialog(Form(zvForm::frmMain), QString(), ShownFolder(folder));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return Run(dialog, {});
}

std::string ShowSaveDialog(const std::string& folder, const std::string& fileName)
{
    QFileDialog dialog(Form(zvForm::frmMain), QString(), ShownFolder(folder));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    return Run(dialog, fileName);
}

} // namespace zvLib

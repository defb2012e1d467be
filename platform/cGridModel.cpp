// cGridModel: content, columns, styles and conditions of the grid control, and its two file
// forms: delimited text quoted as RFC 4180 asks, and an Excel 97-2003 workbook that spreadsheet
// programs open. Files are written whole through a temporary file.
#include "platform/cGridModel.h"

#include "foundation/NUX_STD_files.h"
#include "foundation/cError.h"
#include "foundation/cFixed.h"
#include "platform/cXlsWorkbook.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr long kErrBadCall = 5;
constexpr long kErrSubscript = 9;
constexpr long kErrFileAccess = 75;


std::string Upper(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

[[noreturn]] void Raise(long number, const std::string& what)
{
    throw cError(number, "cGridModel", what);
}

template <typename T> void Set(std::optional<T>& member, T v, cGridModel* grid)
{
    if (member != v) {
        member = v;
        if (grid != nullptr) {
            grid->Changed();
        }
    }
}

// A field of delimited text, quoted when it holds the separator, a quote or a line break.
std::string CsvField(const std::string& s, const std::string& separator)
{
    if (s.find(separator) == std::string::npos && s.find_first_of("\"\r\n") == std::string::npos) {
        return s;
    }
    std::string out = "\"";
    for (char c : s) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    return out + "\"";
}

// True for a number as the program writes one: an optional "-", digits without a leading
// zero, and an optional "." with digits. Piece codes such as "007" stay texts.
bool IsPlainNumber(const std::string& s)
{
    std::size_t i = (!s.empty() && s[0] == '-') ? 1 : 0;
    const std::size_t digits = i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
        ++i;
    }
    const std::size_t intLen = i - digits;
    if (intLen == 0 || (intLen > 1 && s[digits] == '0') || intLen > 15) {
        return false;
    }
    if (i == s.size()) {
        return true;
    }
    if (s[i] != '.' || i + 1 == s.size()) {
        return false;
    }
    for (++i; i < s.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) {
            return false;
        }
    }
    return true;
}

} // namespace

// ---- cGridStyle ----

cGridStyle::cGridStyle(cGridModel* grid, std::string name) : grid_(grid), name_(std::move(name)) {}

void cGridStyle::BackColor(std::int32_t v)
{
    Set(back_, v, grid_);
}

void cGridStyle::ForeColor(std::int32_t v)
{
    Set(fore_, v, grid_);
}

void cGridStyle::TextAlignment(int v)
{
    Set(align_, v, grid_);
}

void cGridStyle::Bold(bool v)
{
    Set(bold_, v, grid_);
}

void cGridStyle::ApplyTo(cGridStyle& below) const
{
    if (back_) {
        below.back_ = back_;
    }
    if (fore_) {
        below.fore_ = fore_;
    }
    if (align_) {
        below.align_ = align_;
    }
    if (bold_) {
        below.bold_ = bold_;
    }
}

// ---- cGridColumn ----

cGridColumn::cGridColumn(cGridModel* grid, std::string key)
    : grid_(grid), key_(std::move(key)), style_(grid)
{
}

void cGridColumn::Width(int v)
{
    width_ = std::max(0, v);
    grid_->Changed();
}

void cGridColumn::Caption(const std::string& v)
{
    caption_ = v;
    grid_->Changed();
}

void cGridColumn::Hidden(bool v)
{
    hidden_ = v;
    grid_->Changed();
}

void cGridColumn::ReadOnly(bool v)
{
    readOnly_ = v;
    grid_->Changed();
}

// ---- cGridModel: content and columns ----

cGridModel::cGridModel()
{
    styles_.push_back(std::make_unique<cGridStyle>(this, "Caption"));
}

void cGridModel::Changed()
{
    if (observer_ != nullptr) {
        observer_->GridChanged();
    }
}

void cGridModel::LoadArray(const cGridArray& fieldsByRow)
{
    fieldCount_ = static_cast<int>(fieldsByRow.size());
    std::size_t rowCount = 0;
    for (const auto& field : fieldsByRow) {
        rowCount = std::max(rowCount, field.size());
    }
    rows_.assign(rowCount, std::vector<std::string>(fieldsByRow.size()));
    for (std::size_t f = 0; f < fieldsByRow.size(); ++f) {
        for (std::size_t r = 0; r < fieldsByRow[f].size(); ++r) {
            rows_[r][f] = fieldsByRow[f][r];
        }
    }
    looks_.clear();
    looks_.resize(rowCount);
    while (ColumnCount() < fieldCount_) {
        columns_.push_back(std::make_unique<cGridColumn>(this, std::string()));
    }
    currentRow_ = 0;
    Changed();
}

void cGridModel::RowCount(int n)
{
    const auto count = static_cast<std::size_t>(std::max(0, n));
    rows_.resize(count, std::vector<std::string>(static_cast<std::size_t>(fieldCount_)));
    looks_.resize(count);
    if (currentRow_ > RowCount()) {
        currentRow_ = 0;
    }
    Changed();
}

const std::string& cGridModel::Value(int row, int field) const
{
    static const std::string empty;
    if (row < 0 || row >= RowCount() || field < 0 ||
        field >= std::max(fieldCount_, ColumnCount())) {
        Raise(kErrSubscript, "Cell out of range");
    }
    const auto& r = rows_[static_cast<std::size_t>(row)];
    return static_cast<std::size_t>(field) < r.size() ? r[static_cast<std::size_t>(field)] : empty;
}

void cGridModel::Value(int row, int field, const std::string& text)
{
    (void)Value(row, field); // range check
    auto& r = rows_[static_cast<std::size_t>(row)];
    if (static_cast<std::size_t>(field) >= r.size()) {
        r.resize(static_cast<std::size_t>(field) + 1);
    }
    r[static_cast<std::size_t>(field)] = text;
    Changed();
}

cGridColumn& cGridModel::Column(int position)
{
    if (position < 1 || position > ColumnCount()) {
        Raise(kErrSubscript, "Column out of range");
    }
    return *columns_[static_cast<std::size_t>(position - 1)];
}

cGridColumn& cGridModel::Column(const std::string& key)
{
    const std::string wanted = Upper(key);
    for (const auto& c : columns_) {
        if (Upper(c->Key()) == wanted) {
            return *c;
        }
    }
    Raise(kErrSubscript, "Column not found: " + key);
}

cGridColumn& cGridModel::AddColumn(const std::string& key)
{
    columns_.push_back(std::make_unique<cGridColumn>(this, key));
    Changed();
    return *columns_.back();
}

// ---- cGridModel: styles ----

cGridStyle& cGridModel::Style(const std::string& name)
{
    const std::string wanted = Upper(name);
    for (const auto& s : styles_) {
        if (Upper(s->Name()) == wanted) {
            return *s;
        }
    }
    Raise(kErrSubscript, "Style not found: " + name);
}

cGridStyle& cGridModel::AddStyle(const std::string& name)
{
    const std::string wanted = Upper(name);
    for (const auto& s : styles_) {
        if (Upper(s->Name()) == wanted) {
            return *s;
        }
    }
    styles_.push_back(std::make_unique<cGridStyle>(this, name));
    return *styles_.back();
}

void cGridModel::ClearStyles()
{
    styles_.erase(std::remove_if(styles_.begin(), styles_.end(),
                                 [](const auto& s) { return Upper(s->Name()) != "CAPTION"; }),
                  styles_.end());
    conditions_.clear();
    Changed();
}

void cGridModel::AddCondition(const std::string& styleName, int comparison,
                              const std::string& value, const std::string& columnKey)
{
    conditions_.push_back({styleName, comparison, value, columnKey});
    Changed();
}

cGridStyle& cGridModel::RowStyle(int row)
{
    if (row < 1 || row > RowCount()) {
        Raise(kErrSubscript, "Row out of range");
    }
    auto& look = looks_[static_cast<std::size_t>(row - 1)];
    if (!look.row) {
        look.row = std::make_unique<cGridStyle>(this);
    }
    return *look.row;
}

cGridStyle& cGridModel::CellStyle(int row, int column)
{
    if (row < 1 || row > RowCount() || column < 1 || column > ColumnCount()) {
        Raise(kErrSubscript, "Cell out of range");
    }
    auto& cells = looks_[static_cast<std::size_t>(row - 1)].cells;
    if (cells.size() < static_cast<std::size_t>(column)) {
        cells.resize(static_cast<std::size_t>(column));
    }
    auto& cell = cells[static_cast<std::size_t>(column - 1)];
    if (!cell) {
        cell = std::make_unique<cGridStyle>(this);
    }
    return *cell;
}

bool cGridModel::Meets(const cGridCondition& c, int row) const
{
    int position = 0;
    for (int i = 0; i < ColumnCount(); ++i) {
        if (Upper(columns_[static_cast<std::size_t>(i)]->Key()) == Upper(c.columnKey)) {
            position = i + 1;
            break;
        }
    }
    if (position == 0) {
        return false;
    }
    const std::string& text = Value(row - 1, position - 1);
    const auto a = cFixed::parse(text);
    const auto b = cFixed::parse(c.value);
    const int order = (a && b)                    ? (*a < *b   ? -1
                                                     : *a > *b ? 1
                                                               : 0)
                      : text.compare(c.value) < 0 ? -1
                      : text == c.value           ? 0
                                                  : 1;
    switch (c.comparison) {
    case cGridCompare::Equal:
        return order == 0;
    case cGridCompare::NotEqual:
        return order != 0;
    case cGridCompare::Less:
        return order < 0;
    case cGridCompare::Greater:
        return order > 0;
    case cGridCompare::LessOrEqual:
        return order <= 0;
    case cGridCompare::GreaterOrEqual:
        return order >= 0;
    default:
        return false;
    }
}

cGridStyle cGridModel::CellLook(int row, int column) const
{
    cGridStyle look(nullptr);
    if (row < 1 || row > RowCount() || column < 1 || column > ColumnCount()) {
        return look;
    }
    const cGridColumn& col = *columns_[static_cast<std::size_t>(column - 1)];
    col.Style().ApplyTo(look);
    const auto& rowLook = looks_[static_cast<std::size_t>(row - 1)];
    if (rowLook.row) {
        rowLook.row->ApplyTo(look);
    }
    if (rowLook.cells.size() >= static_cast<std::size_t>(column) &&
        rowLook.cells[static_cast<std::size_t>(column - 1)]) {
        rowLook.cells[static_cast<std::size_t>(column - 1)]->ApplyTo(look);
    }
    for (const auto& c : conditions_) {
        if (Upper(c.columnKey) != Upper(col.Key()) || !Meets(c, row)) {
            continue;
        }
        for (const auto& s : styles_) {
            if (Upper(s->Name()) == Upper(c.styleName)) {
                s->ApplyTo(look);
            }
        }
    }
    return look;
}

// ---- cGridModel: caption, display and user actions ----

void cGridModel::Caption(const std::string& v)
{
    caption_ = v;
    Changed();
}

void cGridModel::Refresh()
{
    if (observer_ != nullptr) {
        observer_->GridRefresh();
    }
}

bool cGridModel::EditCell(int row, int column, const std::string& text)
{
    if (row < 1 || row > RowCount() || column < 1 || column > ColumnCount()) {
        return false;
    }
    const cGridColumn& col = *columns_[static_cast<std::size_t>(column - 1)];
    if (col.ReadOnly() || col.Hidden()) {
        return false;
    }
    if (ValidateEdit && !ValidateEdit(row, column, text)) {
        return false;
    }
    Value(row - 1, column - 1, text);
    if (AfterEdit) {
        AfterEdit(row, column);
    }
    return true;
}

void cGridModel::ChooseRow(int row)
{
    if (row < 1 || row > RowCount()) {
        return;
    }
    currentRow_ = row;
    if (RowChosen) {
        RowChosen(row);
    }
}

// ---- cGridModel: files ----

std::vector<std::string> cGridModel::CaptionRow() const
{
    std::vector<std::string> out;
    for (int f = 0; f < fieldCount_; ++f) {
        out.push_back(f < ColumnCount() ? columns_[static_cast<std::size_t>(f)]->Caption() : "");
    }
    return out;
}

std::string cGridModel::DelimitedText(int options, const std::string& separator) const
{
    const std::string sep = separator.empty() ? "," : separator;
    std::string out = "\xEF\xBB\xBF"; // UTF-8 mark, so that spreadsheet programs read accents
    auto line = [&](const std::vector<std::string>& fields) {
        for (int f = 0; f < fieldCount_; ++f) {
            const auto i = static_cast<std::size_t>(f);
            out += (f > 0 ? sep : "") + CsvField(i < fields.size() ? fields[i] : "", sep);
        }
        out += "\r\n";
    };
    if ((options & cGridFile::WithCaptions) != 0) {
        line(CaptionRow());
    }
    for (const auto& row : rows_) {
        line(row);
    }
    return out;
}

std::string cGridModel::SpreadsheetBytes(int options) const
{
    cXlsWorkbook book;
    for (int f = 0; f < fieldCount_ && f < ColumnCount(); ++f) {
        book.ColumnWidth(f, columns_[static_cast<std::size_t>(f)]->Width());
    }
    auto row = [&](const std::vector<std::string>& fields, bool caption) {
        std::vector<cXlsCell> cells;
        for (int f = 0; f < fieldCount_; ++f) {
            const auto i = static_cast<std::size_t>(f);
            const std::string& text = i < fields.size() ? fields[i] : std::string();
            cells.push_back({text, !caption && IsPlainNumber(text), caption});
        }
        book.AddRow(std::move(cells));
    };
    if ((options & cGridFile::WithCaptions) != 0) {
        row(CaptionRow(), true);
    }
    for (const auto& r : rows_) {
        row(r, false);
    }
    return book.Bytes();
}

void cGridModel::SaveAs(const std::string& path, int format, int options,
                        const std::string& separator) const
{
    std::string text;
    if (format == cGridFile::DelimitedText) {
        text = DelimitedText(options, separator);
    } else if (format == cGridFile::Spreadsheet) {
        text = SpreadsheetBytes(options);
    } else {
        Raise(kErrBadCall, "Invalid procedure call or argument");
    }
    if (!NUX_STD_library::WriteFileText(path, text)) {
        Raise(kErrFileAccess, "Path/File access error: " + path);
    }
}

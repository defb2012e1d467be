// cGridModel: the grid control as plain data: the text content loaded from a two-dimensional
// array, the columns (key, width, caption, hidden, read-only, style), named styles with their
// conditions, row and cell styles, the caption, the saves as delimited text and as a
// spreadsheet, and the user's edit and row choice. cGridWidget shows it with Qt.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class cGridModel;

// A two-dimensional text array as the grid loads it: the outer index is the field (column),
// the inner one the row.
using cGridArray = std::vector<std::vector<std::string>>;

// Text alignments of a style: 0 general (numbers to the right, texts to the left); 1 to 9 a
// position, left, centre and right at the top (1, 2, 3), the middle (4, 5, 6) and the bottom
// (7, 8, 9).
namespace cGridAlign {
// Numbers to the right, texts to the left.
constexpr int General = 0;
// Right, vertically centred.
constexpr int RightCenter = 6;
} // namespace cGridAlign

// Comparison codes of a style condition: the cell's value against the condition's value, as
// numbers when both are numbers, otherwise as texts.
namespace cGridCompare {
constexpr int Equal = 0;
constexpr int NotEqual = 1;
constexpr int Less = 2;
constexpr int Greater = 3;
constexpr int LessOrEqual = 4;
constexpr int GreaterOrEqual = 5;
} // namespace cGridCompare

// The save formats and options.
namespace cGridFile {
// Delimited text (RFC 4180 quoting, CR LF line ends, UTF-8).
constexpr int DelimitedText = 2;
// A spreadsheet (an Excel 97-2003 workbook: BIFF8 records in a compound file).
constexpr int Spreadsheet = 3;
// Option bit: a first row with the column captions.
constexpr int WithCaptions = 2;
} // namespace cGridFile

// The look of cells: colours, alignment and boldness; a property never set leaves the look
// of the styles below it.
class cGridStyle {
  public:
    // A style of a name (empty for row, cell and column styles).
    explicit cGridStyle(cGridModel* grid, std::string name = {});
    // The name the style is found by.
    const std::string& Name() const { return name_; }
    // Background colour (a colour value: red in the low byte; system colours with the high
    // bit set).
    std::optional<std::int32_t> BackColor() const { return back_; }
    void BackColor(std::int32_t v);
    // Text colour.
    std::optional<std::int32_t> ForeColor() const { return fore_; }
    void ForeColor(std::int32_t v);
    // Text alignment (cGridAlign).
    std::optional<int> TextAlignment() const { return align_; }
    void TextAlignment(int v);
    // Bold text.
    std::optional<bool> Bold() const { return bold_; }
    void Bold(bool v);
    // Lays the properties this style sets over another style's.
    void ApplyTo(cGridStyle& below) const;

  private:
    cGridModel* grid_;
    std::string name_;
    std::optional<std::int32_t> back_;
    std::optional<std::int32_t> fore_;
    std::optional<int> align_;
    std::optional<bool> bold_;
};

// One column: it shows the field of its position (column 1 shows field 0).
class cGridColumn {
  public:
    // A column with a key.
    cGridColumn(cGridModel* grid, std::string key);
    // The key the column is found by (compared without regard to case).
    const std::string& Key() const { return key_; }
    // The width in twips.
    int Width() const { return width_; }
    void Width(int v);
    // The heading.
    const std::string& Caption() const { return caption_; }
    void Caption(const std::string& v);
    // Not shown.
    bool Hidden() const { return hidden_; }
    void Hidden(bool v);
    // Not editable by the user.
    bool ReadOnly() const { return readOnly_; }
    void ReadOnly(bool v);
    // The look of the column's cells.
    cGridStyle& Style() { return style_; }
    const cGridStyle& Style() const { return style_; }

  private:
    cGridModel* grid_;
    std::string key_;
    int width_ = 1200;
    std::string caption_;
    bool hidden_ = false;
    bool readOnly_ = false;
    cGridStyle style_;
};

// A style condition: the named style goes on the cells of a column that meet a comparison.
struct cGridCondition {
    std::string styleName;                // the style applied
    int comparison = cGridCompare::Equal; // cGridCompare
    std::string value;                    // the value compared with
    std::string columnKey;                // the column whose cells are tested
};

// What a display of the grid is told when the grid changes.
class cGridObserver {
  public:
    virtual ~cGridObserver() = default;
    // Content, columns or styles changed; the display follows when it next can.
    virtual void GridChanged() = 0;
    // The display is to be redrawn now.
    virtual void GridRefresh() = 0;
};

// The grid control's data and operations.
class cGridModel {
  public:
    cGridModel();
    cGridModel(const cGridModel&) = delete;
    cGridModel& operator=(const cGridModel&) = delete;

    // Replaces the whole content with the array (field, row). Columns are added, with empty
    // keys, when the array has more fields than the grid has columns; row and cell styles go.
    void LoadArray(const cGridArray& fieldsByRow);
    // The number of rows.
    int RowCount() const { return static_cast<int>(rows_.size()); }
    // Sets the number of rows: 0 empties the grid, fewer drops the last rows, more adds
    // empty ones.
    void RowCount(int n);
    // The number of fields the content holds (the fields of the last load).
    int FieldCount() const { return fieldCount_; }
    // The text of the underlying data by zero-based row and field; out of range raises
    // cError 9.
    const std::string& Value(int row, int field) const;
    void Value(int row, int field, const std::string& text);

    // The number of columns.
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    // The column at a position counted from 1; out of range raises cError 9.
    cGridColumn& Column(int position);
    // The column of a key (the first one, without regard to case); none raises cError 9.
    cGridColumn& Column(const std::string& key);
    // Appends a column.
    cGridColumn& AddColumn(const std::string& key);

    // The style of that name ("Caption" always exists); none raises cError 9.
    cGridStyle& Style(const std::string& name);
    // Adds a style, or gives the one of that name.
    cGridStyle& AddStyle(const std::string& name);
    // Removes every style but "Caption", and every condition.
    void ClearStyles();
    // Adds a condition: the style applies to the column's cells whose value meets the
    // comparison with value.
    void AddCondition(const std::string& styleName, int comparison, const std::string& value,
                      const std::string& columnKey);
    // The conditions in the order added.
    const std::vector<cGridCondition>& Conditions() const { return conditions_; }
    // The style of a row counted from 1; out of range raises cError 9.
    cGridStyle& RowStyle(int row);
    // The style of one cell, row and column counted from 1; out of range raises cError 9.
    cGridStyle& CellStyle(int row, int column);
    // The look of a cell: column style, then row style, then cell style, then each condition
    // met, each laying its own properties over the ones below.
    cGridStyle CellLook(int row, int column) const;

    // The grid's caption shown above the columns.
    const std::string& Caption() const { return caption_; }
    void Caption(const std::string& v);
    // The row of the current cell, counted from 1; 0 for none.
    int CurrentRow() const { return currentRow_; }
    // Redraws the display now.
    void Refresh();

    // Saves the content to a file, written whole through a temporary file: format
    // cGridFile::DelimitedText with the field separator, or cGridFile::Spreadsheet; option
    // cGridFile::WithCaptions puts a row of captions first. Every field of the content is
    // written, hidden columns included. Another format raises cError 5; a file that cannot
    // be written raises cError 75 and leaves an old file as it was.
    void SaveAs(const std::string& path, int format, int options,
                const std::string& separator = ",") const;
    // The delimited text SaveAs writes.
    std::string DelimitedText(int options, const std::string& separator) const;
    // The spreadsheet SaveAs writes: the bytes of an Excel 97-2003 workbook of one sheet, the
    // captions in bold, plain decimal numbers as numbers and every other field as a text.
    std::string SpreadsheetBytes(int options) const;

    // The user is committing an edit of a cell (row and column counted from 1) with the text;
    // false refuses it and the cell keeps its value. None accepts every edit.
    std::function<bool(int row, int column, const std::string& text)> ValidateEdit;
    // The user committed an edit of a cell (row and column counted from 1).
    std::function<void(int row, int column)> AfterEdit;
    // The user chose a row (counted from 1).
    std::function<void(int row)> RowChosen;

    // User actions, called by the display. An edit of a cell: refused (false) for a read-only
    // or hidden column, a cell out of range or a text ValidateEdit refuses; otherwise the
    // text is stored and AfterEdit raised.
    bool EditCell(int row, int column, const std::string& text);
    // The user chose a row: it becomes the current row and RowChosen is raised.
    void ChooseRow(int row);

    // The display told about changes; null for none.
    void Observer(cGridObserver* o) { observer_ = o; }
    cGridObserver* Observer() const { return observer_; }
    // Tells the display that something changed.
    void Changed();

  private:
    struct cRowLook {
        std::unique_ptr<cGridStyle> row;
        std::vector<std::unique_ptr<cGridStyle>> cells;
    };
    bool Meets(const cGridCondition& c, int row) const;
    std::vector<std::string> CaptionRow() const;

    std::vector<std::vector<std::string>> rows_;
    std::vector<cRowLook> looks_;
    int fieldCount_ = 0;
    std::vector<std::unique_ptr<cGridColumn>> columns_;
    std::vector<std::unique_ptr<cGridStyle>> styles_;
    std::vector<cGridCondition> conditions_;
    std::string caption_;
    int currentRow_ = 0;
    cGridObserver* observer_ = nullptr;
};

// cRecordset: a table read whole from a table file (UTF-8 XML with typed fields and one element
// per row), with a current row and a filter of equality terms joined by AND. The language table
// and the piece catalogue are such tables; the same class builds and writes them.
#pragma once

#include "foundation/cVariant.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The data type codes of table fields.
struct cFieldType {
    static constexpr int Int16 = 2;            // 16-bit whole number
    static constexpr int Int32 = 3;            // 32-bit whole number
    static constexpr int Single = 4;           // 32-bit float
    static constexpr int Double = 5;           // 64-bit float
    static constexpr int Currency = 6;         // fixed point, four decimals
    static constexpr int Date = 7;             // days since 1899-12-30, time as the fraction
    static constexpr int Boolean = 11;         // true or false
    static constexpr int Decimal = 14;         // exact decimal, kept as fixed point
    static constexpr int Numeric = 131;        // exact decimal, kept as fixed point
    static constexpr int Char = 129;           // fixed-length text
    static constexpr int WChar = 130;          // fixed-length wide text
    static constexpr int VarChar = 200;        // variable text
    static constexpr int LongVarChar = 201;    // long text
    static constexpr int VarWChar = 202;       // variable wide text
    static constexpr int LongVarWChar = 203;   // long wide text
    static constexpr int LongVarBinary = 205;  // long binary data
};

class cRecordset;
namespace pugi {
class xml_node;
}

// One field of a table: its name and type, and its value in the table's current row. A field
// can also stand alone, holding one value of its own.
class cField {
public:
    // A field not bound to a table, holding the given value.
    cField(std::string name, int type, cVariant value = cVariant::Null());

    // The field's name as declared.
    const std::string& Name() const { return name_; }
    // The field's data type code (see cFieldType).
    int Type() const { return type_; }
    // The value in the current row; raises cError 3021 when the table has no current row.
    const cVariant& Value() const;
    // The length in bytes of a text or byte value; 0 for Null and for other kinds.
    long ActualSize() const;
    // The next piece of at most size bytes of a text or byte value, Null once all of it has
    // been read (or for Null). The reading position restarts when the current row changes.
    // A size below 1 raises cError 3001, a value of another kind cError 3219.
    cVariant GetChunk(long size);

private:
    friend class cRecordset;
    std::string name_;
    int type_ = 0;
    cRecordset* owner_ = nullptr;
    std::size_t index_ = 0;
    cVariant own_;
    std::size_t chunkPos_ = 0;
};

class cRecordset {
public:
    // Error numbers of the table operations.
    static constexpr long kErrFileNotFound = 53;     // the file does not exist
    static constexpr long kErrFileAccess = 75;       // the file cannot be read or written
    static constexpr long kErrBadArgument = 5;       // a value the file format cannot hold
    static constexpr long kErrTypeMismatch = 13;     // a value that does not suit its field
    static constexpr long kErrBadFile = 321;         // not a table file, or a broken one
    static constexpr long kErrBadFilter = 3001;      // a filter that cannot be read
    static constexpr long kErrNoCurrentRow = 3021;   // no current row (empty table or end)
    static constexpr long kErrItemNotFound = 3265;   // no field of that name or index
    // Limits on what a table file may hold.
    static constexpr std::size_t kMaxFileBytes = 32u << 20;
    static constexpr std::size_t kMaxFields = 1024;

    // An empty, closed table.
    cRecordset() = default;
    cRecordset(const cRecordset&) = delete;
    cRecordset& operator=(const cRecordset&) = delete;
    // Tables move; fields taken from the old object must be taken again.
    cRecordset(cRecordset&& o) noexcept;
    cRecordset& operator=(cRecordset&& o) noexcept;

    // Reads a table file whole; 0 on success, else an error number (the table is then closed
    // and ErrorText says what was wrong). Never raises.
    long Open(const std::string& path);
    // Reads a table from the bytes of a table file, as Open does.
    long OpenBytes(std::string_view data);
    // True when the table has its fields (read or built).
    bool IsOpen() const { return !fields_.empty(); }
    // What made the last Open or Save fail, with the place in the file; empty after success.
    const std::string& ErrorText() const { return errorText_; }
    // Forgets fields, rows and filter.
    void Close();

    // The number of fields.
    long FieldCount() const { return static_cast<long>(fields_.size()); }
    // The field at a 0-based index; raises cError 3265 when there is none. Field references
    // stay valid until a field is added or the table is read again.
    cField& Fields(long index);
    const cField& Fields(long index) const;
    // The field of that name, compared without regard to case; raises cError 3265 when there
    // is none.
    cField& Fields(std::string_view name);
    const cField& Fields(std::string_view name) const;
    // The index of the field of that name (case-insensitive), -1 when there is none.
    long FieldIndex(std::string_view name) const;

    // True when the view (all rows, or the rows the filter lets through) is empty.
    bool Bof() const { return viewSize() == 0; }
    // True when there is no current row: the view is empty or the position is past its end.
    bool Eof() const { return pos_ >= viewSize(); }
    // Moves to the first row of the view; 3021 when the view is empty.
    long MoveFirst();
    // Moves to the last row of the view; 3021 when the view is empty.
    long MoveLast();
    // Moves to the next row, past the last one to the end; 3021 when already at the end.
    long MoveNext();
    // The number of rows in the view.
    long RecordCount() const { return static_cast<long>(viewSize()); }

    // The filter in force ("" for none).
    const std::string& Filter() const { return filter_; }
    // Narrows the view to the rows that satisfy every term of name=value terms joined by AND:
    // texts between single quotes (a doubled quote stands for one) compared without regard to
    // case, numbers unquoted and compared by value; Null never matches. "" shows every row.
    // The current row becomes the view's first. 0 on success; 3001 for an expression that
    // cannot be read or names no field, and the old filter stays.
    long Filter(std::string_view expression);

    // Adds a field to a table that has no rows yet; 3001 for an invalid or duplicate name or
    // an unknown type code, 5 when rows exist.
    long AppendField(const std::string& name, int type);
    // Adds a row holding one value per field, in field order, and makes it the current row;
    // the filter is cleared. Empty counts as Null; numbers are converted to the field's kind.
    // 0 on success, 13 for a value that does not suit its field (nothing is added).
    long AddRow(std::vector<cVariant> values);
    // Writes the table as a table file, replacing the file only once it is complete; 0 on
    // success, else an error number (the old file is then left as it was).
    long Save(const std::string& path) const;

    // True for the type codes of cFieldType.
    static bool KnownType(int type);
    // True for a name a field may have: a letter or "_", then letters, digits, "_", "-", ".".
    static bool ValidFieldName(std::string_view name);
    // The value converted to the kind a field of that type holds (Empty becomes Null); none
    // when it cannot be (a text for a number, a number out of a whole type's range, ...).
    static std::optional<cVariant> Coerce(const cVariant& value, int type);

    // The value of a field in the current row (the fields' Value); raises cError 3021 when
    // there is no current row.
    const cVariant& CurrentValue(std::size_t fieldIndex) const;

private:
    struct Term {
        std::size_t field = 0;
        bool isText = false;
        std::string text;  // folded to lower case
        double number = 0;
    };

    std::size_t viewSize() const { return filtered_ ? view_.size() : rows_.size(); }
    std::size_t currentRow() const { return filtered_ ? view_[pos_] : pos_; }
    void setPosition(std::size_t pos);
    void rebindFields();
    long fail(long number, std::string text);
    long parseFilter(std::string_view expr, std::vector<Term>& terms) const;
    std::vector<std::size_t> candidates(const std::vector<Term>& terms) const;
    bool rowMatches(std::size_t row, const std::vector<Term>& terms) const;
    const std::vector<std::size_t>* textIndex(std::size_t field, const std::string& key) const;
    long readDocument(std::string_view data);
    long readFieldList(const pugi::xml_node& node);
    long readRow(const pugi::xml_node& node, std::size_t rowNumber);
    std::optional<std::string> writeDocument() const;

    std::vector<cField> fields_;
    std::vector<std::vector<cVariant>> rows_;
    bool filtered_ = false;
    std::vector<std::size_t> view_;
    std::size_t pos_ = 0;
    std::string filter_;
    mutable std::string errorText_;
    // Per text field: the rows of each value folded to lower case, built when first needed.
    mutable std::unordered_map<std::size_t,
                               std::unordered_map<std::string, std::vector<std::size_t>>>
        index_;
};

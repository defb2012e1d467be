// cXlsWorkbook: an Excel 97-2003 workbook (BIFF8 records in a compound file) of one worksheet:
// rows of cells that are numbers or Unicode texts, optionally bold, and column widths. The grid
// control's spreadsheet save writes its content through it.
#pragma once

#include <string>
#include <vector>

// One cell of a row: a text, written as a number when number is set.
struct cXlsCell {
    std::string text; // UTF-8; an empty text leaves the cell empty
    bool number = false; // the text is a plain decimal number ("-12.5")
    bool bold = false; // the cell's font is bold
};

class cXlsWorkbook {
  public:
    // A workbook whose one worksheet has the name (at most 31 characters).
    explicit cXlsWorkbook(std::string sheetName = "Sheet1");
    // The width of a column (counted from 0) in twips.
    void ColumnWidth(int column, int twips);
    // Appends a row below the rows added so far.
    void AddRow(std::vector<cXlsCell> cells);
    // The bytes of the .xls file. Raises cError 5 beyond 65536 rows or 256 columns.
    std::string Bytes() const;

  private:
    std::string globals(std::size_t sheetOffset, const std::vector<std::string>& strings) const;
    std::string sheet(std::vector<std::string>& strings) const;
    std::string cells(std::vector<std::string>& strings) const;

    std::string sheetName_;
    std::vector<int> widths_;
    std::vector<std::vector<cXlsCell>> rows_;
};

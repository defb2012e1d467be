// cCompoundFile: the container of the older Office files, a compound file (version 3, sectors
// of 512 bytes) holding streams under a root storage. The spreadsheet save puts its workbook
// stream in one.
#pragma once

#include <string>

class cCompoundFile {
  public:
    // The bytes of a compound file whose root storage holds one stream of that name (at most
    // 31 characters, ASCII) with the data. A stream shorter than the mini-stream cut-off (4096
    // bytes) is padded with zero bytes to it, so that it lies in regular sectors. Raises
    // cError 5 for a bad name and 7 for data beyond the 109 allocation sectors the header
    // lists (some 7 MB).
    static std::string OneStream(const std::string& name, std::string data);
};

// Fuzz target for the table file reader and its filter: any bytes as a table file, and the
// same bytes as a filter on a small fixed table.
#include "foundation/cRecordset.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    cRecordset rs;
    if (rs.OpenBytes(bytes) == 0) {
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
            for (long f = 0; f < rs.FieldCount(); ++f) {
                (void)rs.Fields(f).Value().toText();
            }
        }
        if (rs.FieldCount() > 0) {
            (void)rs.Filter(rs.Fields(0).Name() + "='a' AND " + rs.Fields(0).Name() + "=1");
        }
    }
    static cRecordset fixed = [] {
        cRecordset t;
        t.AppendField("ID", cFieldType::VarWChar);
        t.AppendField("N", cFieldType::Double);
        t.AddRow({"a'b", 1.5});
        t.AddRow({cVariant::Null(), 2});
        return t;
    }();
    (void)fixed.Filter(bytes);
    (void)fixed.RecordCount();
    (void)fixed.Filter("");
    return 0;
}

// The table file reader and writer: typed values, broken files, navigation and filters.
#include "foundation/cDateParts.h"
#include "foundation/cError.h"
#include "foundation/cRecordset.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace {

const std::string kCatalogue = R"(<?xml version="1.0" encoding="UTF-8"?>
<recordset>
  <fields>
    <field name="tipoinfo" type="200"/>
    <field name="setID" type="202"/>
    <field name="itemID" type="202"/>
    <field name="flgOnline" type="3"/>
    <field name="stdWidth" type="131"/>
    <field name="sng1" type="5"/>
    <field name="flgSwap" type="11"/>
    <field name="made" type="7"/>
    <field name="icona" type="205"/>
    <field name="extra" type="201"/>
  </fields>
  <row tipoinfo="base" setID="Alpha" itemID="000" flgOnline="1" stdWidth="156.5"/>
  <row tipoinfo="item" setID="Alpha" itemID="C1" flgOnline="1" sng1="45" flgSwap="false"/>
  <row tipoinfo="item" setID="alpha" itemID="S1" flgOnline="0" sng1="350,25" flgSwap="TRUE"
       made="2024-02-29T13:45:10"><icona>AAEC
    /w==</icona><extra>A=1:2;
B=3:4;</extra></row>
  <row tipoinfo="item" setID="O'Brien" itemID="X9" flgOnline="1" made="1899-12-29T06:00"/>
  <row tipoinfo="base" setID="Beta" itemID="000" flgOnline="1"/>
</recordset>
)";

std::string table(const std::string& fields, const std::string& rows)
{
    return "<recordset><fields>" + fields + "</fields>" + rows + "</recordset>";
}

TEST(cRecordset, ReadsTypedValuesInFileOrder)
{
    cRecordset rs;
    ASSERT_EQ(rs.OpenBytes(kCatalogue), 0) << rs.ErrorText();
    EXPECT_EQ(rs.RecordCount(), 5);
    EXPECT_EQ(rs.FieldCount(), 10);
    EXPECT_EQ(rs.Fields("STDWIDTH").Name(), "stdWidth");
    EXPECT_EQ(rs.Fields(4).Type(), cFieldType::Numeric);
    EXPECT_EQ(rs.Fields("stdWidth").Value(), cVariant(cFixed::fromRaw(1565000)));
    EXPECT_EQ(rs.Fields("flgOnline").Value(), cVariant(1));
    EXPECT_TRUE(rs.Fields("sng1").Value().isNull());

    ASSERT_EQ(rs.MoveNext(), 0);
    ASSERT_EQ(rs.MoveNext(), 0);
    EXPECT_EQ(rs.Fields("itemID").Value(), cVariant("S1"));
    EXPECT_EQ(rs.Fields("sng1").Value(), cVariant(350.25));
    EXPECT_EQ(rs.Fields("flgSwap").Value(), cVariant(true));
    EXPECT_EQ(rs.Fields("icona").Value(), cVariant::Bytes(std::string("\x00\x01\x02\xff", 4)));
    EXPECT_EQ(rs.Fields("icona").ActualSize(), 4);
    EXPECT_EQ(rs.Fields("extra").Value(), cVariant("A=1:2;\nB=3:4;"));
    const auto made = PartsFromDate(rs.Fields("made").Value().toDouble());
    ASSERT_TRUE(made);
    EXPECT_EQ(made->year * 10000 + made->month * 100 + made->day, 20240229);
    EXPECT_EQ(made->hour * 10000 + made->minute * 100 + made->second, 134510);

    ASSERT_EQ(rs.MoveNext(), 0);
    EXPECT_DOUBLE_EQ(rs.Fields("made").Value().toDouble(), -1.25);
    ASSERT_EQ(rs.MoveLast(), 0);
    EXPECT_EQ(rs.Fields("setID").Value(), cVariant("Beta"));
    EXPECT_EQ(rs.MoveNext(), 0);
    EXPECT_TRUE(rs.Eof());
    EXPECT_FALSE(rs.Bof());
    EXPECT_EQ(rs.MoveNext(), cRecordset::kErrNoCurrentRow);
    EXPECT_THROW(rs.Fields("setID").Value(), cError);
    EXPECT_THROW(rs.Fields("nosuchfield"), cError);
    EXPECT_THROW(rs.Fields(10), cError);
    EXPECT_EQ(rs.FieldIndex("nosuchfield"), -1);
}

TEST(cRecordset, BrokenFilesGiveErrorNumbers)
{
    testsupport::TempDir dir;
    cRecordset rs;
    EXPECT_EQ(rs.Open(dir.file("missing.lng")), cRecordset::kErrFileNotFound);
    EXPECT_EQ(rs.Open(dir.dir()), cRecordset::kErrFileAccess);

    const std::string id = "<field name='ID' type='202'/>";
    const std::vector<std::string> broken = {
        "",
        "not xml at all",
        "<recordset><fields>" + id + "</recordset>",
        "<table><fields>" + id + "</fields></table>",
        table("<field name='ID' type='20'/>", ""),
        table("<field name='ID' type='text'/>", ""),
        table("<field name='ID'/>", ""),
        table(id + "<field name='id' type='3'/>", ""),
        table("<field name='1st' type='202'/>", ""),
        table("", ""),
        "<recordset><row ID='a'/><fields>" + id + "</fields></recordset>",
        "<recordset><fields>" + id + "</fields><fields>" + id + "</fields></recordset>",
        table(id, "<row ID='a' EN='b'/>"),
        table(id, "<row ID='a'><ID>b</ID></row>"),
        table(id, "<row><ID><b/></ID></row>"),
        table(id, "<row>loose text</row>"),
        table(id, "<other/>"),
        table("<field name='N' type='2'/>", "<row N='40000'/>"),
        table("<field name='N' type='3'/>", "<row N='1.5'/>"),
        table("<field name='N' type='5'/>", "<row N='inf'/>"),
        table("<field name='N' type='5'/>", "<row N='1e999'/>"),
        table("<field name='N' type='131'/>", "<row N='12x'/>"),
        table("<field name='B' type='11'/>", "<row B='yes'/>"),
        table("<field name='D' type='7'/>", "<row D='2023-02-29'/>"),
        table("<field name='D' type='7'/>", "<row D='2023-1-5'/>"),
        table("<field name='X' type='205'/>", "<row><X>AB=C</X></row>"),
    };
    for (const std::string& bytes : broken) {
        EXPECT_EQ(rs.OpenBytes(bytes), cRecordset::kErrBadFile) << bytes;
        EXPECT_FALSE(rs.IsOpen());
        EXPECT_FALSE(rs.ErrorText().empty());
    }
    EXPECT_NE(rs.ErrorText().find("Row 1"), std::string::npos);
    EXPECT_EQ(rs.OpenBytes("<recordset><fields>" + id), cRecordset::kErrBadFile);
    EXPECT_NE(rs.ErrorText().find("offset"), std::string::npos);
}

TEST(cRecordset, FiltersNarrowTheView)
{
    cRecordset rs;
    ASSERT_EQ(rs.OpenBytes(kCatalogue), 0);
    EXPECT_EQ(rs.Filter("tipoinfo='item' AND flgOnline=1"), 0);
    EXPECT_EQ(rs.RecordCount(), 2);
    EXPECT_EQ(rs.Fields("itemID").Value(), cVariant("C1"));
    EXPECT_EQ(rs.Filter("setID='ALPHA' and TipoInfo='item' "), 0);
    EXPECT_EQ(rs.RecordCount(), 2);  // "Alpha" and "alpha"
    EXPECT_EQ(rs.Filter("setID='O''Brien'"), 0);
    EXPECT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Fields("itemID").Value(), cVariant("X9"));
    EXPECT_EQ(rs.Filter("itemID='000' and tipoinfo='base'"), 0);
    EXPECT_EQ(rs.RecordCount(), 2);
    EXPECT_EQ(rs.Filter("stdWidth=156.5"), 0);
    EXPECT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Filter("sng1=350.25 AND flgSwap=1"), 0);
    EXPECT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Filter("flgOnline='0'"), 0);  // a quoted number against a number field
    EXPECT_EQ(rs.RecordCount(), 1);

    EXPECT_EQ(rs.Filter("setID='nobody'"), 0);
    EXPECT_TRUE(rs.Bof() && rs.Eof());
    EXPECT_EQ(rs.MoveFirst(), cRecordset::kErrNoCurrentRow);

    EXPECT_EQ(rs.Filter("itemID='X9'"), 0);
    for (const char* bad : {"nosuch='a'", "itemID='open", "itemID=", "itemID='a' OR x=1",
                            "itemID='a' AND", "=1", "flgOnline=1,5", "itemID 'a'"}) {
        EXPECT_EQ(rs.Filter(bad), cRecordset::kErrBadFilter) << bad;
    }
    EXPECT_EQ(rs.Filter(), "itemID='X9'");
    EXPECT_EQ(rs.RecordCount(), 1);

    EXPECT_EQ(rs.Filter(""), 0);
    EXPECT_EQ(rs.RecordCount(), 5);
    EXPECT_EQ(rs.Fields("setID").Value(), cVariant("Alpha"));
}

TEST(cRecordset, IndexedFilterAgreesWithAScanOnALargeTable)
{
    cRecordset rs;
    ASSERT_EQ(rs.AppendField("ID", cFieldType::VarWChar), 0);
    ASSERT_EQ(rs.AppendField("N", cFieldType::Int32), 0);
    for (int i = 0; i < 2000; ++i) {
        ASSERT_EQ(rs.AddRow({"$key." + std::to_string(i % 700), i}), 0);
    }
    ASSERT_EQ(rs.AddRow({cVariant::Null(), 5}), 0);
    for (int k : {0, 3, 699}) {
        ASSERT_EQ(rs.Filter("ID='$KEY." + std::to_string(k) + "'"), 0);
        long expected = 0;
        for (int i = 0; i < 2000; ++i) {
            expected += i % 700 == k;
        }
        EXPECT_EQ(rs.RecordCount(), expected);
        EXPECT_EQ(rs.Fields("N").Value(), cVariant(k));
    }
    ASSERT_EQ(rs.Filter("N=5"), 0);
    EXPECT_EQ(rs.RecordCount(), 2);
    ASSERT_EQ(rs.Filter("N=5 AND ID='$key.5'"), 0);
    EXPECT_EQ(rs.RecordCount(), 1);
}

TEST(cRecordset, SaveWritesWhatOpenReadsBack)
{
    testsupport::TempDir dir;
    cRecordset rs;
    ASSERT_EQ(rs.OpenBytes(kCatalogue), 0);
    ASSERT_EQ(rs.AddRow({"item", "Z", "multi", 2, 1.5, 0.1, true, 45000.5,
                         cVariant::Bytes(std::string(300, '\x7f')),
                         "  line one\r\nline <two> & \"three\"\t"}),
              0);
    ASSERT_EQ(rs.Save(dir.file("t.dat")), 0) << rs.ErrorText();
    cRecordset back;
    ASSERT_EQ(back.Open(dir.file("t.dat")), 0) << back.ErrorText();
    ASSERT_EQ(back.RecordCount(), rs.RecordCount());
    rs.MoveFirst();
    for (; !back.Eof(); back.MoveNext(), rs.MoveNext()) {
        for (long f = 0; f < rs.FieldCount(); ++f) {
            EXPECT_EQ(back.Fields(f).Value(), rs.Fields(f).Value()) << rs.Fields(f).Name();
        }
    }

    EXPECT_EQ(rs.Save(dir.file("nofolder/t.dat")), cRecordset::kErrFileAccess);
    // A value the format cannot carry fails the save and leaves the old file as it was.
    const std::string before = testsupport::readAll(dir.file("t.dat"));
    ASSERT_EQ(rs.AddRow({"bell\x07", "Z", "Z", 1, 1, 1, false, 1, cVariant(), cVariant()}), 0);
    EXPECT_EQ(rs.Save(dir.file("t.dat")), cRecordset::kErrBadArgument);
    EXPECT_EQ(testsupport::readAll(dir.file("t.dat")), before);
}

TEST(cRecordset, BuildingRefusesValuesThatDoNotSuit)
{
    cRecordset rs;
    ASSERT_EQ(rs.AppendField("a", cFieldType::Int16), 0);
    EXPECT_EQ(rs.AppendField("A", cFieldType::Int32), cRecordset::kErrBadFilter);
    EXPECT_EQ(rs.AppendField("b", 999), cRecordset::kErrBadFilter);
    EXPECT_EQ(rs.AddRow({40000}), cRecordset::kErrTypeMismatch);
    EXPECT_EQ(rs.AddRow({"12"}), cRecordset::kErrTypeMismatch);
    EXPECT_EQ(rs.AddRow({1, 2}), cRecordset::kErrTypeMismatch);
    EXPECT_EQ(rs.AddRow({cFixed(12)}), 0);
    EXPECT_EQ(rs.Fields("a").Value(), cVariant(12));
    EXPECT_EQ(rs.AppendField("c", cFieldType::Int32), cRecordset::kErrBadArgument);
}

// Bounded, seeded mutations of a good file: the reader never crashes, and a table it accepts
// can be walked and filtered.
TEST(cRecordset, FuzzSmoke)
{
    std::mt19937 gen(20240601);
    const std::string seed = kCatalogue;
    const std::string alphabet = "<>/='\"&;#x0123456789ab \n";
    for (int round = 0; round < 3000; ++round) {
        std::string data = seed;
        const int edits = 1 + static_cast<int>(gen() % 4);
        for (int e = 0; e < edits && !data.empty(); ++e) {
            const std::size_t at = gen() % data.size();
            switch (gen() % 4) {
            case 0: data[at] = alphabet[gen() % alphabet.size()]; break;
            case 1: data.erase(at, 1 + gen() % 8); break;
            case 2: data.insert(at, 1, alphabet[gen() % alphabet.size()]); break;
            default: data.resize(at); break;
            }
        }
        cRecordset rs;
        const long err = rs.OpenBytes(data);
        ASSERT_TRUE(err == 0 || err == cRecordset::kErrBadFile) << err;
        ASSERT_EQ(rs.IsOpen(), err == 0);
        if (err != 0) {
            continue;
        }
        long rows = 0;
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext(), ++rows) {
            for (long f = 0; f < rs.FieldCount(); ++f) {
                (void)rs.Fields(f).Value().toText();
            }
        }
        ASSERT_EQ(rows, rs.RecordCount());
        if (rs.FieldIndex("setID") >= 0) {
            ASSERT_EQ(rs.Filter("setID='Alpha'"), 0);
        }
    }
}

}  // namespace

// Set-up of the circuit file tests: a set loader that knows the test sets, the temporary and
// runtime folders switched to one of the test's own (nothing may land in the user's), a
// sample circuit with pieces of two sets, every kind of object and a background drawing, and
// the masking of the save time.
#pragma once

#include "CircuitFixture.h"
#include "dxf/zvLib_dxf.h"
#include "foundation/zvLib_text.h"
#include "model/zvObject.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace modeltest {

// A user interface whose set loader knows the sets "T" and "U" (others give -4, "Z" -3). Like
// the program's loader it makes the code current whatever the result.
class SetLoaderUI : public FakeUI {
  public:
    std::int16_t LoadSet(const std::string& setCode) override
    {
        loaded.push_back(setCode);
        zvLib::CurSetID = setCode;
        if (setCode == "Z") {
            return -3;
        }
        return zvLib::SameText(setCode, "T") || zvLib::SameText(setCode, "U") ? 0 : -4;
    }
};

class CircuitFileTest : public CircuitTest {
  protected:
    void SetUp() override
    {
        CircuitTest::SetUp();
        loader = std::make_shared<SetLoaderUI>();
        zvLib::UI = loader;
        ui = loader;
        zvLib::PieceTable.push_back(straightOf("U", "S100"));
        zvLib::PieceTable.push_back(straightOf("AB2", "S1"));
        zvLib::PieceTable.push_back(straightOf("B2", "S1"));
        zvLib::PieceTable.push_back(straightOf("t", "S9"));
        // Both places the program may keep temporary files: the temporary folder and the
        // user's runtime folder of a desktop session.
        for (const char* name : {"TMPDIR", "XDG_RUNTIME_DIR"}) {
            const char* old = std::getenv(name);
            oldEnv.emplace_back(name,
                                old != nullptr ? std::optional<std::string>(old) : std::nullopt);
            setenv(name, tmp.path().c_str(), 1);
        }
    }
    void TearDown() override
    {
        zvLib::DXF.reset();
        zvLib::Circuit(nullptr);
        for (const auto& [name, value] : oldEnv) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
        CircuitTest::TearDown();
    }

    // A straight 100 mm long of another set.
    static zvPieceRecord straightOf(const std::string& set, const std::string& item)
    {
        zvPieceRecord r = record(item, 1, 100);
        r.setID = set;
        return r;
    }

    // An object of a class with points, colours, size and, for a text, its text.
    static std::shared_ptr<zvObject> object(const std::string& cls, const std::string& id,
                                            const std::string& points, std::int32_t color,
                                            std::int32_t fill, std::int32_t size)
    {
        auto o = std::make_shared<zvObject>();
        o->Class(cls);
        o->ID(id);
        o->Points(points);
        o->Color(color);
        o->fillColor(fill);
        o->Size(size);
        return o;
    }

    // The sample circuit: two tracks of pieces of the sets "T" and "U" with markers, a name and
    // description that need escaping, one object of every class and a background drawing.
    std::shared_ptr<zvCircuit> sampleCircuit()
    {
        auto c = newCircuit(4, 90, 12.5, -3.5);
        track(*c, 1).append("T:S500;T:C90(L)[#];U:S100;T:C45(R)[AB][CD];T:X200;");
        track(*c, 2).append("T:W300(F);U:S100;T:S200;");
        c->Name("A;B\r\nC & <D>");
        c->Description("Pista \xC3\xA8 lunga\r\n\tseconda riga; \"fine\"");
        c->objects().Add(object("line", "L1", "0:0;100:0;100:50", 255, 0, 2));
        auto text = object("text", "T1", "10:20", 0xFF0000, 0, 12);
        text->Text("Box & <start>");
        c->objects().Add(text);
        c->objects().Add(object("measure", "M1", "0:0;1234:0", 1, 2, 3));
        auto room = std::make_shared<zvObject>();
        room->Class("room");
        room->ID("R1");
        room->Points("-500:-500;3000:-500;3000:2000;-500:2000");
        room->Size(3);
        c->objects().Add(room);
        zvLib::DXF = std::make_unique<cDXF>();
        zvLib::DXF->LoadBytes(testsupport::readAll(testsupport::dataPath("dxf/entities.dxf")));
        zvLib::DXF->OffsetX(fx(120.5));
        zvLib::DXF->OffsetY(fx(-30));
        zvLib::DXF->scaleFactor(fx(0.25));
        return c;
    }

    // The text with the content of the first element of that name replaced.
    static std::string withContent(std::string text, const std::string& element,
                                   const std::string& content)
    {
        const std::size_t from = text.find("<" + element + ">");
        const std::size_t to = text.find("</" + element + ">", from);
        if (from != std::string::npos && to != std::string::npos) {
            const std::size_t begin = from + element.size() + 2;
            text.replace(begin, to - begin, content);
        }
        return text;
    }
    // The file text with the save time and the copy's path of the background drawing masked.
    static std::string masked(const std::string& text)
    {
        return withContent(withContent(text, "lastsaved", "@"), "filename", "@");
    }

    testsupport::TempDir tmp;
    std::vector<std::pair<std::string, std::optional<std::string>>> oldEnv;
    std::shared_ptr<SetLoaderUI> loader;
};

} // namespace modeltest

// Checks the data files shipped beside the program: the language table Zorv.lng (every key the
// program looks up, in every offered language) and the HTML report template zorv.htt (every
// placeholder the export fills).
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <regex>
#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const std::array<std::string, 4> kLanguages = {"EN", "IT", "FR", "ES"};

// Tools of the main window's bands whose captions and tips come from the table, by band.
// The status bar "sbr" and the separators are never translated and are left out.
const std::vector<std::pair<std::string, std::vector<std::string>>> kBandTools = {
    {"mnuMain", {"mnuFile", "mnuEdit", "mnuView", "mnuTools", "mnuHelp"}},
    {"mnuFile",
     {"new", "open", "save", "saveas", "print", "printsetup", "export", "excel", "mru1", "mru2",
      "mru3", "mru4", "exit"}},
    {"mnuEdit",
     {"undo", "redo", "cut", "copy", "paste", "selectall", "delete", "remove", "mirror"}},
    {"mnuView",
     {"zoom+", "zoom-", "fit", "rotate-", "rotate+", "grid", "lines", "fill", "lanes", "refs",
      "kerbs", "info", "design", "report", "editor"}},
    {"mnuTools", {"options", "lang", "reset"}},
    {"mnuHelp", {"help", "about", "web.nux", "web.trasken"}},
    {"tbr",
     {"cboSet", "new", "open", "save", "cut", "copy", "paste", "undo", "redo", "zoom+", "zoom-",
      "fit", "rotate-", "rotate+", "moveleft", "moveright", "moveup", "movedown", "select",
      "ruler", "polyline", "text", "line", "rect", "grid", "lines", "fill", "fillex", "lanes",
      "refs", "kerbs", "info", "miHContents"}},
    {"ibr", {"pointer", "text", "line"}},
    {"mnuItem",
     {"cut", "copy", "paste", "delete", "remove", "mirror", "tofront", "toback", "kerbLeft",
      "kerbRight", "savesnippet"}},
    {"vbr", {"design", "report", "editor"}},
};

// Bands shown as menus, where the access keys of one menu must differ.
const std::set<std::string> kMenuBands = {"mnuMain", "mnuFile", "mnuEdit", "mnuView",
                                          "mnuTools", "mnuHelp", "mnuItem"};

// Keys looked up outside the toolbar: windows, dialogs, messages and report headings.
const std::vector<std::string> kLookedUpKeys = {
    "$msg.ready", "$msg.noundo", "$msg.noredo", "$msg.snippetname", "$msg.filenotvalid",
    "$msg.nodef", "$msg.nohtt", "$msg.excelfilename", "$msg.excelfileopen",
    "$msg.savefailed", "$msg.savefailed.folder", "$msg.savefailed.readonly",
    "$msg.savefailed.nofolder", "$msg.savefailed.denied", "$msg.savefailed.write",
    "$msg.savefailed.link", "$msg.savefailed.loop", "$msg.savefailed.notowner",
    "$msg.savefailed.notfile", "$msg.savefailed.toolarge", "$msg.savefailed.longname",
    "$msg.savefailed.notfolder", "$msg.savefailed.noname", "$msg.savefailed.elsewhere",
    "$msg.notsaved",
    "$msg.piecesskipped", "$msg.filenotfound", "$msg.readfailed", "$msg.readfailed.denied",
    "$msg.readfailed.notfile", "$msg.readfailed.systemfile", "$msg.readfailed.toolarge",
    "$msg.readfailed.error",
    "$msg.reportfailed",
    "$msg.excelnotfound", "$msg.htmlfilename", "$msg.exporting", "$report.filename",
    "$allFilesTypes", "$zorvProject", "$left", "$right", "$track", "$items.selected",
    "$lang.caption", "$lang.legend", "$cmd.cancel", "$splash.caption.new", "$splash.2lanes",
    "$splash.4lanes", "$splash.6lanes", "$splash.8lanes", "$splash.cbo", "$splash.fil",
    "$version", "$items", "$snippets", "$draw",
    // report view, info window and HTML report
    "$report.name", "$report.description", "$report.set", "$report.scale", "$report.avglenght",
    "$report.reqroom", "$report.track", "$report.lanes", "$report.lanes.info", "$report.lane",
    "$report.lanes.len1", "$report.lanes.len2", "$report.bom", "$report.bom.code",
    "$report.bom.desc", "$report.bom.used", "$report.bom.stock", "$report.bom.free",
    // options dialog
    "$options", "$cmd.ok", "$cmd.apply", "$options.col.reset", "$options.colors",
    "$options.col.lane1", "$options.col.lane2", "$options.col.lane3", "$options.col.lane4",
    "$options.col.lane5", "$options.col.lane6", "$options.col.lane7", "$options.col.lane8",
    "$options.lanewidth", "$options.col.background", "$options.col.normal",
    "$options.col.selected", "$options.col.preview", "$options.col.banked", "$options.col.kerbs",
    "$options.grid.width", "$options.grid.style", "$options.grid", "$options.grid.style.0",
    "$options.grid.style.1", "$options.grid.style.2", "$options.grid.style.3"};

// Dialog buttons share the "$cmd." prefix but are captioned directly and carry no tool tip.
const std::set<std::string> kDialogButtons = {"$cmd.ok", "$cmd.apply", "$cmd.cancel"};

// The report template's placeholders, in the order the export replaces them.
const std::vector<std::string> kPlaceholders = {
    "$zorv.release", "$filename", "$name", "$desc", "$definition", "$scale#", "$lanes#",
    "$length#", "$width#", "$height#", "$zorvfile#", "$report.reqroom", "$report.lanes",
    "$report.set", "$report.scale", "$report.avglenght", "$report.filename", "$tbl_lanes",
    "$tbl_bom", "$tbl_plan", "$head2", "$head3", "$head4", "$picture"};

bool endsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string trimmed(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t\r\n");
    size_t e = s.find_last_not_of(" \t\r\n");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// One row of the table: the key and the text of each language field that is present.
struct LangRow {
    std::string id;
    std::map<std::string, std::string> texts;
};

// The language table as the program ships it.
class LanguageTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = std::string(ZORV_SOURCE_DIR) + "/resources/Zorv.lng";
        parsed = doc.load_file(path.c_str());
        ASSERT_TRUE(parsed) << path << ": " << parsed.description() << " at offset "
                            << parsed.offset;
        for (pugi::xml_node row : doc.child("recordset").children("row")) {
            LangRow r;
            r.id = row.attribute("ID").as_string();
            for (const std::string& lang : kLanguages) {
                if (pugi::xml_attribute a = row.attribute(lang.c_str())) {
                    r.texts[lang] = a.value();
                } else if (pugi::xml_node n = row.child(lang.c_str())) {
                    r.texts[lang] = n.text().as_string();
                }
            }
            rows.push_back(r);
            byId[r.id] = rows.size() - 1;
        }
    }

    bool has(const std::string& key) const { return byId.count(key) != 0; }
    const LangRow& row(const std::string& key) const { return rows.at(byId.at(key)); }

    std::string path;
    pugi::xml_document doc;
    pugi::xml_parse_result parsed;
    std::vector<LangRow> rows;
    std::map<std::string, size_t> byId;
};

TEST_F(LanguageTable, DeclaresTheKeyFieldAndOneTextFieldPerLanguage)
{
    std::vector<std::string> names;
    for (pugi::xml_node f : doc.child("recordset").child("fields").children("field")) {
        names.push_back(f.attribute("name").as_string());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"ID", "EN", "IT", "FR", "ES"}));
    EXPECT_GT(rows.size(), 100u);
}

TEST_F(LanguageTable, KeysAreUniqueAndBeginWithDollar)
{
    std::set<std::string> seen;
    for (const LangRow& r : rows) {
        EXPECT_TRUE(r.id.size() > 1 && r.id[0] == '$') << "key \"" << r.id << "\"";
        EXPECT_TRUE(seen.insert(r.id).second) << "duplicate key " << r.id;
        EXPECT_EQ(r.id, trimmed(r.id)) << "blank around key \"" << r.id << "\"";
    }
}

TEST_F(LanguageTable, EveryRowHasATextInEveryLanguage)
{
    for (const LangRow& r : rows) {
        for (const std::string& lang : kLanguages) {
            auto it = r.texts.find(lang);
            ASSERT_NE(it, r.texts.end()) << r.id << " has no " << lang << " text";
            EXPECT_FALSE(trimmed(it->second).empty()) << r.id << " has an empty " << lang;
            EXPECT_EQ(it->second.find_first_of("\r\n"), std::string::npos)
                << r.id << " " << lang << ": a line break is written as backslash n";
            EXPECT_EQ(it->second.find("[TODO]"), std::string::npos) << r.id << " " << lang;
        }
    }
}

TEST_F(LanguageTable, ToolCaptionsAndTipsComeInPairs)
{
    const std::string prefix = "$cmd.";
    for (const LangRow& r : rows) {
        if (r.id.rfind(prefix, 0) != 0 || kDialogButtons.count(r.id)) {
            continue;
        }
        if (endsWith(r.id, ".tip")) {
            EXPECT_TRUE(has(r.id.substr(0, r.id.size() - 4))) << r.id << " has no caption";
        } else {
            EXPECT_TRUE(has(r.id + ".tip")) << r.id << " has no tool tip";
        }
    }
}

TEST_F(LanguageTable, EveryTranslatedToolHasCaptionAndTip)
{
    for (const auto& [band, tools] : kBandTools) {
        for (const std::string& tool : tools) {
            EXPECT_TRUE(has("$cmd." + tool)) << "band " << band << ": $cmd." << tool;
            EXPECT_TRUE(has("$cmd." + tool + ".tip")) << "band " << band << ": $cmd." << tool
                                                      << ".tip";
        }
    }
}

TEST_F(LanguageTable, EveryKeyLookedUpOutsideTheToolbarIsPresent)
{
    for (const std::string& key : kLookedUpKeys) {
        EXPECT_TRUE(has(key)) << key;
    }
}

// Every whole key the program's own sources name as a text literal ("$..." not ending with a
// dot, which would be the front of a key built at run time; names in capitals alone, such as
// "$HOME", are environment variables).
std::set<std::string> keysInSources()
{
    std::set<std::string> keys;
    const std::regex literal(R"re("(\$[A-Za-z][A-Za-z0-9_.+\-]*)")re");
    for (const char* folder : {"foundation", "model", "dxf", "app", "view", "reports", "platform"}) {
        const std::filesystem::path root = std::filesystem::path(ZORV_SOURCE_DIR) / folder;
        if (!std::filesystem::exists(root)) {
            continue;
        }
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".cpp" && ext != ".h") {
                continue;
            }
            const std::string text = testsupport::readAll(entry.path().string());
            for (std::sregex_iterator m(text.begin(), text.end(), literal), end; m != end; ++m) {
                const std::string key = (*m)[1];
                const bool lower = std::any_of(key.begin(), key.end(),
                                               [](char c) { return c >= 'a' && c <= 'z'; });
                if (key.back() != '.' && lower) {
                    keys.insert(key);
                }
            }
        }
    }
    return keys;
}

TEST_F(LanguageTable, EveryKeyTheProgramLooksUpHasAnEnglishText)
{
    std::set<std::string> keys = keysInSources();
    EXPECT_GT(keys.size(), 20u);  // the scan found the program's keys at all
    keys.erase("$setcode");       // the item bar's design caption, replaced by the set's code
    for (const std::string& key : keys) {
        ASSERT_TRUE(has(key)) << key << " is looked up but missing from the language table";
        EXPECT_FALSE(trimmed(row(key).texts.at("EN")).empty()) << key;
    }
}

// The access key of a caption: the character after its single "&", lower-cased when ASCII.
std::string accessKey(const std::string& caption)
{
    size_t amp = caption.find('&');
    if (amp == std::string::npos || amp + 1 >= caption.size()) {
        return {};
    }
    size_t len = 1;
    unsigned char lead = static_cast<unsigned char>(caption[amp + 1]);
    if (lead >= 0xF0) {
        len = 4;
    } else if (lead >= 0xE0) {
        len = 3;
    } else if (lead >= 0xC0) {
        len = 2;
    }
    std::string key = caption.substr(amp + 1, len);
    if (len == 1) {
        key[0] = static_cast<char>(std::tolower(lead));
    }
    return key;
}

TEST_F(LanguageTable, MenuCaptionsHaveOneAccessKeyEachAndNoTwoAlikeInAMenu)
{
    for (const auto& [band, tools] : kBandTools) {
        if (!kMenuBands.count(band)) {
            continue;
        }
        for (const std::string& lang : kLanguages) {
            std::map<std::string, std::string> used;
            for (const std::string& tool : tools) {
                const std::string key = "$cmd." + tool;
                if (!has(key)) {
                    continue;  // reported by EveryTranslatedToolHasCaptionAndTip
                }
                const std::string caption = row(key).texts.at(lang);
                EXPECT_EQ(std::count(caption.begin(), caption.end(), '&'), 1)
                    << key << " " << lang << ": \"" << caption << "\"";
                const std::string ak = accessKey(caption);
                ASSERT_FALSE(ak.empty() || ak == " ") << key << " " << lang;
                auto [it, fresh] = used.emplace(ak, tool);
                EXPECT_TRUE(fresh) << band << " " << lang << ": " << tool << " and "
                                   << it->second << " share the access key " << ak;
            }
        }
    }
}

TEST_F(LanguageTable, MessagesWithPlaceholdersHoldEachOnceInEveryLanguage)
{
    const std::vector<std::pair<std::string, std::vector<std::string>>> messages = {
        {"$msg.excelfileopen", {"%1"}},
        {"$msg.savefailed", {"%1", "%2"}},
        {"$msg.notsaved", {"%1", "%2"}},
        {"$msg.piecesskipped", {"%1", "%2"}},
        {"$msg.filenotfound", {"%1"}},
        {"$msg.readfailed", {"%1", "%2"}},
        {"$msg.reportfailed", {"%1", "%2"}},
    };
    for (const auto& [key, marks] : messages) {
        ASSERT_TRUE(has(key)) << key;
        for (const std::string& lang : kLanguages) {
            const std::string& text = row(key).texts.at(lang);
            for (const std::string& mark : marks) {
                size_t at = text.find(mark);
                EXPECT_NE(at, std::string::npos) << key << " " << lang << ": no " << mark;
                EXPECT_EQ(text.find(mark, at + 1), std::string::npos)
                    << key << " " << lang << ": " << mark << " twice";
            }
        }
    }
}

// The report template as the program ships it.
class ReportTemplate : public ::testing::Test {
protected:
    void SetUp() override
    {
        text = testsupport::readAll(std::string(ZORV_SOURCE_DIR) + "/resources/zorv.htt");
        ASSERT_FALSE(text.empty());
    }
    std::string text;
};

TEST_F(ReportTemplate, HoldsEveryPlaceholderOfTheReport)
{
    for (const std::string& p : kPlaceholders) {
        EXPECT_NE(text.find(p), std::string::npos) << p;
    }
}

TEST_F(ReportTemplate, EveryDollarWordIsAPlaceholder)
{
    // A "$" that starts no placeholder would either stay in the page or be partly filled.
    for (size_t at = text.find('$'); at != std::string::npos; at = text.find('$', at + 1)) {
        bool known = std::any_of(kPlaceholders.begin(), kPlaceholders.end(),
                                 [&](const std::string& p) {
                                     return text.compare(at, p.size(), p) == 0;
                                 });
        EXPECT_TRUE(known) << "offset " << at << ": " << text.substr(at, 24);
    }
}

TEST_F(ReportTemplate, IsSelfContainedAsciiHtml)
{
    EXPECT_TRUE(std::all_of(text.begin(), text.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
    for (const char* outside : {"http:", "https:", "<script", "<link", "@import", "url("}) {
        EXPECT_EQ(text.find(outside), std::string::npos) << outside;
    }
    EXPECT_NE(text.find("<html"), std::string::npos);
    EXPECT_NE(text.find("</html>"), std::string::npos);
}

}  // namespace

// INI files: reading keys and sections, writing and deleting (one key, or several keys of a
// section in one rewrite), what the rewrite keeps, writes that must fail without harm, a
// model-checked random round trip and a seeded fuzz smoke.
#include "foundation/NUX_STD_library.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include <sys/stat.h>

using namespace NUX_STD_library;
using testsupport::readAll;
using testsupport::TempDir;
using testsupport::writeAll;
using Pairs = std::vector<std::pair<std::string, std::string>>;
namespace fs = std::filesystem;

namespace {

class Ini : public ::testing::Test {
protected:
    TempDir tmp;
    std::string file = tmp.file("Zorv.ini");
};

}  // namespace

TEST_F(Ini, ReadsKeysAndSectionsIgnoringCase)
{
    writeAll(file, "[Options]\na=1\nb=2\n[Colors]\nGridColor=Gainsboro\n");
    EXPECT_EQ(IniRead("options", "A", file), "1");
    EXPECT_EQ(IniRead("COLORS", "gridcolor", file), "Gainsboro");
    EXPECT_EQ(IniRead("Options", "GridColor", file), "");
    EXPECT_EQ(IniRead("Missing", "a", file), "");
    EXPECT_EQ(IniRead("Options", "a", tmp.file("none.ini")), "");

    Pairs pairs;
    EXPECT_EQ(IniReadSection("OPTIONS", file, pairs), 2);
    EXPECT_EQ(pairs, (Pairs{{"a", "1"}, {"b", "2"}}));

    Pairs untouched{{"keep", "me"}};
    EXPECT_EQ(IniReadSection("Missing", file, untouched), 0);
    EXPECT_EQ(IniReadSection("Options", tmp.file("none.ini"), untouched), 0);
    writeAll(file, "[Empty]\n; only a comment\n[Next]\nx=1\n");
    EXPECT_EQ(IniReadSection("Empty", file, untouched), 0);
    EXPECT_EQ(untouched, (Pairs{{"keep", "me"}}));
}

TEST_F(Ini, ParsesUntidyFiles)
{
    writeAll(file, "\xEF\xBB\xBF"
                   "stray=before any section\r\n"
                   "  [ Set.STOCK ]  \r\n"
                   "; K1=commented out\r\n"
                   "no equals sign here\r\n"
                   "=no name\r\n"
                   "\tK1 \t=\t 12  \r\n"
                   "k1=second copy\r\n"
                   "q=\"  quoted  \"\r\n"
                   "s=' single'\r\n"
                   "half=\"open\r\n"
                   "eq=a=b\r\n"
                   "[set.stock]\r\n"
                   "late=hidden by the first section\r\n"
                   "[Last]\r\n"
                   "end=no line end");
    EXPECT_EQ(IniRead("Set.STOCK", "K1", file), "12");
    EXPECT_EQ(IniRead("Set.STOCK", "q", file), "  quoted  ");
    EXPECT_EQ(IniRead("Set.STOCK", "s", file), " single");
    EXPECT_EQ(IniRead("Set.STOCK", "half", file), "\"open");
    EXPECT_EQ(IniRead("Set.STOCK", "eq", file), "a=b");
    EXPECT_EQ(IniRead("Set.STOCK", "late", file), "");
    EXPECT_EQ(IniRead("Set.STOCK", "stray", file), "");
    EXPECT_EQ(IniRead(" set.stock ", " k1 ", file), "12");
    EXPECT_EQ(IniRead("Last", "end", file), "no line end");

    Pairs pairs;
    ASSERT_EQ(IniReadSection("set.stock", file, pairs), 5);
    EXPECT_EQ(pairs[0], (std::pair<std::string, std::string>("K1", "12")));
    EXPECT_EQ(pairs[4].first, "eq");
}

TEST_F(Ini, LongValuesAndLongKeyListsAreNotCut)
{
    const std::string longValue(3000, 'v');
    IniWrite("Big", "value", longValue, file);
    EXPECT_EQ(IniRead("Big", "value", file), longValue);

    for (int i = 0; i < 300; ++i) {
        IniWrite("Many", "ItemBarWidth/Set" + std::to_string(i), std::to_string(i), file);
    }
    Pairs pairs;
    ASSERT_EQ(IniReadSection("Many", file, pairs), 300);
    EXPECT_EQ(pairs[299], (std::pair<std::string, std::string>("ItemBarWidth/Set299", "299")));
}

TEST_F(Ini, WriteCreatesFileSectionAndKey)
{
    IniWrite("Options", "LangID", "EN", file);
    EXPECT_EQ(readAll(file), "[Options]\nLangID=EN\n");
    IniWrite("Colors", "Back", "  ", file);  // blanks are a value, kept inside quotes
    EXPECT_EQ(readAll(file), "[Options]\nLangID=EN\n[Colors]\nBack=\"  \"\n");
    EXPECT_EQ(IniRead("Colors", "Back", file), "  ");
}

// Reading takes blanks, tabs, VT and FF off a value's ends and one pair of enclosing quotes:
// a value that would lose them is written quoted, so every reader gives it back whole.
TEST_F(Ini, EveryValueWithoutALineBreakReadsBackWhole)
{
    const std::string values[] = {"  ",      " lead",  "trail ", "\ttabs\t", "\"quoted\"",
                                  "'single'", "\v",    "\f x",   "a\"",     "\"",
                                  "'",       "\"a' ", "plain",  "in side"};
    for (const std::string& v : values) {
        IniWrite("Round", "", "", file);
        IniWrite("Round", "k", v, file);
        EXPECT_EQ(IniRead("Round", "k", file), v) << "[" << v << "]";
        EXPECT_EQ(IniReadExact("Round", "k", file), std::optional<std::string>(v)) << v;
        Pairs pairs;
        ASSERT_EQ(IniReadSection("Round", file, pairs), 1);
        EXPECT_EQ(pairs[0].second, v);
        IniWriteSection("Round", {{"k", ""}, {"m", v}}, file);
        EXPECT_EQ(IniRead("Round", "m", file), v) << "[" << v << "]";
    }
    EXPECT_EQ(readAll(file), "[Round]\nm=in side\n") << "a value reading keeps is not quoted";
}

TEST_F(Ini, AnExactReadLeavesOutAValueStoredWithBlanksAroundIt)
{
    writeAll(file, "[MRUFiles]\n1=/c/a.zv6\n2=/c/b.zv6 \n3= /c/c.zv6\n4=\"/c/d.zv6 \"\n"
                   "5 =\t/c/e.zv6\n6=\n");
    EXPECT_EQ(IniReadExact("mrufiles", "1", file), std::optional<std::string>("/c/a.zv6"));
    EXPECT_EQ(IniReadExact("MRUFiles", "2", file), std::nullopt);
    EXPECT_EQ(IniReadExact("MRUFiles", "3", file), std::nullopt);
    EXPECT_EQ(IniReadExact("MRUFiles", "4", file), std::optional<std::string>("/c/d.zv6 "));
    EXPECT_EQ(IniReadExact("MRUFiles", "5", file), std::nullopt);
    EXPECT_EQ(IniReadExact("MRUFiles", "6", file), std::optional<std::string>(""));
    EXPECT_EQ(IniReadExact("MRUFiles", "7", file), std::optional<std::string>(""));
    EXPECT_EQ(IniReadExact("None", "1", file), std::optional<std::string>(""));
    EXPECT_EQ(IniReadExact("MRUFiles", "1", tmp.file("none.ini")), std::optional<std::string>(""));
}

TEST_F(Ini, RewriteChangesOnlyTheKeyAndKeepsTheRest)
{
    writeAll(file, "; settings\r\n[Options]\r\nGridWidth = 10\r\n\r\n; colours follow\r\n"
                   "[Colors]\r\nBack=White");
    IniWrite("OPTIONS", "gridwidth", "20", file);
    IniWrite("options", "Snap", "1", file);
    IniWrite("colors", "Fore", "Black", file);
    IniWrite("MRUFiles", "File1", "/home/u/a.zv6", file);
    EXPECT_EQ(readAll(file), "; settings\r\n[Options]\r\nGridWidth=20\r\nSnap=1\r\n\r\n"
                             "; colours follow\r\n[Colors]\r\nBack=White\r\nFore=Black\r\n"
                             "[MRUFiles]\r\nFile1=/home/u/a.zv6\r\n");

    const auto before = fs::last_write_time(file);
    const std::string bytes = readAll(file);
    IniWrite("Options", "GridWidth", "20", file);  // same value: nothing to write
    IniWrite("Options", "Missing", "", file);
    IniWrite("Missing", "", "", file);
    EXPECT_EQ(readAll(file), bytes);
    EXPECT_EQ(fs::last_write_time(file), before);
}

TEST_F(Ini, EmptyValueDeletesKeyAndEmptyKeyDeletesSection)
{
    writeAll(file, "[0]\nzero=kept\n[S]\na=1\nA=dup\nb=2\n[T]\nc=3\n[s]\nd=4\n");
    IniWrite("S", "a", "", file);
    EXPECT_EQ(IniRead("S", "a", file), "");
    EXPECT_EQ(readAll(file), "[0]\nzero=kept\n[S]\nb=2\n[T]\nc=3\n[s]\nd=4\n");

    IniWrite("s", "", "a value is ignored", file);
    EXPECT_EQ(readAll(file), "[0]\nzero=kept\n[T]\nc=3\n");
    EXPECT_EQ(IniRead("0", "zero", file), "kept");

    IniWrite("T", "gone", "", tmp.file("absent.ini"));
    IniWrite("T", "", "", tmp.file("absent.ini"));
    EXPECT_FALSE(fs::exists(tmp.file("absent.ini")));
}

TEST_F(Ini, RefusedWritesLeaveEverythingAsItWas)
{
    const std::string original = "[Options]\nLangID=IT\n";
    writeAll(file, original);
    IniWrite("Options", "LangID", "EN\n[Evil]\nx=1", file);
    IniWrite("Options", "Lang\nID", "EN", file);
    IniWrite("Opt\rions", "LangID", "EN", file);
    IniWrite("Options", "a=b", "EN", file);
    IniWrite("Options", "[Evil]", "EN", file);
    IniWrite("Options", "   ", "EN", file);
    EXPECT_EQ(readAll(file), original);

    IniWrite("Options", "LangID", "EN", tmp.file("no/such/folder/Zorv.ini"));
    EXPECT_FALSE(fs::exists(tmp.file("no")));

    fs::create_directory(tmp.file("folder.ini"));
    IniWrite("Options", "LangID", "EN", tmp.file("folder.ini"));
    EXPECT_TRUE(fs::is_directory(tmp.file("folder.ini")));

    // A read-only settings file is left as it is.
    const std::string readOnly = tmp.file("readonly.ini");
    writeAll(readOnly, original);
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read);
    IniWrite("Options", "LangID", "EN", readOnly);
    EXPECT_EQ(readAll(readOnly), original);

    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(tmp.path())) {
        names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Zorv.ini", "folder.ini", "readonly.ini"}));
}

TEST_F(Ini, RewriteKeepsPermissionsAndSymbolicLinks)
{
    writeAll(file, "[A]\nx=1\n");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const std::string link = tmp.file("link.ini");
    fs::create_symlink(file, link);
    IniWrite("A", "x", "2", link);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readAll(file), "[A]\nx=2\n");
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

namespace {

// What the file should hold: sections in file order, each with its keys in file order.
struct ModelSection {
    std::string name;
    Pairs keys;
};

bool SameCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

template <class V, class Name>
auto FindNoCase(V& v, const std::string& name, Name nameOf)
{
    return std::find_if(v.begin(), v.end(),
                        [&](const auto& e) { return SameCase(nameOf(e), name); });
}

void ApplyToModel(std::vector<ModelSection>& m, const std::string& s, const std::string& k,
                  const std::string& v)
{
    auto sec = FindNoCase(m, s, [](const ModelSection& e) { return e.name; });
    if (k.empty()) {
        if (sec != m.end()) {
            m.erase(sec);
        }
        return;
    }
    if (sec == m.end()) {
        if (v.empty()) {
            return;
        }
        m.push_back({s, {}});
        sec = m.end() - 1;
    }
    auto key = FindNoCase(sec->keys, k, [](const auto& p) { return p.first; });
    if (v.empty()) {
        if (key != sec->keys.end()) {
            sec->keys.erase(key);
        }
    } else if (key != sec->keys.end()) {
        key->second = v;
    } else {
        sec->keys.emplace_back(k, v);
    }
}

std::string RandomCase(std::mt19937& rng, std::string s)
{
    for (char& c : s) {
        if (rng() % 2 == 0) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    return s;
}

std::string RandomValue(std::mt19937& rng)
{
    static const std::vector<std::string> pieces = {
        "a", "Z", "0", "9", " ", "=", ";", "[", "]", "\"", "'", "\t", "é", "€", "#", ".", ":"};
    std::string v;
    const int n = static_cast<int>(rng() % 12);
    for (int i = 0; i < n; ++i) {
        v += pieces[rng() % pieces.size()];
    }
    // Blanks around a value and enclosing quotes do not read back; keep the ends plain.
    if (!v.empty() && std::string(" \t\"'").find(v.front()) != std::string::npos) {
        v = "x" + v;
    }
    if (!v.empty() && std::string(" \t\"'").find(v.back()) != std::string::npos) {
        v += "x";
    }
    return v;
}

}  // namespace

TEST_F(Ini, RandomWritesReadBackAsAModelSays)
{
    const std::vector<std::string> sections = {"Options", "Colors", "0", "Set.SNIPPETS",
                                               "frmInfo/Layout", "Ünï cöde"};
    const std::vector<std::string> keys = {"a", "Key1", "Grid Width", "ItemBarWidth/ABC",
                                           "x.y", "ключ", "z]"};
    std::mt19937 rng(20240611);
    std::vector<ModelSection> model;
    for (int step = 0; step < 400; ++step) {
        const std::string s = RandomCase(rng, sections[rng() % sections.size()]);
        const std::string k = rng() % 25 == 0 ? "" : RandomCase(rng, keys[rng() % keys.size()]);
        const std::string v = RandomValue(rng);
        IniWrite(s, k, v, file);
        ApplyToModel(model, s, k, v);

        for (const std::string& name : sections) {
            Pairs pairs;
            const int n = IniReadSection(name, file, pairs);
            auto sec = FindNoCase(model, name, [](const ModelSection& e) { return e.name; });
            const Pairs expected = sec == model.end() ? Pairs{} : sec->keys;
            ASSERT_EQ(n, static_cast<int>(expected.size())) << "step " << step << " " << name;
            if (n > 0) {
                ASSERT_EQ(pairs, expected) << "step " << step;
            }
            for (const auto& [key, value] : expected) {
                ASSERT_EQ(IniRead(RandomCase(rng, name), RandomCase(rng, key), file), value);
            }
        }
    }
}

TEST_F(Ini, FuzzSmokeOnRandomFiles)
{
    const std::string alphabet = "[]=;\"' \t\r\n\nab0";
    const std::vector<std::string> names = {"a", "b", "ab", ""};
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        const int n = static_cast<int>(rng() % 200);
        for (int i = 0; i < n; ++i) {
            bytes += alphabet[rng() % alphabet.size()];
        }
        writeAll(file, bytes);
        const std::string s = names[rng() % names.size()];
        std::vector<Pairs> before;
        for (const std::string& other : names) {
            Pairs p;
            IniReadSection(other, file, p);
            before.push_back(p);
        }
        const int op = static_cast<int>(rng() % 3);
        IniWrite(s, op == 2 ? "" : "k", op == 0 ? "v" : "", file);
        EXPECT_EQ(IniRead(s, "k", file), op == 0 ? "v" : "") << bytes;
        for (std::size_t i = 0; i < names.size(); ++i) {
            Pairs p;
            IniReadSection(names[i], file, p);
            if (names[i] != s) {
                EXPECT_EQ(p, before[i]) << "round " << round << " bytes " << bytes;
            }
        }
    }
}

TEST_F(Ini, SectionWriteLeavesTheFileAsOneWritePerPairWould)
{
    // A stock section brought up to date: values replaced in place, new keys after the last.
    writeAll(file, "[A.stock]\r\nS1=3\r\nx=word\r\n[B.STOCK]\r\nS1=7\r\n");
    IniWriteSection("A.STOCK", {{"S1", "3"}, {"X", "0"}, {"C2", "0"}}, file);
    EXPECT_EQ(readAll(file), "[A.stock]\r\nS1=3\r\nx=0\r\nC2=0\r\n[B.STOCK]\r\nS1=7\r\n");

    // Nothing to change: the file is not rewritten.
    const auto inode = [](const std::string& path) {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 ? st.st_ino : ino_t{};
    };
    const ino_t before = inode(file);
    IniWriteSection("a.stock", {{"s1", "3"}, {"C2", "0"}, {"gone", ""}}, file);
    EXPECT_EQ(inode(file), before);

    // A section name with a line break refuses every pair; no pairs change nothing; only a
    // pair that sets a key makes a missing file.
    const std::string bytes = readAll(file);
    IniWriteSection("A.STOCK\n[B.STOCK]", {{"S1", "9"}}, file);
    IniWriteSection("A.STOCK", {}, file);
    EXPECT_EQ(readAll(file), bytes);
    const std::string absent = tmp.file("absent.ini");
    IniWriteSection("T", {{"k", ""}, {"", ""}}, absent);
    EXPECT_FALSE(fs::exists(absent));
    IniWriteSection("T", {{"k", ""}, {"k", "1"}}, absent);
    EXPECT_EQ(readAll(absent), "[T]\nk=1\n");

    // Random files and random pairs, refused ones and deletions among them: byte for byte
    // what IniWrite pair after pair gives.
    const std::vector<std::string> starts = {
        "", "[a]\nk=1\n", "[A]\r\nK = 2\r\n; note\r\n\r\n[b]\r\nk=3", "x\n[a]\n[a]\nk=4\n"};
    const std::vector<std::string> keys = {"k", "K", " k ", "n", "", "a=b", "[x]", "m\n"};
    const std::vector<std::string> values = {"1", "", "two words", "0", "v\r\n[b]"};
    const std::string single = tmp.file("single.ini");
    const std::string batch = tmp.file("batch.ini");
    std::mt19937 rng(424242);
    for (int round = 0; round < 300; ++round) {
        const bool missing = rng() % 5 == 0;
        const std::string start = starts[rng() % starts.size()];
        fs::remove(single);
        fs::remove(batch);
        if (!missing) {
            writeAll(single, start);
            writeAll(batch, start);
        }
        const std::string section = rng() % 2 == 0 ? "a" : "B";
        Pairs pairs;
        const int n = static_cast<int>(rng() % 6);
        for (int i = 0; i < n; ++i) {
            pairs.emplace_back(keys[rng() % keys.size()], values[rng() % values.size()]);
        }
        for (const auto& [k, v] : pairs) {
            IniWrite(section, k, v, single);
        }
        IniWriteSection(section, pairs, batch);
        ASSERT_EQ(fs::exists(batch), fs::exists(single)) << "round " << round;
        ASSERT_EQ(readAll(batch), readAll(single)) << "round " << round << " start " << start;
    }
}

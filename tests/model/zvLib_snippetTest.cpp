// Snippets: the current track's selection saved in the user file in track order, the proposed
// name, the checks on the name, the question before replacing one, nothing written without a
// selection, and the reload of the set.
#include "model/zvLib_snippet.h"

#include "CircuitFixture.h"
#include "foundation/NUX_STD_ini.h"
#include "foundation/zvLang.h"
#include "support/TestSupport.h"

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

// The fake interface that also notes the proposed names and answers questions from a script.
class SnippetUI : public modeltest::FakeUI {
  public:
    std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                        const std::string& initial) override
    {
        proposed.push_back(title + "|" + initial);
        return FakeUI::InputBox(prompt, title, initial);
    }
    int MsgBox(const std::string& text, int style, const std::string& title) override
    {
        FakeUI::MsgBox(text, style, title);
        styles.push_back(style);
        const int r = replies.empty() ? vbMsg::OK : replies.front();
        if (!replies.empty()) {
            replies.pop_front();
        }
        return r;
    }
    std::vector<std::string> proposed;
    std::vector<int> styles;
    std::deque<int> replies;
};

} // namespace

class zvLib_snippetTest : public modeltest::CircuitTest {
  protected:
    void SetUp() override
    {
        CircuitTest::SetUp();
        fake = std::make_shared<SnippetUI>();
        ui = fake;
        zvLib::UI = fake;
        zvLib::UserFile = dir.file("user.def");
        zvLib::CurSetID = "T";
        c = newCircuit(4);
        track(*c, 1).append("T:S500[#];T:C90(R);T:S200;T:C45(L);");
        track(*c, 2).append("T:S500;T:X200;");
    }

    static std::string stored(const std::string& name)
    {
        return NUX_STD_library::IniRead("T.SNIPPETS", name, zvLib::UserFile);
    }
    void select(std::size_t t, const std::vector<std::string>& keys)
    {
        for (const auto& k : keys) {
            piece(track(*c, t), k)->Selected(true);
        }
    }
    void save(const std::string& answer)
    {
        fake->answers = {answer};
        zvLib::SnippetSave();
    }

    testsupport::TempDir dir;
    std::shared_ptr<SnippetUI> fake;
    std::shared_ptr<zvCircuit> c;
};

TEST_F(zvLib_snippetTest, SavesTheCurrentTrackSelectionInTrackOrder)
{
    // Picked out of order, the start marker too, after a piece of track 2.
    select(2, {"K2"});
    select(1, {"K3", "K0", "K1", "K2"});
    save("  Chicane  ");
    ASSERT_EQ(fake->prompts.size(), 1u);
    EXPECT_EQ(fake->prompts[0], zvLang::Translate("$msg.snippetname"));
    EXPECT_EQ(fake->proposed[0], "Snippet save|Snippet_1");
    EXPECT_EQ(stored("Chicane"), "T:S500;T:C90(R);T:S200;");
    EXPECT_TRUE(fake->messages.empty());
    EXPECT_EQ(fake->loaded, std::vector<std::string>{"T"});

    track(*c, 1).clearSelection();
    select(1, {"K4"});
    save("Bend");
    EXPECT_EQ(fake->proposed[1], "Snippet save|Snippet_2");
    EXPECT_EQ(stored("Bend"), "T:C45(L);");
    EXPECT_EQ(fake->loaded.size(), 2u);
}

TEST_F(zvLib_snippetTest, ReplacingAnExistingSnippetAsksFirst)
{
    NUX_STD_library::IniWrite("T.SNIPPETS", "Snippet_1", "T:S500;", zvLib::UserFile);
    NUX_STD_library::IniWrite("T.SNIPPETS", "Snippet_3", "T:S200;", zvLib::UserFile);
    select(1, {"K2"});
    fake->replies = {vbMsg::No};
    save("Snippet_3");
    EXPECT_EQ(fake->proposed[0], "Snippet save|Snippet_3");
    ASSERT_EQ(fake->messages.size(), 1u);
    EXPECT_EQ(fake->messages[0],
              "A snippet named Snippet_3 already exist, do you want to overwrite it?");
    EXPECT_EQ(fake->styles[0], vbMsg::YesNo | vbMsg::Question);
    EXPECT_EQ(stored("Snippet_3"), "T:S200;");
    EXPECT_TRUE(fake->loaded.empty());

    // Names match without regard to case, as the user file's keys do.
    fake->replies = {vbMsg::Yes};
    save("snippet_3");
    EXPECT_EQ(fake->messages.size(), 2u);
    EXPECT_EQ(stored("Snippet_3"), "T:C90(R);");
    EXPECT_EQ(fake->loaded.size(), 1u);
}

TEST_F(zvLib_snippetTest, UnusableNamesAndCancelWriteNothing)
{
    select(1, {"K1"});
    const std::vector<std::string> bad = {"",   "   ",   "a=b",       "[T.STOCK]", "x]",
                                          "y[", ";note", "tab\there", "bell\x07",  "del\x7F"};
    for (const auto& name : bad) {
        save(name);
        EXPECT_EQ(fake->styles.back(), vbMsg::OKOnly | vbMsg::Exclamation) << name;
    }
    EXPECT_EQ(fake->messages.size(), bad.size());
    fake->answers.clear();
    zvLib::SnippetSave();
    EXPECT_EQ(fake->messages.size(), bad.size());
    EXPECT_EQ(testsupport::readAll(zvLib::UserFile), "");
    EXPECT_TRUE(fake->loaded.empty());

    save("Pit lane v1.2 — è");
    EXPECT_EQ(stored("Pit lane v1.2 — è"), "T:S500;");
}

TEST_F(zvLib_snippetTest, NothingSelectedOnTheCurrentTrackTellsAndKeepsTheFile)
{
    NUX_STD_library::IniWrite("T.SNIPPETS", "Old", "T:S500;", zvLib::UserFile);
    const std::string before = testsupport::readAll(zvLib::UserFile);
    select(2, {"K1", "K2"});
    piece(track(*c, 1), "K1")->Selected(true);
    piece(track(*c, 1), "K1")->Selected(false);
    ASSERT_EQ(c->CurTrack(), c->tracks().First());
    save("Old");
    // Only the start marker selected is nothing too, and so is having no circuit.
    select(1, {"K0"});
    save("Old");
    zvLib::Circuit(nullptr);
    save("Old");
    EXPECT_EQ(fake->messages.size(), 3u);
    EXPECT_TRUE(fake->prompts.empty());
    EXPECT_EQ(testsupport::readAll(zvLib::UserFile), before);
    EXPECT_TRUE(fake->loaded.empty());
}

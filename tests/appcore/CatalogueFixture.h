// Shared set-up of the catalogue tests: the program folder is tests/data/catalogue (a small
// catalogue and the hand words of our own), fresh application state around each test.
#pragma once

#include "app/core/zvLib_catalogue.h"
#include "app/core/zvLib_sets.h"
#include "foundation/NUX_STD_apppath.h"
#include "foundation/zvLang.h"
#include "model/zvLib_globals.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

// Fixed-point numbers in test failures as their text.
inline void PrintTo(const cFixed& v, std::ostream* os)
{
    *os << v.str();
}

namespace cataloguetest {

class CatalogueTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        zvLib::ResetModelGlobals();
        zvLib::ResetCatalogue();
        zvLib::ItemBar.reset();
        NUX_STD_library::AppPath(testsupport::dataPath("catalogue"));
        zvLang::LangID("EN");
        ASSERT_EQ(zvLang::LoadLanguageFile(), 0);
    }
    void TearDown() override
    {
        zvLib::ItemBar.reset();
        zvLib::ResetCatalogue();
        zvLib::ResetModelGlobals();
        NUX_STD_library::AppPath("");
    }
    // Opens the test catalogue in the language and builds the piece table.
    std::vector<std::string> build(const std::string& language = "EN")
    {
        zvLang::LangID(language);
        std::vector<std::string> messages;
        EXPECT_EQ(zvLib::LoadCatalogue(messages), 0);
        return messages;
    }
    // The record of a key; fails the test when there is none.
    static const zvPieceRecord& rec(const std::string& itemID)
    {
        for (const auto& r : zvLib::PieceTable) {
            if (r.itemID == itemID) {
                return r;
            }
        }
        ADD_FAILURE() << "no record " << itemID;
        static const zvPieceRecord none;
        return none;
    }
};

} // namespace cataloguetest

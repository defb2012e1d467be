// The shared set-up of the dispatcher, item bar and info window tests.
#include "DispatchFixture.h"

#include "app/core/zvLib_catalogue.h"
#include "app/core/zvLib_sets.h"
#include "app/zvIconFiles.h"
#include "app/zvLib_commands.h"
#include "app/zvLib_shell.h"
#include "app/zvQtUI.h"
#include "foundation/NUX_STD_files.h"
#include "foundation/zvLib_canvas.h"
#include "model/cUndo.h"
#include "model/zvLib_globals.h"
#include "view/zvLang_forms.h"

#include <cstdlib>
#include <filesystem>

namespace apptest {

void DispatchFixture::SetUp()
{
    AppFixture::SetUp();
    if (const char* locale = std::getenv("LC_ALL")) {
        savedLocale_ = locale;
    }
    setenv("LC_ALL", "C", 1);
    useLanguage("EN");
    std::filesystem::create_directories(dataDir());
    zvLib::TempFolder = NUX_STD_library::PrivateTempFolder();
    ASSERT_FALSE(zvLib::TempFolder.empty());
    zvIconFiles icons(zvLib::TempFolder);
    ASSERT_TRUE(zvLib::BuildPieceTable(&icons).empty());
    zvLib::UI = std::make_shared<zvQtUI>();
    savedCanvas_ = zvLib::MainPic;
    main_ = new frmMain;
    zvLib::LoadForm(zvForm::frmMain, main_);
    main_->setUI();
    main_->setMode("NEW");
    main_->resize(1024, 768);
    main_->show();
    // Drawing is recorded, so that the tests can see what a command drew.
    zvLib::MainPic = &canvas_;
    newCircuit();
}

void DispatchFixture::TearDown()
{
    zvLib::Undo().Clear();
    zvLib::MainPic = savedCanvas_;
    AppFixture::TearDown();
    if (savedLocale_) {
        setenv("LC_ALL", savedLocale_->c_str(), 1);
    } else {
        unsetenv("LC_ALL");
    }
}

void DispatchFixture::useRealCanvas()
{
    zvLib::MainPic = &main_->pic->Surface();
}

void DispatchFixture::newCircuit(int lanes)
{
    ASSERT_EQ(zvLib::LoadSet(kSet), zvLib::kSetLoaded);
    auto c = std::make_shared<zvCircuit>();
    c->Init(kSet, static_cast<std::int16_t>(lanes), cFixed(0), cFixed(0), cFixed(0));
    zvLib::Circuit(c);
    zvLib::Undo().Clear();
    zvLib::Undo().Push();
    main_->setMode("DESIGN");
}

std::vector<std::string> DispatchFixture::run(std::string command)
{
    user_->messages.clear();
    zvLib::ExecCommand(command);
    return user_->messages;
}

void DispatchFixture::click(cBarTool& tool)
{
    main_->abr.ClickTool(tool);
}

zvTrack& DispatchFixture::track(int index)
{
    return *circuit().tracks().Item(static_cast<std::size_t>(index));
}

std::vector<std::string> DispatchFixture::pieces(int index)
{
    std::vector<std::string> codes;
    for (const auto& p : track(index).items()) {
        if (p->Class() != 0) {
            codes.push_back(p->Item());
        }
    }
    return codes;
}

std::vector<std::string> DispatchFixture::selected(int index)
{
    std::vector<std::string> keys;
    for (const auto& p : track(index).itemsSelected()) {
        keys.push_back(p->Key());
    }
    return keys;
}

cBarTool& DispatchFixture::pieceTool(const std::string& definition)
{
    return main_->abr.Band("ibr").ChildBand("items").Tool(definition);
}

cBarTool& DispatchFixture::tool(const char* band, const char* name)
{
    return main_->abr.Band(band).Tool(name);
}

} // namespace apptest

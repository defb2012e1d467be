// Documents: a new circuit from the start page, open and save with their dialogs and cancel
// paths, the document's own folder, a file that is no circuit, a save that fails, a file
// opened with pieces the catalogue lacks, far-out and huge-scale circuits that are refused or
// shown but never end the program, opening from the command line and by drop, and the recent
// files, where names differing only in case are two files.
#include "DocumentsFixture.h"
#include "app/core/zvLib_recent.h"
#include "app/core/zvLib_settings.h"
#include "app/zvFileDialog.h"
#include "app/zvLib_commands.h"
#include "app/zvLib_shell.h"
#include "app/zvStartup.h"
#include "dxf/zvLib_dxf.h"
#include "foundation/NUX_STD_encoding.h"
#include "foundation/zvLang.h"
#include "model/cUndo.h"
#include "model/zvCircuit.h"
#include "view/frmMain.h"
#include "view/zvLang_forms.h"
#include "view/zvLib_view.h"
#include "view/zvLib_viewmode.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <linux/capability.h>
#include <random>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

using apptest::DocumentsFixture;
using testsupport::readAll;
using testsupport::writeAll;
using Messages = std::vector<std::string>;

namespace {

namespace fs = std::filesystem;

std::string Caption(const frmMain& main)
{
    return main.windowTitle().toStdString();
}

// Restores the process's current folder when the test changes it.
class CurrentFolder {
  public:
    explicit CurrentFolder(const std::string& to) : old_(fs::current_path()) { fs::current_path(to); }
    ~CurrentFolder() { fs::current_path(old_); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

  private:
    fs::path old_;
};

// While it lives, this thread opens files as any user does: the superuser's power to pass over
// permission bits is set aside (nothing changes for another user).
class WithoutOverride {
  public:
    WithoutOverride()
    {
        if (syscall(SYS_capget, &header_, saved_) != 0) {
            return;
        }
        __user_cap_data_struct limited[2] = {saved_[0], saved_[1]};
        limited[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        active_ = syscall(SYS_capset, &header_, limited) == 0;
    }
    ~WithoutOverride()
    {
        if (active_) {
            syscall(SYS_capset, &header_, saved_);
        }
    }
    WithoutOverride(const WithoutOverride&) = delete;
    WithoutOverride& operator=(const WithoutOverride&) = delete;

  private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2] = {};
    bool active_ = false;
};

class DocumentsTest : public DocumentsFixture {};

TEST(FileDialogFilter, CircuitFilesAndAllFiles)
{
    const QStringList filters =
        zvLib::QtNameFilters("Zorv circuits (*.zv5, *.zv6, *.zvd)|*.zv?|All files|*.*");
    EXPECT_EQ(filters, (QStringList{"Zorv circuits (*.zv5 *.zv6 *.zvd)", "All files (*)"}))
        << "the listed extensions, since Qt's dialog puts a pattern's extension on the name";
    EXPECT_EQ(zvLib::QtNameFilters("Pictures|*.png;*.jpg|odd"),
              QStringList{"Pictures (*.png *.jpg)"});
}

TEST_F(DocumentsTest, NewCircuitFromTheStartPage)
{
    frmMain& main = mainWindow();
    EXPECT_FALSE(main.abr.Band("mnuEdit").Tool("undo").Enabled());
    makeNew("CL32", 4);
    const auto circuit = zvLib::Circuit();
    EXPECT_EQ(circuit->tracks().Count(), 2);
    EXPECT_EQ(circuit->DefCode(), "CL32");
    EXPECT_EQ(circuit->Angle(), cFixed(-180));
    EXPECT_EQ(zvLib::CurSetID, "CL32");
    EXPECT_EQ(zvLib::CurrentFile, "New Zorv circuit.zv5");
    EXPECT_EQ(Caption(main), "NUX Zorv - New Zorv circuit.zv5");
    const zvViewRect view = zvLib::ViewRect();
    EXPECT_FLOAT_EQ(view.ScaleWidth, 3000);
    EXPECT_FLOAT_EQ(view.ScaleLeft, -1500);
    EXPECT_NEAR(view.ScaleTop + view.ScaleHeight / 2, 0, 0.01) << "centred on the origin";
    EXPECT_EQ(zvLib::Undo().count(), 1u);
    EXPECT_FALSE(zvLib::Undo().isdirty()) << "a new circuit counts as unchanged";
    EXPECT_TRUE(main.abr.Band("mnuEdit").Tool("undo").Enabled()) << "mode DESIGN";

    // A cancelled start page changes nothing.
    user_->steps.push_back([](QDialog& d) { apptest::Click(d, "cmd(99)"); });
    run("FILE.NEW");
    EXPECT_EQ(zvLib::Circuit(), circuit);

    // A set that cannot be loaded leaves no circuit, without a word.
    zvLib::StartPageChosen("new", "NOSUCHSET", 2, -180, "");
    EXPECT_EQ(zvLib::Circuit(), nullptr);
    EXPECT_EQ(zvLib::CurrentFile, "New Zorv circuit.zv5");
    EXPECT_TRUE(user_->messages.empty());
    EXPECT_EQ(run("FILE.SAVE"), Messages{}) << "nothing to save";
}

TEST_F(DocumentsTest, SaveAsksForANameOnceThenWritesIntoTheDocumentsOwnFolder)
{
    frmMain& main = mainWindow();
    makeNew();
    change();
    answerFile(docs() + "oval");
    run("FILE.SAVE");
    EXPECT_EQ(lastDialog.mode, QFileDialog::AcceptSave);
    EXPECT_EQ(lastDialog.folder, docs()) << "no file opened yet: the documents folder";
    EXPECT_EQ(fs::path(lastDialog.selected).filename(), "New Zorv circuit.zv5");
    EXPECT_EQ(lastDialog.suffix, "zvd");
    EXPECT_EQ(lastDialog.filters,
              (QStringList{"Zorv circuits (*.zv5 *.zv6 *.zvd)", "All files (*)"}));
    ASSERT_TRUE(fs::exists(docs() + "oval.zvd")) << "the default extension is added";
    EXPECT_EQ(zvLib::CurrentFile, "oval.zvd");
    EXPECT_EQ(zvLib::DocumentFolder, docs());
    EXPECT_EQ(Caption(main), "NUX Zorv - oval.zvd");
    EXPECT_FALSE(zvLib::Undo().isdirty());

    // The next save writes to the same file without a dialog, wherever the current folder is.
    change();
    const std::string before = readAll(docs() + "oval.zvd");
    {
        CurrentFolder elsewhere(tempDir());
        run("FILE.SAVE");
    }
    EXPECT_EQ(user_->dialogs.size(), 2u) << "the start page and one save dialog";
    EXPECT_FALSE(fs::exists(tempDir() + "oval.zvd"));
    EXPECT_NE(readAll(docs() + "oval.zvd"), before);
    EXPECT_NE(readAll(docs() + "oval.zvd").find("CL32:AS1;CL32:AS1;"), std::string::npos);
    EXPECT_FALSE(zvLib::Undo().isdirty());
}

TEST_F(DocumentsTest, SaveAsAlwaysAsksAndItsCancelChangesNothing)
{
    frmMain& main = mainWindow();
    makeNew();
    change();
    answerFile(docs() + "first.zv6");
    run("FILE.SAVEAS");
    EXPECT_EQ(lastDialog.selected + "/", docs()) << "save as offers no name";
    change();
    const std::string saved = readAll(docs() + "first.zv6");
    answerCancel();
    EXPECT_EQ(run("FILE.SAVEAS"), Messages{});
    EXPECT_EQ(user_->dialogs.size(), 3u) << "the start page and two save dialogs";
    EXPECT_EQ(zvLib::CurrentFile, "first.zv6");
    EXPECT_TRUE(zvLib::Undo().isdirty()) << "still changed";
    EXPECT_EQ(readAll(docs() + "first.zv6"), saved);

    fs::create_directories(documentsDir() + "other");
    answerFile(documentsDir() + "other/second.zv6");
    run("FILE.SAVEAS");
    EXPECT_TRUE(fs::exists(documentsDir() + "other/second.zv6"));
    EXPECT_EQ(zvLib::CurrentFile, "second.zv6");
    EXPECT_EQ(zvLib::DocumentFolder, documentsDir() + "other/");
    EXPECT_EQ(zvLib::LastFolder, "") << "only opening moves the dialogs' folder";
    EXPECT_EQ(Caption(main), "NUX Zorv - second.zv6");
    EXPECT_FALSE(zvLib::Undo().isdirty());
}

TEST_F(DocumentsTest, OpenWithTheDialogAndItsCancel)
{
    frmMain& main = mainWindow();
    makeNew();
    const auto before = zvLib::Circuit();
    answerCancel();
    run("FILE.OPEN");
    EXPECT_EQ(lastDialog.mode, QFileDialog::AcceptOpen);
    EXPECT_EQ(lastDialog.folder, docs());
    EXPECT_EQ(zvLib::Circuit(), before);
    EXPECT_EQ(zvLib::CurrentFile, "New Zorv circuit.zv5");

    // Without its text label, whose extent follows the zoom, so that the fit can be checked.
    const std::string path = sample();
    std::string text = readAll(path);
    text.erase(text.find("\t<text"), text.find("</text>") + 9 - text.find("\t<text"));
    writeAll(path, text);
    zvLib::SetViewMode("REPORT");
    answerFile(path);
    run("FILE.OPEN");
    const auto opened = zvLib::Circuit();
    ASSERT_NE(opened, before);
    EXPECT_EQ(opened->Name(), "Club oval");
    EXPECT_EQ(zvLib::CurrentFile, "club-oval.zv6");
    EXPECT_EQ(zvLib::LastFolder, docs());
    EXPECT_EQ(zvLib::DocumentFolder, docs());
    EXPECT_EQ(Caption(main), "NUX Zorv - club-oval.zv6");
    EXPECT_EQ(zvLib::MRUEntries()[0], path);
    EXPECT_EQ(zvLib::Undo().count(), 1u);
    EXPECT_TRUE(main.pic->isEnabled());
    EXPECT_EQ(zvLib::ViewMode(), "DESIGN");
    EXPECT_TRUE(main.pic->isVisibleTo(&main));
    // The view was fitted to the opened circuit.
    const std::array<cFixed, 6> e = opened->GetExtent();
    const zvViewRect view = zvLib::ViewRect();
    EXPECT_LT(view.ScaleLeft, e[0].toDouble());
    EXPECT_GT(view.ScaleLeft + view.ScaleWidth, e[2].toDouble());
    // The width that fits follows the canvas's proportions: the circuit's width, or its height
    // on a canvas too low for it.
    const double aspect = static_cast<double>(main.pic->height()) / main.pic->width();
    const double fits = std::max(e[4].toDouble(), e[5].toDouble() / aspect);
    EXPECT_LT(view.ScaleWidth, 2 * fits) << "fitted, not just any view";

    // Undo straight after opening keeps the opened circuit; the old one never comes back.
    const std::string definition = opened->DefString();
    zvLib::Undo().Pop(-1);
    EXPECT_EQ(zvLib::Circuit(), opened);
    EXPECT_EQ(opened->DefString(), definition);
}

TEST_F(DocumentsTest, AFileThatIsNoCircuitKeepsTheCurrentOneExactly)
{
    frmMain& main = mainWindow();
    makeNew();
    change();
    const auto circuit = zvLib::Circuit();
    const std::string definition = circuit->DefString();
    const std::size_t states = zvLib::Undo().count();

    std::string missing = docs() + "missing.zv6";
    zvLib::OpenCircuit(missing);
    EXPECT_EQ(user_->messages, Messages{"The file " + missing + " cannot be found."});

    writeAll(docs() + "notes.zv6", "<zorv><circuit>half a file");
    std::string bad = docs() + "notes.zv6";
    user_->messages.clear();
    zvLib::OpenCircuit(bad);
    ASSERT_EQ(user_->messages, Messages{zvLang::Translate("$msg.filenotvalid")});
    EXPECT_EQ(user_->styles.back(), vbMsg::Information);
    EXPECT_EQ(zvLib::Circuit(), circuit);
    EXPECT_EQ(circuit->DefString(), definition);
    EXPECT_EQ(zvLib::Undo().count(), states) << "still changed, the same history";
    EXPECT_EQ(zvLib::CurSetID, "CL32");
    EXPECT_EQ(zvLib::CurrentFile, "New Zorv circuit.zv5");
    EXPECT_EQ(zvLib::LastFolder, "");
    EXPECT_EQ(Caption(main), "NUX Zorv - New Zorv circuit.zv5");
    EXPECT_EQ(zvLib::MRUEntries()[0], "") << "not a recent file";
}

TEST_F(DocumentsTest, FailedSaveLeavesTheOldFileAndTheCircuitChanged)
{
    mainWindow();
    makeNew();
    change();
    answerFile(docs() + "kept.zv6");
    run("FILE.SAVE");
    const std::string kept = readAll(docs() + "kept.zv6");
    ASSERT_FALSE(kept.empty());
    change();

    // The file became read-only.
    fs::permissions(docs() + "kept.zv6", fs::perms::owner_read | fs::perms::group_read);
    Messages shown = run("FILE.SAVE");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find(docs() + "kept.zv6"), std::string::npos) << shown[0];
    EXPECT_NE(shown[0].find(zvLang::Translate("$msg.savefailed.readonly")), std::string::npos);
    EXPECT_EQ(user_->styles.back(), vbMsg::Exclamation);
    EXPECT_EQ(readAll(docs() + "kept.zv6"), kept);
    EXPECT_TRUE(zvLib::Undo().isdirty());
    EXPECT_EQ(zvLib::CurrentFile, "kept.zv6");

    // A folder stands where the file would go.
    fs::create_directories(docs() + "taken.zv6");
    answerFile(docs() + "taken.zv6");
    shown = run("FILE.SAVEAS");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find(zvLang::Translate("$msg.savefailed.folder")), std::string::npos);
    EXPECT_TRUE(fs::is_directory(docs() + "taken.zv6"));
    EXPECT_EQ(zvLib::CurrentFile, "kept.zv6") << "the document keeps its name";
    EXPECT_TRUE(zvLib::Undo().isdirty());

    // The folder is gone.
    answerFile(documentsDir() + "gone/new.zv6");
    shown = run("FILE.SAVEAS");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find(zvLang::Translate("$msg.savefailed.nofolder")), std::string::npos);

    // A folder that may not be written (permissions mean nothing to the superuser).
    if (geteuid() != 0) {
        fs::create_directories(documentsDir() + "locked");
        fs::permissions(documentsDir() + "locked", fs::perms::owner_read | fs::perms::owner_exec);
        answerFile(documentsDir() + "locked/new.zv6");
        shown = run("FILE.SAVEAS");
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_NE(shown[0].find(zvLang::Translate("$msg.savefailed.denied")), std::string::npos);
        EXPECT_FALSE(fs::exists(documentsDir() + "locked/new.zv6"));
    }
    EXPECT_TRUE(zvLib::Undo().isdirty());
}

TEST_F(DocumentsTest, UnknownPiecesAreNotLostWithoutTheUsersWord)
{
    mainWindow();
    std::string text = readAll(sample());
    const std::string first = "<track-1>CL32:ASF;";
    text.replace(text.find(first), first.size(), first + "CL32:GONE;CL32:LOST;");
    const std::string path = docs() + "club-oval.zv6";
    writeAll(path, text);
    std::string open = path;
    zvLib::OpenCircuit(open);
    ASSERT_EQ(zvLib::CurrentFile, "club-oval.zv6");
    change();

    user_->answers = {vbMsg::No};
    Messages shown = run("FILE.SAVE");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find(path), std::string::npos);
    EXPECT_NE(shown[0].find(" 2 "), std::string::npos) << shown[0];
    EXPECT_EQ(user_->styles.back(), vbMsg::YesNo + vbMsg::Exclamation + 256) << "No by default";
    EXPECT_EQ(readAll(path), text);
    EXPECT_TRUE(zvLib::Undo().isdirty());

    // Saved elsewhere, nothing is lost, and nothing is asked.
    answerFile(docs() + "copy.zv6");
    EXPECT_EQ(run("FILE.SAVEAS"), Messages{});

    // Back over the original, the question comes again; Yes saves, and then it is settled.
    answerFile(path);
    user_->answers = {vbMsg::Yes};
    EXPECT_EQ(run("FILE.SAVEAS").size(), 1u);
    EXPECT_EQ(readAll(path).find("GONE"), std::string::npos);
    change();
    EXPECT_EQ(run("FILE.SAVE"), Messages{});
}

TEST_F(DocumentsTest, ADrawingsReadingProblemsAreShownOnceInDevelopmentModeOnly)
{
    mainWindow();
    const std::string path = sample();
    const std::string circuit = readAll(path);
    // Writes the circuit carrying the drawing as its background.
    const auto withDrawing = [&](const std::string& drawing) {
        std::string text = circuit;
        text.insert(text.find("<fileinfo>"),
                    "<dxf>\n<filename>cut.dxf</filename>\n<filestream><![CDATA[" +
                        NUX_STD_library::Base64Encode(drawing) +
                        "]]></filestream>\n<offsetx>0</offsetx>\n<offsety>0</offsety>\n"
                        "<scalefactor>1</scalefactor>\n</dxf>\n");
        writeAll(path, text);
    };
    // A section the reader does not know, then a line cut off after a code line.
    withDrawing("0\r\nSECTION\r\n2\r\nTHUMBNAILIMAGE\r\n0\r\nENDSEC\r\n0\r\nSECTION\r\n"
                "2\r\nENTITIES\r\n0\r\nLINE\r\n10\r\n0\r\n20\r\n0\r\n11\r\n");
    std::string open = path;
    zvLib::OpenCircuit(open);
    ASSERT_TRUE(zvLib::DXF);
    EXPECT_EQ(user_->messages, Messages{}) << "the delivered program never shows the drawing";

    // In development mode the placement dialog shows the drawing: its problems come first.
    setenv("ZORV_DEVMODE", "1", 1);
    const std::string said = "Unkown section found THUMBNAILIMAGE\n"
                             "File Error: \r\n"
                             " The file has to be in ASCII-format and the CR/LF\r\n"
                             " must be used (windows, not unix text file)\r\n"
                             " Check also for extra lines (maybe empty and at the end of the file)\r\n"
                             " Sorry!";
    ASSERT_EQ(run("TOOLS.DXF"), Messages{said});
    EXPECT_EQ(user_->styles.back(), vbMsg::OKOnly);
    EXPECT_EQ(run("TOOLS.DXF"), Messages{}) << "said once";

    // Opening a circuit shows its drawing; many problems give the first few lines and a count
    // of the rest, in one box.
    std::string many;
    for (int i = 0; i < 250; ++i) {
        many += "0\r\nSECTION\r\n2\r\nX" + std::to_string(i) + "\r\n0\r\nENDSEC\r\n";
    }
    withDrawing(many + "0\r\nEOF\r\n");
    user_->messages.clear();
    zvLib::OpenCircuit(open);
    ASSERT_EQ(user_->messages.size(), 1u);
    const std::string& box = user_->messages[0];
    EXPECT_EQ(box.rfind("Unkown section found X0\nUnkown section found X1\n", 0), 0u) << box;
    EXPECT_LE(std::count(box.begin(), box.end(), '\n'), 20);
    const std::string more = zvLang::Translate("$msg.andmore");
    const std::string count = std::to_string(250 - std::count(box.begin(), box.end(), '\n'));
    EXPECT_EQ(box.substr(box.rfind('\n') + 1), more.substr(0, more.find("%1")) + count +
                                                    more.substr(more.find("%1") + 2));
}

TEST_F(DocumentsTest, ADrawingScaledBeyondTheRangeIsRefusedAndTheCurrentCircuitStays)
{
    frmMain& main = mainWindow();
    std::string first = sample();
    zvLib::OpenCircuit(first);
    change();
    const auto circuit = zvLib::Circuit();
    const std::string definition = circuit->DefString();
    const std::size_t states = zvLib::Undo().count();
    const zvViewRect view = zvLib::ViewRect();

    // One line of a drawing whose scale puts its far end beyond any drawing.
    std::string text = readAll(first);
    text.insert(text.find("<fileinfo>"),
                "<dxf>\n<filename>far.dxf</filename>\n<filestream><![CDATA[" +
                    NUX_STD_library::Base64Encode("0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\n"
                                                  "LINE\r\n8\r\n0\r\n10\r\n0\r\n20\r\n0\r\n"
                                                  "11\r\n100\r\n21\r\n50\r\n0\r\nENDSEC\r\n"
                                                  "0\r\nEOF\r\n") +
                    "]]></filestream>\n<offsetx>0</offsetx>\n<offsety>0</offsety>\n"
                    "<scalefactor>100000000000.0000</scalefactor>\n</dxf>\n");
    std::string huge = docs() + "huge.zv6";
    writeAll(huge, text);
    user_->messages.clear();
    EXPECT_NO_THROW(zvLib::OpenCircuit(huge));
    EXPECT_EQ(user_->messages, Messages{zvLang::Translate("$msg.filenotvalid")});
    EXPECT_EQ(zvLib::Circuit(), circuit) << "the circuit shown stays";
    EXPECT_EQ(circuit->DefString(), definition);
    EXPECT_EQ(zvLib::Undo().count(), states) << "with its history";
    EXPECT_FALSE(zvLib::DXF) << "and without a drawing, as before";
    EXPECT_EQ(zvLib::CurrentFile, "club-oval.zv6");
    EXPECT_TRUE(main.pic->isEnabled());
    EXPECT_FLOAT_EQ(zvLib::ViewRect().ScaleLeft, view.ScaleLeft);
    EXPECT_FLOAT_EQ(zvLib::ViewRect().ScaleWidth, view.ScaleWidth);
}

TEST_F(DocumentsTest, ManyFarOutAndHugeScaleCircuitsAreEitherRefusedOrShown)
{
    frmMain& main = mainWindow();
    main.resize(900, 700);
    const std::string sampleText = readAll(sample());
    const std::string drawing = NUX_STD_library::Base64Encode(
        "0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nLINE\r\n8\r\n0\r\n10\r\n-5\r\n20\r\n0\r\n"
        "11\r\n100\r\n21\r\n50\r\n0\r\nCIRCLE\r\n8\r\n0\r\n10\r\n20\r\n20\r\n-30\r\n"
        "40\r\n7\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n");
    const char* const far[] = {"0",          "1000",        "-999990000", "999990000",
                               "1000000000", "-1000000000", "1000000001", "500000000.5",
                               "9e8",        "-9.99999e8"};
    const char* const scales[] = {"0.0001", "1", "1000", "1000000", "10000000", "1e9", "1e11"};
    std::mt19937 random(18);
    const auto pick = [&random](const auto& list) {
        return list[std::uniform_int_distribution<std::size_t>(0, std::size(list) - 1)(random)];
    };
    const auto replaced = [](std::string text, const std::string& from, const std::string& to) {
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    int refused = 0;
    int shown = 0;
    for (int n = 0; n < 300; ++n) {
        std::string text = replaced(sampleText, "<startx>0</startx>",
                                    std::string("<startx>") + pick(far) + "</startx>");
        text =
            replaced(text, "<starty>0</starty>", std::string("<starty>") + pick(far) + "</starty>");
        text = replaced(text, "points=\"350:200\"",
                        std::string("points=\"") + pick(far) + ":" + pick(far) + "\"");
        if (n % 3 != 0) {
            text.insert(text.find("<fileinfo>"),
                        "<dxf>\n<filename>d.dxf</filename>\n<filestream><![CDATA[" + drawing +
                            "]]></filestream>\n<offsetx>" + pick(far) + "</offsetx>\n<offsety>" +
                            pick(far) + "</offsety>\n<scalefactor>" + pick(scales) +
                            "</scalefactor>\n</dxf>\n");
        }
        std::string path = docs() + "far" + std::to_string(n) + ".zv6";
        writeAll(path, text);
        const auto before = zvLib::Circuit();
        user_->messages.clear();
        ASSERT_NO_THROW(zvLib::OpenCircuit(path)) << text;
        if (zvLib::Circuit() == before) {
            EXPECT_EQ(user_->messages, Messages{zvLang::Translate("$msg.filenotvalid")}) << text;
            ++refused;
        } else {
            EXPECT_EQ(zvLib::CurrentFile, "far" + std::to_string(n) + ".zv6");
            EXPECT_EQ(zvLib::Undo().count(), 1u);
            ++shown;
        }
        EXPECT_TRUE(main.pic->isEnabled());
        // The user zooms in deep and changes the window's size.
        for (int step = 0; step < 40 && n % 10 == 0; ++step) {
            std::string zoom = "VIEW.ZOOM+";
            zvLib::ExecCommand(zoom);
        }
        main.resize(n % 2 == 0 ? 700 : 900, n % 2 == 0 ? 900 : 700);
        QApplication::processEvents();
        EXPECT_EQ(user_->messages.size(), zvLib::Circuit() == before ? 1u : 0u) << text;
    }
    EXPECT_GT(refused, 0);
    EXPECT_GT(shown, 0);
}

TEST_F(DocumentsTest, CommandLineFileOpensTheSameWayAndKeepsItsFolder)
{
    writeSettings("[Options]\nLangID=EN\n");
    sample();
    CurrentFolder in(docs());
    EXPECT_EQ(zvLib::Main({"club-oval.zv6", "-s:800x600"}), std::nullopt);
    EXPECT_TRUE(user_->dialogs.empty()) << "no start page";
    ASSERT_NE(zvLib::Circuit(), nullptr);
    EXPECT_EQ(zvLib::Circuit()->Name(), "Club oval");
    EXPECT_EQ(zvLib::CurrentFile, "club-oval.zv6");
    EXPECT_EQ(zvLib::DocumentFolder, docs()) << "a relative path is kept with its folder";
    EXPECT_EQ(zvLib::MRUEntries()[0], docs() + "club-oval.zv6");
    auto* main = qobject_cast<frmMain*>(zvLib::Form(zvForm::frmMain));
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Caption(*main), "NUX Zorv - club-oval.zv6");
}

TEST_F(DocumentsTest, DroppedFilesOpenTheFirstAndReportOneThatIsNoCircuit)
{
    frmMain& main = mainWindow();
    makeNew();
    const std::string path = sample();
    writeAll(docs() + "text.zv6", "plain text");

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path)),
                  QUrl::fromLocalFile(QString::fromStdString(docs() + "text.zv6"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&main, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&main, &drop);
    ASSERT_NE(zvLib::Circuit(), nullptr);
    EXPECT_EQ(zvLib::Circuit()->Name(), "Club oval");
    EXPECT_EQ(zvLib::CurrentFile, "club-oval.zv6");
    EXPECT_TRUE(user_->messages.empty());

    const auto current = zvLib::Circuit();
    main.Form_OLEDragDrop({docs() + "text.zv6", path});
    EXPECT_EQ(user_->messages, Messages{zvLang::Translate("$msg.filenotvalid")});
    EXPECT_EQ(zvLib::Circuit(), current);
    main.Form_OLEDragDrop({});
    EXPECT_EQ(zvLib::Circuit(), current);
}

// "ldir" leads to "real/sub": "ldir/../c.zv6" is "real/c.zv6" to the system, not "c.zv6".
TEST_F(DocumentsTest, ANameWithDotDotAfterALinkOpensAndSavesTheFileTheSystemNames)
{
    writeSettings("[Options]\nLangID=EN\n");
    const fs::path g = fs::path(docs()) / "g";
    fs::create_directories(g / "real" / "sub");
    fs::create_directory_symlink("real/sub", g / "ldir");
    fs::copy_file(sample(), g / "real" / "c.zv6");
    fs::copy_file(sample("mini-three-lane.zv6"), g / "c.zv6");
    const std::string named = (g / "ldir" / ".." / "c.zv6").string();
    const std::string threeLane = readAll((g / "c.zv6").string());
    CurrentFolder in(g.string());

    EXPECT_EQ(zvLib::Main({"ldir/../c.zv6"}), std::nullopt);
    ASSERT_NE(zvLib::Circuit(), nullptr);
    EXPECT_EQ(zvLib::Circuit()->Name(), "Club oval") << "the command line";
    EXPECT_EQ(zvLib::MRUEntries()[0], named);
    change();
    EXPECT_TRUE(run("FILE.SAVE").empty());
    EXPECT_EQ(readAll((g / "c.zv6").string()), threeLane) << "saved over the wrong file";
    answerCancel();
    run("FILE.SAVEAS");
    EXPECT_EQ(lastDialog.folder, (g / "real").string() + "/") << "the folder the file is in";
    EXPECT_NE(readAll((g / "real" / "c.zv6").string()).find("Club oval"), std::string::npos);
    auto* main = qobject_cast<frmMain*>(zvLib::Form(zvForm::frmMain));
    ASSERT_NE(main, nullptr);

    const auto opened = [] { return zvLib::Circuit() ? zvLib::Circuit()->Name() : ""; };
    makeNew();
    zvLib::MRUShow();
    EXPECT_TRUE(run("FILE.MRU1").empty());
    EXPECT_EQ(opened(), "Club oval") << "the recent files";
    makeNew();
    main->Form_OLEDragDrop({named});
    EXPECT_EQ(opened(), "Club oval") << "a dropped file";
    // With the file that ".." names as text gone, the one the system names still opens. (While
    // it is there, the file dialog itself shows and gives back that one.)
    fs::remove(g / "c.zv6");
    makeNew();
    answerFile(named);
    EXPECT_TRUE(run("FILE.OPEN").empty());
    EXPECT_EQ(opened(), "Club oval") << "the open dialog";
    makeNew();
    std::string relative = "ldir/../c.zv6";
    EXPECT_TRUE(zvLib::OpenCircuit(relative));
    EXPECT_EQ(opened(), "Club oval");
    EXPECT_TRUE(user_->messages.empty());
}

// "C.zv6" beside "c.zv6" is another file: after opening both, the File menu lists both and
// each entry opens its own.
TEST_F(DocumentsTest, FilesWhoseNamesDifferOnlyInCaseAreBothRecentFiles)
{
    frmMain& main = mainWindow();
    const std::string lower = docs() + "c.zv6";
    const std::string upper = docs() + "C.zv6";
    fs::copy_file(sample(), lower);
    fs::copy_file(sample("mini-three-lane.zv6"), upper);
    if (fs::equivalent(lower, upper)) {
        GTEST_SKIP() << "the documents folder ignores case";
    }
    const auto opened = [] { return zvLib::Circuit() ? zvLib::Circuit()->Name() : ""; };
    for (std::string path : {lower, upper}) {
        answerFile(path);
        EXPECT_TRUE(run("FILE.OPEN").empty()) << path;
    }
    EXPECT_EQ(opened(), "Mini tri-track");
    main.abr_BandOpen(main.abr.Band("mnuFile"));
    cBarBand& file = main.abr.Band("mnuFile");
    EXPECT_EQ(file.Tool("mru1").Tag(), upper);
    EXPECT_EQ(file.Tool("mru2").Tag(), lower);
    EXPECT_TRUE(run("FILE.MRU2").empty());
    EXPECT_EQ(opened(), "Club oval");
    EXPECT_TRUE(run("FILE.MRU1").empty());
    EXPECT_EQ(opened(), "Mini tri-track");
}

TEST_F(DocumentsTest, EveryWayOfOpeningSaysWhyAFileCannotBeRead)
{
    const std::string locked = sample();
    ASSERT_EQ(chmod(locked.c_str(), 0), 0);
    const std::string pipe = docs() + "pipe.zv6";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    WithoutOverride asAnyUser;
    const Messages denied = {"The file " + locked + " cannot be read: permission denied."};
    writeSettings("[Options]\nLangID=EN\n[MRUFiles]\n1=" + locked + "\n2=" + pipe + "\n");

    user_->steps.push_back([](QDialog& d) { apptest::Click(d, "cmd(99)"); }); // the start page
    EXPECT_EQ(zvLib::Main({locked}), std::nullopt);
    EXPECT_EQ(user_->messages, denied) << "the command line";
    auto* main = qobject_cast<frmMain*>(zvLib::Form(zvForm::frmMain));
    ASSERT_NE(main, nullptr);

    answerFile(locked);
    EXPECT_EQ(run("FILE.OPEN"), denied) << "the open dialog";
    zvLib::MRUShow();
    EXPECT_EQ(run("FILE.MRU1"), denied) << "the recent files";
    user_->messages.clear();
    main->Form_OLEDragDrop({locked});
    EXPECT_EQ(user_->messages, denied) << "a dropped file";
    EXPECT_EQ(run("FILE.MRU2"),
              Messages{"The file " + pipe +
                       " cannot be read: it is a folder, a device or a pipe, not a regular file."});
    EXPECT_EQ(zvLib::Circuit(), nullptr) << "nothing was opened";
}

} // namespace

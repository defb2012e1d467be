// Qt's own texts in the program's language: the buttons of the program's message boxes, the
// save prompt's among them, as Qt draws them, once start-up has settled the language from the
// settings, and again after each language change, the new language in place of the old.
#include "DocumentsFixture.h"
#include "app/zvStartup.h"
#include "foundation/zvLang.h"
#include "model/zvCircuit.h"
#include "model/zvUI.h"
#include "platform/cQtConvert.h"

#include <QAbstractButton>
#include <QFile>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTimer>

#include <functional>
#include <ostream>
#include <string>

using apptest::ChooseData;
using apptest::Click;
using apptest::DocumentsFixture;
using cQtConvert::FromQString;

namespace {

// A language of the program and the words Qt's translation of it gives the message box's
// buttons; qm names Qt's translation file, none for English (Qt's own texts).
struct QtWords {
    const char* lang;
    const char* qm;
    const char* yes;
    const char* no;
    const char* cancel;
};

// The language's code, in place of the bytes GoogleTest would print.
void PrintTo(const QtWords& w, std::ostream* os)
{
    *os << w.lang;
}

constexpr QtWords kItalian{"IT", "qtbase_it", "&Sì", "&No", "Annulla"};
constexpr QtWords kEnglish{"EN", nullptr, "&Yes", "&No", "Cancel"};
constexpr QtWords kFrench{"FR", "qtbase_fr", "&Oui", "&Non", "Annuler"};
constexpr QtWords kSpanish{"ES", "qtbase_es", "&Sí", "&No", "Cancelar"};

// Where Qt's translation of the language is missing from this machine, a text saying so.
std::string MissingTranslation(const QtWords& w)
{
    if (w.qm == nullptr) {
        return {};
    }
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    const QString file = folder + "/" + w.qm + ".qm";
    if (QFile::exists(file)) {
        return {};
    }
    return FromQString(file) + " is not installed (Debian: qt6-translations-l10n)";
}

// The texts of a message box's Yes, No and Cancel buttons ("" where one is missing).
struct BoxButtons {
    std::string yes;
    std::string no;
    std::string cancel;
};

// Runs what asks the user, with the program's message box shown for real (no script answering
// it) and answered with Cancel as soon as it is up; the texts of its buttons.
BoxButtons AskedForReal(const std::function<void()>& ask)
{
    // A program end earlier in this test process (QCoreApplication::exit) leaves every event
    // loop, the box's too, to return at once until the application's own loop has run again.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    BoxButtons seen;
    const auto script = zvLib::ModalScript;
    zvLib::ModalScript.reset();
    QTimer::singleShot(0, [&seen] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (box == nullptr || !box->isVisible()) {
                continue;
            }
            auto text = [box](QMessageBox::StandardButton which) {
                QAbstractButton* b = box->button(which);
                return b != nullptr ? FromQString(b->text()) : std::string();
            };
            seen = {text(QMessageBox::Yes), text(QMessageBox::No), text(QMessageBox::Cancel)};
            if (QAbstractButton* cancel = box->button(QMessageBox::Cancel)) {
                cancel->click();
            } else {
                box->reject();
            }
        }
    });
    ask();
    zvLib::ModalScript = script;
    return seen;
}

class QtTextsTest : public DocumentsFixture {
  protected:
    // The program's question with Yes, No and Cancel, shown for real: its buttons' texts.
    static BoxButtons QuestionButtons()
    {
        return AskedForReal([] { zvLib::MsgBox("?", vbMsg::YesNoCancel + vbMsg::Question); });
    }
    // Chooses the language through the Tools menu's language chooser.
    void chooseLanguage(const char* lang)
    {
        user_->steps.push_back([lang](QDialog& d) {
            ChooseData(d, "cboLang", lang);
            Click(d, "cmd(3)");
        });
        run("TOOLS.LANG");
        ASSERT_EQ(zvLang::LangID(), lang);
    }
};

class QtTextsAtStartUp : public QtTextsTest, public ::testing::WithParamInterface<QtWords> {};

TEST_P(QtTextsAtStartUp, MessageBoxButtonsSpeakTheLanguageOfTheSettings)
{
    const QtWords& w = GetParam();
    if (const std::string missing = MissingTranslation(w); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    writeSettings(std::string("[Options]\nLangID=") + w.lang + "\n");
    ASSERT_EQ(zvLib::Main({}), std::nullopt) << "the program goes on to its event loop";
    ASSERT_EQ(zvLang::LangID(), w.lang);
    const BoxButtons b = QuestionButtons();
    EXPECT_EQ(b.yes, w.yes);
    EXPECT_EQ(b.no, w.no);
    EXPECT_EQ(b.cancel, w.cancel);
}

INSTANTIATE_TEST_SUITE_P(Languages, QtTextsAtStartUp,
                         ::testing::Values(kItalian, kEnglish, kFrench, kSpanish),
                         [](const ::testing::TestParamInfo<QtWords>& info) {
                             return std::string(info.param.lang);
                         });

TEST_F(QtTextsTest, EachLanguageChangeReplacesQtsTextsOfTheLastOne)
{
    for (const QtWords* w : {&kItalian, &kFrench, &kEnglish, &kSpanish}) {
        if (const std::string missing = MissingTranslation(*w); !missing.empty()) {
            GTEST_SKIP() << missing;
        }
    }
    mainWindow();
    makeNew();
    change();
    ASSERT_EQ(QuestionButtons().cancel, "Cancel") << "English to begin with";
    // From Italian to French, then back to Qt's own English: a translation left installed
    // under the new one would show through where the new one has no text of its own.
    for (const QtWords* w : {&kItalian, &kFrench, &kEnglish, &kSpanish}) {
        SCOPED_TRACE(w->lang);
        chooseLanguage(w->lang);
        const BoxButtons prompt = AskedForReal([this] { run("FILE.NEW"); });
        EXPECT_EQ(prompt.yes, w->yes) << "the save prompt";
        EXPECT_EQ(prompt.no, w->no);
        EXPECT_EQ(prompt.cancel, w->cancel);
    }
    EXPECT_NE(zvLib::Circuit(), nullptr) << "every prompt was cancelled";
}

} // namespace

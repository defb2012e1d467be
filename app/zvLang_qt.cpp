// zvLang, Qt's own texts: one translation of Qt's at most is installed on the application, and
// each language settled or chosen replaces it.
#include "app/zvLang_qt.h"

#include "foundation/zvLang.h"
#include "platform/cQtConvert.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include <memory>

namespace zvLang {

namespace {

// The translation of Qt's texts in force; the application owns it.
QPointer<QTranslator>& Installed()
{
    static QPointer<QTranslator> translator;
    return translator;
}

// Qt's translation of the language ("qtbase_it" and so on), loaded; null for English and where
// Qt's folder has none, or an empty one.
std::unique_ptr<QTranslator> LoadQtTranslation(const std::string& lang)
{
    if (lang.empty() || lang == "EN") {
        return nullptr;
    }
    auto translator = std::make_unique<QTranslator>();
    const QString name = "qtbase_" + cQtConvert::ToQString(lang).toLower();
    if (!translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        translator->isEmpty()) {
        return nullptr;
    }
    return translator;
}

} // namespace

bool TranslateQt()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) {
        return false;
    }
    std::unique_ptr<QTranslator> next = LoadQtTranslation(LangID());
    if (QTranslator* old = Installed()) {
        QCoreApplication::removeTranslator(old);
        delete old;
    }
    if (!next) {
        return false;
    }
    next->setParent(app);
    QTranslator* translator = next.release();
    QCoreApplication::installTranslator(translator);
    Installed() = translator;
    return true;
}

} // namespace zvLang

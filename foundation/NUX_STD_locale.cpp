// NUX_STD_library, locale: the user's locale read through the C library, the built-in data of
// the locale identifiers the program formats in, GetLocaleValue and CultureToLCID.
#include "foundation/NUX_STD_culture.h"
#include "foundation/zvLib_text.h"
#include "foundation/NUX_STD_locale.h"

#include <array>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <langinfo.h>
#include <locale.h>
#include <vector>

namespace NUX_STD_library {

namespace {

const std::string kNbsp = "\xC2\xA0";  // no-break space

struct BuiltIn {
    int lcid;
    const char* name;  // language-COUNTRY
    cCulture data;
};

cCulture culture(std::string dec, std::string thou, std::string list, std::string dateSep,
                 std::string currency, std::string langId, std::string shortDate)
{
    cCulture c;
    c.decimal = dec;
    c.monDecimal = dec;
    c.thousand = thou;
    c.monThousand = thou;
    c.list = std::move(list);
    c.dateSep = std::move(dateSep);
    c.currency = std::move(currency);
    c.langId = std::move(langId);
    c.shortDate = std::move(shortDate);
    return c;
}

const std::array<BuiltIn, 8>& builtIns()
{
    static const std::array<BuiltIn, 8> table = {{
        {1033, "en-US", culture(".", ",", ",", "/", "$", "0409", "m/d/yyyy")},
        {1040, "it-IT", culture(",", ".", ";", "/", "\xE2\x82\xAC", "0410", "dd/mm/yyyy")},
        {1031, "de-DE", culture(",", ".", ";", ".", "\xE2\x82\xAC", "0407", "dd/mm/yyyy")},
        {1036, "fr-FR", culture(",", kNbsp, ";", "/", "\xE2\x82\xAC", "040C", "dd/mm/yyyy")},
        {1049, "ru-RU", culture(",", kNbsp, ";", ".", "\xE2\x82\xBD", "0419", "dd/mm/yyyy")},
        {2064, "it-CH", culture(".", "'", ";", ".", "CHF", "0810", "dd/mm/yyyy")},
        {2057, "en-GB", culture(".", ",", ",", "/", "\xC2\xA3", "0809", "dd/mm/yyyy")},
        {3082, "es-ES", culture(",", ".", ";", "/", "\xE2\x82\xAC", "0C0A", "dd/mm/yyyy")},
    }};
    return table;
}

// The built-in data for a locale name such as "it_IT.UTF-8": the same language and country,
// else the first of the same language.
const BuiltIn* builtInOfName(const std::string& name)
{
    const std::string lang = name.substr(0, name.find_first_of("_.@-"));
    std::string country;
    if (const auto us = name.find_first_of("_-"); us != std::string::npos) {
        country = name.substr(us + 1, name.find_first_of(".@", us) - us - 1);
    }
    const BuiltIn* sameLanguage = nullptr;
    for (const BuiltIn& b : builtIns()) {
        const std::string_view bn = b.name;
        if (zvLib::SameText(bn.substr(0, 2), lang) && lang.size() == 2) {
            if (zvLib::SameText(bn.substr(3), country)) {
                return &b;
            }
            sameLanguage = sameLanguage ? sameLanguage : &b;
        }
    }
    return sameLanguage;
}

// The locale name the C library uses for a category, from the environment.
std::string categoryName(const char* category)
{
    for (const char* var : {"LC_ALL", category, "LANG"}) {
        const char* v = std::getenv(var);
        if (v != nullptr && *v != '\0') {
            return v;
        }
    }
    return "C";
}

// A C library grouping ("\3": groups of three, repeated) in the form "3;0".
std::string groupingText(const char* g)
{
    std::vector<int> sizes;
    bool repeat = true;
    for (; *g != '\0'; ++g) {
        if (*g == CHAR_MAX || *g < 0) {
            repeat = false;
            break;
        }
        sizes.push_back(*g);
    }
    if (sizes.empty()) {
        return "0";
    }
    // "3;3" repeated is "3" repeated.
    while (repeat && sizes.size() >= 2 && sizes.back() == sizes[sizes.size() - 2]) {
        sizes.pop_back();
    }
    std::string out;
    for (int n : sizes) {
        out += (out.empty() ? "" : ";") + std::to_string(n);
    }
    return repeat ? out + ";0" : out;
}

// Runs the reader with the locale of one category made current on this thread only.
template <typename Reader>
bool withLocale(int mask, const std::string& name, Reader read)
{
    locale_t loc = ::newlocale(mask, name.c_str(), static_cast<locale_t>(nullptr));
    if (loc == static_cast<locale_t>(nullptr)) {
        return false;
    }
    const locale_t old = ::uselocale(loc);
    read(loc);
    ::uselocale(old);
    ::freelocale(loc);
    return true;
}

// The separator a strftime pattern puts between its fields, or none.
std::string patternSeparator(const std::string& fmt)
{
    for (std::size_t i = 0; i + 2 < fmt.size(); ++i) {
        if (fmt[i] == '%' && fmt[i + 2] != '%') {
            return std::string(1, fmt[i + 2]);
        }
    }
    return {};
}

// A strftime date pattern ("%d/%m/%Y") as a format text ("dd/mm/yyyy").
std::string shortDateOf(const std::string& fmt, const std::string& sep)
{
    std::string out;
    for (std::size_t i = 0; i < fmt.size(); ++i) {
        if (fmt[i] == '%' && i + 1 < fmt.size()) {
            switch (fmt[++i]) {
            case 'd': out += "dd"; break;
            case 'e': out += "d"; break;
            case 'm': out += "mm"; break;
            case 'Y': out += "yyyy"; break;
            case 'y': out += "yy"; break;
            case 'F': out += "yyyy\\-mm\\-dd"; break;
            default: break;
            }
        } else if (std::string(1, fmt[i]) == sep) {
            out += '/';
        } else {
            out += std::string("\\") + fmt[i];
        }
    }
    return out;
}

}  // namespace

// ---- the user's locale ---------------------------------------------------------------------

namespace {

void readNumeric(cCulture& c)
{
    const std::string name = categoryName("LC_NUMERIC");
    const bool ok = withLocale(LC_NUMERIC_MASK, name, [&](locale_t) {
        const lconv* lc = std::localeconv();
        c.decimal = lc->decimal_point;
        c.thousand = lc->thousands_sep;
        c.grouping = groupingText(lc->grouping);
        c.list = c.decimal == "," ? ";" : ",";
    });
    const BuiltIn* b = builtInOfName(name);
    if (ok && b != nullptr) {
        c.list = b->data.list;  // the C library has no list separator of its own
    } else if (!ok && b != nullptr) {
        c.decimal = b->data.decimal;
        c.thousand = b->data.thousand;
        c.grouping = b->data.grouping;
        c.list = b->data.list;
    } else if (!ok) {
        withLocale(LC_NUMERIC_MASK, "C", [&](locale_t) {
            c.decimal = std::localeconv()->decimal_point;
            c.thousand = std::localeconv()->thousands_sep;
            c.grouping = "0";
        });
    }
    c.langId = b != nullptr ? b->data.langId : "007F";
}

void readMonetary(cCulture& c)
{
    const std::string name = categoryName("LC_MONETARY");
    auto read = [&](locale_t) {
        const lconv* lc = std::localeconv();
        c.currency = lc->currency_symbol;
        c.monDecimal = lc->mon_decimal_point;
        c.monThousand = lc->mon_thousands_sep;
        c.monGrouping = groupingText(lc->mon_grouping);
        c.currDigits = lc->frac_digits == CHAR_MAX ? 2 : lc->frac_digits;
    };
    if (!withLocale(LC_MONETARY_MASK, name, read)) {
        if (const BuiltIn* b = builtInOfName(name)) {
            c.currency = b->data.currency;
            c.monDecimal = b->data.monDecimal;
            c.monThousand = b->data.monThousand;
            c.monGrouping = b->data.monGrouping;
            c.currDigits = b->data.currDigits;
        } else {
            withLocale(LC_MONETARY_MASK, "C", read);
        }
    }
    // A locale without a monetary decimal sign (the C locale) still gives one.
    if (c.monDecimal.empty()) {
        c.monDecimal = c.decimal;
    }
}

void readTime(cCulture& c)
{
    const std::string name = categoryName("LC_TIME");
    auto read = [&](locale_t loc) {
        const std::string dfmt = ::nl_langinfo_l(D_FMT, loc);
        const std::string tfmt = ::nl_langinfo_l(T_FMT, loc);
        const std::string dsep = patternSeparator(dfmt);
        const std::string tsep = patternSeparator(tfmt);
        c.dateSep = dsep.empty() ? "/" : dsep;
        c.timeSep = tsep.empty() ? ":" : tsep;
        c.shortDate = shortDateOf(dfmt, c.dateSep);
    };
    if (!withLocale(LC_TIME_MASK, name, read)) {
        if (const BuiltIn* b = builtInOfName(name)) {
            c.dateSep = b->data.dateSep;
            c.timeSep = b->data.timeSep;
            c.shortDate = b->data.shortDate;
        } else {
            withLocale(LC_TIME_MASK, "C", read);
        }
    }
}

}  // namespace

cCulture UserCulture()
{
    cCulture c;
    readNumeric(c);
    readMonetary(c);
    readTime(c);
    return c;
}

std::optional<cCulture> CultureOfLCID(int lcid)
{
    for (const BuiltIn& b : builtIns()) {
        if (b.lcid == lcid) {
            return b.data;
        }
    }
    return std::nullopt;
}

cVariant GetLocaleValue(int index)
{
    if (index < 0 || index > 11) {
        return cVariant(std::string());
    }
    const cCulture c = UserCulture();
    switch (index) {
    case 0: return cVariant(c.list);
    case 1: return cVariant(c.dateSep);
    case 2: return cVariant(c.timeSep);
    case 3: return cVariant(c.currency);
    case 4: return cVariant(c.monDecimal);
    case 5: return cVariant(static_cast<double>(c.currDigits));
    case 6: return cVariant(c.monThousand);
    case 7: return cVariant(c.monGrouping);
    case 8: return cVariant(c.langId);
    case 9: return cVariant(c.decimal);
    case 10: return cVariant(c.thousand);
    default: return cVariant(c.grouping);
    }
}

std::int16_t CultureToLCID(std::string_view name)
{
    static const std::array<std::pair<const char*, std::int16_t>, 11> table = {{
        {"it-IT", 1040}, {"it", 1040}, {"en-US", 1033}, {"en", 1033}, {"de-DE", 1031},
        {"de", 1031}, {"fr-FR", 1036}, {"fr", 1036}, {"ru", 1049}, {"it-CH", 2064},
        {"en-UK", 2057},
    }};
    for (const auto& [n, lcid] : table) {
        if (zvLib::SameText(name, n)) {
            return lcid;
        }
    }
    return 0;
}

}  // namespace NUX_STD_library

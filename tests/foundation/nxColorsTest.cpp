// Colour texts and values: the worked colours, each text form and its edges, the reverse
// conversions, a round trip over every named colour and random values, and a fuzz smoke.
#include "foundation/cError.h"
#include "foundation/nxColors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

namespace {

// The names of the colour table in table order.
const std::vector<std::string> kNames = {
    "Aliceblue", "Antiquewhite", "Aqua", "Aquamarine", "Azure", "Beige", "Bisque", "Black",
    "Blanchedalmond", "Blue", "Blueviolet", "Brown", "Burlywood", "Cadetblue", "Chartreuse",
    "Chocolate", "Coral", "Cornflower", "Cornsilk", "Crimson", "Cyan", "Darkblue", "Darkcyan",
    "Darkgoldenrod", "Darkgray", "Darkgreen", "Darkkhaki", "Darkmagenta", "Darkolivegreen",
    "Darkorange", "Darkorchid", "Darkred", "Darksalmon", "Darkseagreen", "Darkslateblue",
    "Darkslategray", "Darkturquoise", "Darkviolet", "Deeppink", "Deepskyblue", "Dimgray",
    "Dodgerblue", "Firebrick", "Floralwhite", "Forestgreen", "Fuchsia", "Gainsboro", "Ghostwhite",
    "Gold", "Goldenrod", "Gray", "Green", "Greenyellow", "Honeydew", "Hotpink", "Indianred",
    "Indigo", "Ivory", "Khaki", "Lavender", "Lavenderblush", "Lawngreen", "Lemonchiffon",
    "Lightblue", "Lightcoral", "Lightcyan", "Lightgoldenrodyellow", "LightGray", "LightGreen",
    "Lightpink", "Lightsalmon", "Lightseagreen", "Lightskyblue", "Lightslategray",
    "Lightsteelblue", "Lightyellow", "Lime", "Limegreen", "Linen", "Magenta", "Maroon",
    "Mediumaquamarine", "Mediumblue", "Mediumorchid", "Mediumpurple", "Mediumseagreen",
    "Mediumslateblue", "Mediumspringgreen", "Mediumturquoise", "Mediumvioletred", "Midnightblue",
    "Mintcream", "Mistyrose", "Moccasin", "Navajowhite", "Navy", "Oldlace", "Olive", "Olivedrab",
    "Orange", "Orangered", "Orchid", "Palegoldenrod", "Palegreen", "Paleturquoise",
    "Palevioletred", "Papayawhip", "Peachpuff", "Peru", "Pink", "Plum", "Powderblue", "Purple",
    "Red", "Rosybrown", "Royalblue", "Saddlebrown", "Salmon", "Sandybrown", "Seagreen", "Seashell",
    "Sienna", "Silver", "Skyblue", "Slateblue", "Slategray", "Snow", "Springgreen", "Steelblue",
    "Tan", "Teal", "Thistle", "Tomato", "Turquoise", "Violet", "Wheat", "White", "Whitesmoke",
    "Yellow", "Yellowgreen",
};

std::int32_t Rgb(int red, int green, int blue)
{
    return red + 256 * green + 65536 * blue;
}

std::string Cased(std::string s, bool upper)
{
    for (char& c : s) {
        c = static_cast<char>(upper ? std::toupper(static_cast<unsigned char>(c))
                                    : std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}

class Colors : public ::testing::Test {
protected:
    nxColors colors;
};

}  // namespace

TEST_F(Colors, WorkedValues)
{
    EXPECT_EQ(colors.ToRGB("Gainsboro"), 14474460);
    EXPECT_EQ(colors.ToRGB("DodgerBlue"), Rgb(0x1E, 0x90, 0xFF));
    EXPECT_EQ(colors.ToRGB("LimeGreen"), Rgb(0x32, 0xCD, 0x32));
    EXPECT_EQ(colors.ToRGB("Cyan"), Rgb(0, 0xFF, 0xFF));
    EXPECT_EQ(colors.ToRGB("Magenta"), Rgb(0xFF, 0, 0xFF));
    EXPECT_EQ(colors.ToRGB("Tomato"), Rgb(0xFF, 0x63, 0x47));
    EXPECT_EQ(colors.ToRGB("Red"), 255);
    EXPECT_EQ(colors.ToRGB("darkGray"), Rgb(0xA9, 0xA9, 0xA9));
    EXPECT_EQ(colors.ToRGB("Darkseagreen"), Rgb(0x8F, 0xBC, 0x8B));
    EXPECT_EQ(colors.ToRGB("white"), 0xFFFFFF);
    EXPECT_EQ(colors.ToRGB("black"), 0);
    EXPECT_EQ(colors.ToRGB("#ffe44d"), Rgb(0xFF, 0xE4, 0x4D));
    EXPECT_EQ(colors.ToRGB("@orange"), Rgb(255, 186, 21));
    EXPECT_EQ(colors.ToRGB("RGB(10, 20, 30)"), 10 + 256 * 20 + 65536 * 30);
    EXPECT_EQ(colors.ToRGB("&H8000000D"), 0);
    EXPECT_EQ(colors.ToRGB("-1"), 0);
    EXPECT_EQ(colors.ToRGB("Notacolour"), 0);
}

TEST_F(Colors, NamesMatchWholeAndInAnyCase)
{
    EXPECT_EQ(colors.ToRGB("cornflowerblue"), Rgb(0x64, 0x95, 0xED));
    EXPECT_EQ(colors.ToRGB("CornFlowerBlue"), colors.ToRGB("Cornflower"));
    EXPECT_TRUE(colors.isCSS("CORNFLOWERBLUE"));
    EXPECT_EQ(colors.ToRGB("blue"), Rgb(0, 0, 0xFF));
    EXPECT_EQ(colors.ToRGB("lue"), 0);
    EXPECT_FALSE(colors.isCSS("lue"));
    EXPECT_FALSE(colors.isCSS(""));
    EXPECT_FALSE(colors.isCSS(" Red"));  // the table lookup itself does not trim
    EXPECT_EQ(colors.ToRGB("  Red  "), 255);
    EXPECT_EQ(colors.CssToRGB("xcornflowerblue"), 0);

    EXPECT_EQ(colors.ToRGB("@HOVERBACKCOLOR"), Rgb(220, 243, 251));
    EXPECT_EQ(colors.ToRGB("@middlegray"), Rgb(214, 214, 214));
    EXPECT_EQ(colors.ToRGB("@Purple"), 0);
    EXPECT_EQ(colors.ToRGB("@"), 0);
}

TEST_F(Colors, HexadecimalForms)
{
    EXPECT_EQ(colors.ToRGB("&H00FF8000&"), Rgb(0x00, 0x80, 0xFF));
    EXPECT_EQ(colors.ToRGB("&h00ff8000&"), Rgb(0x00, 0x80, 0xFF));
    EXPECT_EQ(colors.ToRGB("&H00FF8000"), 0);
    EXPECT_TRUE(colors.isVB(" &h00a0b0c0& "));
    EXPECT_FALSE(colors.isVB("&H8000000F&"));
    // Texts that only look close to the form are refused instead of half read.
    EXPECT_FALSE(colors.isVB("&H00&FF8000&"));
    EXPECT_FALSE(colors.isVB("&H00FF8000&&"));
    EXPECT_FALSE(colors.isVB("&H00FF 8000&"));
    EXPECT_EQ(colors.ToRGB("&H00&FF8000&"), 0);

    EXPECT_TRUE(colors.isHTML("  #a0B0c0 "));
    EXPECT_EQ(colors.ToRGB("  #a0B0c0 "), Rgb(0xA0, 0xB0, 0xC0));
    EXPECT_FALSE(colors.isHTML("#12345"));
    EXPECT_FALSE(colors.isHTML("#12345G"));
    EXPECT_FALSE(colors.isHTML("#1234567"));
    EXPECT_EQ(colors.ToRGB("#12345"), 0);
    EXPECT_EQ(colors.ToRGB("#12 456"), 0);

    EXPECT_EQ(colors.ToRGB("&HFF"), 255);
    EXPECT_EQ(colors.ToRGB("&HFFFFFF"), 16777215);
    EXPECT_EQ(colors.ToRGB("&H00FF"), 0);  // begins like the colour-value form, is not one
    EXPECT_EQ(colors.ToRGB("&HFFFFFFFF"), 0);  // -1 as a 32-bit value
    EXPECT_EQ(colors.ToRGB("&H1FFFFFFFF"), 0);
    EXPECT_EQ(colors.ToRGB("&H"), 0);

    EXPECT_THROW(colors.HtmlToRGB("#12"), cError);
    EXPECT_THROW(colors.VBToRGB("&H00GG0000&"), cError);
    try {
        colors.HtmlToRGB("#xx0000");
        FAIL();
    } catch (const cError& e) {
        EXPECT_EQ(e.Number(), 13);
    }
}

TEST_F(Colors, RgbFormAndPlainNumbers)
{
    EXPECT_EQ(colors.ToRGB("rgb(300,0,0)"), 255);
    EXPECT_EQ(colors.ToRGB("RGB 1,2,3"), Rgb(1, 2, 3));
    EXPECT_EQ(colors.ToRGB("RGB(1.5, 2.5, &HFF)"), Rgb(2, 2, 255));
    EXPECT_EQ(colors.ToRGB("RGB(10,20)"), 0);
    EXPECT_EQ(colors.ToRGB("RGB(1,2,3,4)"), 0);
    EXPECT_EQ(colors.ToRGB("RGB(a,b,c)"), 0);
    EXPECT_EQ(colors.ToRGB("RGB(1,-2,3)"), 0);
    EXPECT_EQ(colors.ToRGB("RGB(1,,3)"), 0);
    EXPECT_EQ(colors.ToRGB("RGB(40000,0,0)"), 0);

    EXPECT_EQ(colors.ToRGB("16777216"), 16777215);
    EXPECT_EQ(colors.ToRGB(" 255 "), 255);
    EXPECT_EQ(colors.ToRGB("+1e3"), 1000);
    EXPECT_EQ(colors.ToRGB("2.5"), 2);
    EXPECT_EQ(colors.ToRGB("7."), 7);
    EXPECT_EQ(colors.ToRGB(".5e1"), 5);
    EXPECT_EQ(colors.ToRGB("3,5"), 4);
    EXPECT_EQ(colors.ToRGB("1e999"), 0);
    EXPECT_EQ(colors.ToRGB("99999999999"), 0);
    EXPECT_EQ(colors.ToRGB("1.2.3"), 0);
    EXPECT_EQ(colors.ToRGB("inf"), 0);
    EXPECT_EQ(colors.ToRGB(""), 0);
}

TEST_F(Colors, SystemColoursAreWrittenAsTheirCurrentValue)
{
    const auto buttonFace = static_cast<std::int32_t>(0x8000000FU);
    EXPECT_EQ(colors.RGBToHtml(buttonFace), "#F0F0F0") << "the usual button face";
    nxColors::SetSystemColorResolver([](int index) { return index == 15 ? Rgb(1, 2, 3) : 0; });
    EXPECT_EQ(colors.RGBToHtml(buttonFace), "#010203");
    nxColors::SetSystemColorResolver(nullptr);
    EXPECT_EQ(colors.RGBToHtml(static_cast<std::int32_t>(0x80000005U)), "#FFFFFF");
}

TEST_F(Colors, ReverseConversionsAndStyles)
{
    EXPECT_EQ(colors.RGBToHtml(255), "#FF0000");
    EXPECT_EQ(colors.RGBToVB(255), "&H000000FF&");
    EXPECT_EQ(colors.RGBToHtml(Rgb(1, 0xAB, 0x0C)), "#01AB0C");
    EXPECT_EQ(colors.RGBToCss(Rgb(0, 0xFF, 0xFF)), "Aqua");
    EXPECT_EQ(colors.RGBToCss(Rgb(0xFF, 0, 0xFF)), "Fuchsia");
    EXPECT_EQ(colors.RGBToCss(Rgb(0x64, 0x95, 0xED)), "Cornflower");
    EXPECT_EQ(colors.RGBToCss(Rgb(1, 2, 3)), "");

    EXPECT_EQ(colors.RGBSplit(Rgb(10, 20, 30)), (std::array<std::int16_t, 3>{10, 20, 30}));
    EXPECT_EQ(colors.RGBSplit(-1), (std::array<std::int16_t, 3>{-1, 0, 0}));

    EXPECT_EQ(colors.w3Class("W3-TEAL"),
              (std::array<std::int32_t, 2>{Rgb(0, 0x96, 0x88), 0xFFFFFF}));
    EXPECT_EQ(colors.w3Class("w3-light-blue"),
              (std::array<std::int32_t, 2>{Rgb(0x87, 0xCE, 0xEB), 0}));
    EXPECT_EQ(colors.w3Class("w3-deep-orange")[0], Rgb(0xFF, 0x57, 0x22));
    EXPECT_EQ(colors.w3Class("w3-green")[0], Rgb(0x4C, 0xAF, 0x50));
    EXPECT_EQ(colors.w3Class("w3-red"), (std::array<std::int32_t, 2>{0xFFFFFF, 0}));
}

TEST_F(Colors, EveryNamedColourRoundTrips)
{
    ASSERT_EQ(kNames.size(), 140u);
    std::set<std::int32_t> values;
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        const std::string& name = kNames[i];
        SCOPED_TRACE(name);
        ASSERT_TRUE(colors.isCSS(name));
        const std::int32_t v = colors.ToRGB(name);
        EXPECT_EQ(v, colors.CssToRGB(name));
        EXPECT_EQ(colors.ToRGB(Cased(name, true)), v);
        EXPECT_EQ(colors.ToRGB(Cased(name, false)), v);
        EXPECT_EQ(v == 0, name == "Black");
        EXPECT_GE(v, 0);
        EXPECT_LE(v, 0xFFFFFF);
        // The name given back is this one, or an earlier one with the same value.
        const std::string back = colors.RGBToCss(v);
        const auto at = std::find(kNames.begin(), kNames.end(), back);
        ASSERT_NE(at, kNames.end());
        EXPECT_LE(static_cast<std::size_t>(at - kNames.begin()), i);
        EXPECT_EQ(colors.ToRGB(back), v);
        EXPECT_EQ(colors.ToRGB(colors.RGBToHtml(v)), v);
        EXPECT_EQ(colors.ToRGB(Cased(colors.RGBToHtml(v), false)), v);
        EXPECT_EQ(colors.ToRGB(colors.RGBToVB(v)), v);
        values.insert(v);
    }
    EXPECT_EQ(values.size(), 138u);  // Aqua and Cyan, Fuchsia and Magenta share their values
}

TEST_F(Colors, RandomValuesRoundTripThroughEveryForm)
{
    std::mt19937 rng(104);
    for (int i = 0; i < 2000; ++i) {
        const auto v = static_cast<std::int32_t>(rng() % 0x1000000);
        const auto rgb = colors.RGBSplit(v);
        ASSERT_EQ(colors.ToRGB(colors.RGBToHtml(v)), v);
        ASSERT_EQ(colors.ToRGB(colors.RGBToVB(v)), v);
        ASSERT_EQ(colors.ToRGB(std::to_string(v)), v);
        ASSERT_EQ(colors.ToRGB("RGB(" + std::to_string(rgb[0]) + "," + std::to_string(rgb[1]) +
                               "," + std::to_string(rgb[2]) + ")"),
                  v);
    }
}

TEST_F(Colors, FuzzSmokeNeverRaisesAndStaysInRange)
{
    const std::vector<std::string> pieces = {"#", "&", "H", "00", "80", "F", "f", "9", "G",
                                             "RGB", "(", ")", ",", " ", "-", "+", ".", "E",
                                             "@", "Red", "cornflower", "blue", "\t", "\xC3\xA9"};
    std::mt19937 rng(1104);
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        const int n = static_cast<int>(rng() % 10);
        for (int k = 0; k < n; ++k) {
            text += pieces[rng() % pieces.size()];
        }
        std::int32_t v = -1;
        ASSERT_NO_THROW(v = colors.ToRGB(text)) << text;
        ASSERT_GE(v, 0) << text;
        ASSERT_LE(v, 0xFFFFFF) << text;
        ASSERT_NO_THROW(colors.isCSS(text));
        if (colors.isHTML(text)) {
            ASSERT_EQ(colors.RGBToHtml(v), Cased(text.substr(text.find('#'), 7), true)) << text;
        }
    }
}

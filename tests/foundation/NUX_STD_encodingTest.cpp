// Base64 both ways (worked examples, round trips over every byte, a seeded fuzz smoke), the
// UTF-8 check and the MIME types.
#include "foundation/NUX_STD_encoding.h"

#include "foundation/cError.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

using namespace NUX_STD_library;

namespace {

std::string Decode(std::string s, bool clean = true)
{
    return Base64Decode(s, clean);
}

} // namespace

TEST(NUX_STD_encoding, Base64KnownTexts)
{
    const char* plain[] = {"", "f", "fo", "foo", "foob", "fooba", "foobar"};
    const char* coded[] = {"", "Zg==", "Zm8=", "Zm9v", "Zm9vYg==", "Zm9vYmE=", "Zm9vYmFy"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(Base64Encode(plain[i]), coded[i]);
        EXPECT_EQ(Decode(coded[i]), plain[i]);
    }
    EXPECT_EQ(Base64Encode(std::string("\xFF\xFE\x00", 3)), "//4A");
}

TEST(NUX_STD_encoding, Base64PaddingIsOptional)
{
    EXPECT_EQ(Decode("Zm9vYg"), "foob");
    EXPECT_EQ(Decode("Zm9vYg="), "foob");
    EXPECT_EQ(Decode("Zm9vYmE"), "fooba");
    EXPECT_EQ(Decode("Zg"), "f");
    EXPECT_EQ(Decode("Zg==Zg=="), "ff"); // "=" ends its own group only
}

TEST(NUX_STD_encoding, Base64DecodeCleansTrimsAndRefusesNothing)
{
    std::string bytes;
    for (int i = 0; i < 300; ++i) {
        bytes += static_cast<char>(i * 7);
    }
    const std::string coded = Base64Encode(bytes);
    std::string wrapped;
    for (std::size_t i = 0; i < coded.size(); i += 76) {
        wrapped += coded.substr(i, 76) + "\r\n";
    }
    std::string s = "  " + wrapped;
    EXPECT_EQ(Base64Decode(s, true), bytes);
    EXPECT_EQ(s, coded); // the caller's text is cleaned

    // Without cleaning the line breaks stay and decode as garbage; nothing is refused.
    s = "  " + wrapped + "  ";
    const std::string garbage = Base64Decode(s, false);
    EXPECT_EQ(s, wrapped);
    EXPECT_NE(garbage, bytes);

    s = "";
    EXPECT_EQ(Base64Decode(s, true), "");
    s = "    ";
    try {
        Base64Decode(s, true);
        ADD_FAILURE() << "a text of blanks must raise";
    } catch (const cError& e) {
        EXPECT_EQ(e.Number(), 9);
    }
    EXPECT_EQ(s, "");
    EXPECT_THROW(Decode("\r\n*Z*\r\n"), cError);
}

TEST(NUX_STD_encoding, Base64RoundTripsEveryByteAndLength)
{
    std::string all;
    for (int i = 0; i < 256; ++i) {
        all += static_cast<char>(i);
    }
    EXPECT_EQ(Decode(Base64Encode(all)), all);

    std::mt19937 gen(20240611);
    std::uniform_int_distribution<int> len(1, 400), byte(0, 255);
    for (int round = 0; round < 500; ++round) {
        std::string s(static_cast<std::size_t>(len(gen)), '\0');
        for (char& c : s) {
            c = static_cast<char>(byte(gen));
        }
        const std::string coded = Base64Encode(s);
        ASSERT_EQ(coded.size(), (s.size() + 2) / 3 * 4);
        ASSERT_EQ(Decode(coded), s) << "length " << s.size();
        std::string unpadded = coded.substr(0, coded.find('='));
        ASSERT_EQ(Decode(unpadded), s) << "length " << s.size();
    }
}

TEST(NUX_STD_encoding, Base64DecodeFuzzSmoke)
{
    const std::string alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/==== \r\n\t*\x80\xFF";
    std::mt19937 gen(77);
    std::uniform_int_distribution<int> len(0, 64), pick(0, static_cast<int>(alphabet.size()) - 1),
        any(0, 255);
    for (int round = 0; round < 5000; ++round) {
        std::string s(static_cast<std::size_t>(len(gen)), '\0');
        for (char& c : s) {
            c = round % 4 == 0 ? static_cast<char>(any(gen)) : alphabet[pick(gen)];
        }
        for (bool clean : {false, true}) {
            std::string text = s;
            std::string bytes;
            try {
                bytes = Base64Decode(text, clean);
            } catch (const cError& e) {
                ASSERT_EQ(e.Number(), 9);
                continue;
            }
            ASSERT_LE(bytes.size(), text.size() / 4 * 3 + 2);
            ASSERT_EQ(Decode(Base64Encode(bytes), false), bytes);
        }
    }
}

TEST(NUX_STD_encoding, Utf8Decode)
{
    EXPECT_EQ(Utf8Decode(""), "");
    EXPECT_EQ(Utf8Decode("\xC3\xA8"), "\u00E8");
    EXPECT_EQ(Utf8Decode("a\xF0\x9F\x9A\x97z"), "a\U0001F697z");
    const std::string bad = "\xEF\xBF\xBD";
    EXPECT_EQ(Utf8Decode("\xFF"), bad);
    EXPECT_EQ(Utf8Decode("\xE2\x82"
                         "A"),
              bad + "A");                                             // one mark for a cut sequence
    EXPECT_EQ(Utf8Decode("\xC0\xAF"), bad + bad);                     // overlong
    EXPECT_EQ(Utf8Decode("\xED\xA0\x80"), bad + bad + bad);           // surrogate
    EXPECT_EQ(Utf8Decode("\xF4\x90\x80\x80"), bad + bad + bad + bad); // beyond U+10FFFF
}

TEST(NUX_STD_encoding, TextFromBytesKeepsEveryValidSequenceBesideAStrayByte)
{
    // "Café ☕ " in UTF-8 followed by the single byte of "é" in Windows-1252: the valid
    // characters stay as they are, the stray byte alone is read as Windows-1252.
    const std::string mixed = "Caf\xC3\xA9 \xE2\x98\x95 \xE9";
    EXPECT_EQ(TextFromBytes(mixed), "Caf\xC3\xA9 \xE2\x98\x95 \xC3\xA9");
    // A cut sequence is read byte by byte; a byte of 0x80 to 0x9F takes its Windows-1252 sign.
    EXPECT_EQ(TextFromBytes("CL\xC3\x89\xE2\x82;\x80"),
              "CL\xC3\x89\xC3\xA2\xE2\x80\x9A;\xE2\x82\xAC");
    // A wholly valid text is unchanged; a wholly single-byte one reads as before.
    EXPECT_EQ(TextFromBytes("\xE2\x98\x95"), "\xE2\x98\x95");
    EXPECT_EQ(TextFromBytes("D\xE9j\xE0"), Windows1252ToUtf8("D\xE9j\xE0"));
    EXPECT_TRUE(IsUtf8(TextFromBytes(mixed)));
}

TEST(NUX_STD_encoding, MimeTypes)
{
    EXPECT_EQ(GetMimeType("photo.JPEG"), "image/jpeg");
    EXPECT_EQ(GetMimeType("a.Png"), "image/png");
    EXPECT_EQ(GetMimeType("a.xlsx"),
              "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");
    EXPECT_EQ(GetMimeType("README"), "application/octet-stream");
    EXPECT_EQ(GetMimeType("/dir.png/file"), "application/octet-stream");
}

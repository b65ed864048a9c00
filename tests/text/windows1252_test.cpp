// Windows-1252 to UTF-8 and back, checked against the code page's chart.
#include "text/windows1252.hpp"

#include <gtest/gtest.h>

#include <string>

namespace scenario {
namespace {

std::string bytes_from(int first, int last) {
    std::string out;
    for (int b = first; b <= last; ++b) {
        out += static_cast<char>(b);
    }
    return out;
}

TEST(Windows1252, TheBlock0x80To0x9FIsTheCodePagesOwnAndItsHolesBecomeU_FFFD) {
    // From the chart, eight bytes a row; the five undefined bytes are U+FFFD.
    const std::string chart = "€\uFFFD‚ƒ„…†‡"   // 0x80
                              "ˆ‰Š‹Œ\uFFFDŽ\uFFFD"  // 0x88
                              "\uFFFD‘’“”•–—"       // 0x90
                              "˜™š›œ\uFFFDžŸ";      // 0x98
    EXPECT_EQ(windows1252_to_utf8(bytes_from(0x80, 0x9F)), chart);
    // The rest is Latin-1: ASCII as it is, 0xA0 to 0xFF as two UTF-8 bytes.
    EXPECT_EQ(windows1252_to_utf8(std::string("A\0~", 3)), std::string("A\0~", 3));
    EXPECT_EQ(windows1252_to_utf8("\xA0\xC8\xE8\xFF"), "\u00A0Èèÿ");
}

TEST(Windows1252, EveryDefinedByteComesBackFromUtf8AsItself) {
    const std::string all = bytes_from(0, 255);
    std::string defined;
    for (const char c : all) {
        if (std::string("\x81\x8D\x8F\x90\x9D").find(c) == std::string::npos) {
            defined += c;
        }
    }
    ASSERT_EQ(defined.size(), 251u);
    const windows1252_text back = utf8_to_windows1252(windows1252_to_utf8(defined));
    EXPECT_FALSE(back.fault.has_value());
    EXPECT_EQ(back.text, defined);
}

TEST(Windows1252, TheFirstCharacterWithoutAFormIsLocatedInCharactersOfTheAuthorsFile) {
    // Line 2: "ç", "à", " " take columns 1 to 3, so "ł" is in column 4.
    const windows1252_text r = utf8_to_windows1252("ab\r\nçà ł and Ω");
    ASSERT_TRUE(r.fault.has_value());
    EXPECT_EQ(r.fault->why, text_fault::kind::no_windows1252_form);
    EXPECT_EQ(r.fault->line, 2);
    EXPECT_EQ(r.fault->column, 4);
    EXPECT_EQ(r.fault->what, "the character \"ł\" (U+0142) has no Windows-1252 form");
    // U+FFFD and the C1 controls have none either; a control is named by number only.
    EXPECT_EQ(utf8_to_windows1252("\uFFFD").fault->what,
              "the character \"\uFFFD\" (U+FFFD) has no Windows-1252 form");
    EXPECT_EQ(utf8_to_windows1252("\u0081").fault->what,
              "the character U+0081 has no Windows-1252 form");
    EXPECT_EQ(utf8_to_windows1252("\U0001F600").fault->what,
              "the character \"\U0001F600\" (U+01F600) has no Windows-1252 form");
}

TEST(Windows1252, BytesThatAreNotUtf8AreLocatedAtTheirFirstByte) {
    // A Windows-1252 "è", a stray continuation byte, a truncated, an overlong and a
    // surrogate sequence, and one past U+10FFFF.
    for (const std::string& bad : {std::string("\xE8 "), std::string("\x80"),
                                   std::string("\xC3"), std::string("\xC0\xAF"),
                                   std::string("\xED\xA0\x80"), std::string("\xF4\x90\x80\x80")}) {
        const windows1252_text r = utf8_to_windows1252("ok\n\tx" + bad);
        ASSERT_TRUE(r.fault.has_value()) << bad;
        EXPECT_EQ(r.fault->why, text_fault::kind::not_utf8);
        EXPECT_EQ(r.fault->line, 2);
        EXPECT_EQ(r.fault->column, 3);
        const std::string hex = "0123456789ABCDEF";
        const auto lead = static_cast<unsigned char>(bad[0]);
        EXPECT_EQ(r.fault->what, std::string("the byte 0x") + hex[lead >> 4] + hex[lead & 15] +
                                     " does not begin a well-formed UTF-8 character");
    }
}

TEST(Windows1252, AByteOrderMarkAtTheStartIsDropped) {
    const windows1252_text r = utf8_to_windows1252("\xEF\xBB\xBF€1,\r\n");
    EXPECT_FALSE(r.fault.has_value());
    EXPECT_EQ(r.text, "\x80" "1,\r\n");
    EXPECT_EQ(utf8_to_windows1252("a\xEF\xBB\xBF").fault->what,
              "the character \"\uFEFF\" (U+FEFF) has no Windows-1252 form");
}

}  // namespace
}  // namespace scenario

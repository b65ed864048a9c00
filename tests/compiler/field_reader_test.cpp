#include "compiler/field_reader.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "model/reader_failure.hpp"

namespace scenario {
namespace {

std::string messaggio(const std::function<void()>& f) {
    try {
        f();
    } catch (const reader_failure& e) {
        return e.what();
    }
    return "no failure";
}

TEST(FieldReader, NumbersEndAtBlanksCommasAndLineEnds) {
    // The clock line with blanks only, the same with commas, then a lone LF line.
    const std::string testo =
        "orologio,    19              8             15 \r\n"
        "orologio,19,8,15\n"
        "x, -7\r\n";
    field_reader f(testo);
    for (int volta = 0; volta < 2; ++volta) {
        EXPECT_EQ(f.text("k"), "orologio");
        EXPECT_EQ(f.number<std::int16_t>("h"), 19);
        EXPECT_EQ(f.number<std::int16_t>("m"), 8);
        EXPECT_EQ(f.number<std::int16_t>("s"), 15);
    }
    EXPECT_EQ(f.text("k"), "x");
    EXPECT_FALSE(f.at_end());
    EXPECT_EQ(f.number<std::int32_t>("v"), -7);
    EXPECT_TRUE(f.at_end());
}

TEST(FieldReader, EmptyFieldsReadAsZeroAndMissingFieldsComeFromTheNextLine) {
    const std::string testo =
        "indicatori_vmax,  700,  130,  140,  150,  0,  ,  ,  ,  0\r\n"
        "pendenza,  600\r\n"
        "  5\r\n";
    field_reader f(testo);
    EXPECT_EQ(f.text("k"), "indicatori_vmax");
    const int attesi[] = {700, 130, 140, 150, 0, 0, 0, 0, 0};
    for (const int a : attesi) {
        EXPECT_EQ(f.number<std::int32_t>("n"), a);
    }
    EXPECT_EQ(f.text("k"), "pendenza");
    EXPECT_EQ(f.number<std::int32_t>("p"), 600);
    EXPECT_EQ(f.number<std::int32_t>("g"), 5);
    EXPECT_EQ(f.last().line, 3);
    EXPECT_EQ(f.last().column, 3);
    EXPECT_TRUE(f.at_end());
}

TEST(FieldReader, TextFieldsDropOuterBlanksAndStopAtCommaOrLineEnd) {
    const std::string testo =
        "cartello_indicatore,  650,   (  BIVIO   )(TRAVERSATA)  \r\n"
        "  a b  ,c\n"
        "\r\n"
        "[fine]\r\n";
    field_reader f(testo);
    EXPECT_EQ(f.text("k"), "cartello_indicatore");
    EXPECT_EQ(f.number<std::int32_t>("p"), 650);
    EXPECT_EQ(f.text("t"), "(  BIVIO   )(TRAVERSATA)");
    EXPECT_EQ(f.last().column, 30);
    EXPECT_EQ(f.text("t"), "a b");
    EXPECT_EQ(f.text("t"), "c");
    EXPECT_EQ(f.text("t"), "");  // the empty line is one empty field
    EXPECT_EQ(f.last().line, 3);
    EXPECT_FALSE(f.at_end());
    EXPECT_EQ(f.text("t"), "[fine]");
    EXPECT_TRUE(f.at_end());
}

TEST(FieldReader, EndOfDocumentOnlyAfterTheLastLineBreak) {
    field_reader f(std::string_view("a\r\n\r\n"));
    f.text("k");
    EXPECT_FALSE(f.at_end());  // an empty line is left
    f.text("k");
    EXPECT_TRUE(f.at_end());
    EXPECT_TRUE(field_reader(std::string_view("")).at_end());
}

TEST(FieldReader, TracksLineColumnAndLineTextOfEveryField) {
    const std::string testo = "[generale]\r\nsfondo uno,    70000\nx,\t 5 ,6\r\n";
    field_reader f(testo);
    f.text("k");
    EXPECT_EQ(f.last().line, 1);
    EXPECT_EQ(f.last().column, 1);
    f.text("k");
    f.number<std::int32_t>("v");
    EXPECT_EQ(f.last().line, 2);
    EXPECT_EQ(f.last().column, 16);
    EXPECT_EQ(f.line_of(f.last()), "sfondo uno,    70000");
    f.text("k");
    f.number<std::int32_t>("v");
    EXPECT_EQ(f.last().column, 5);
    EXPECT_EQ(f.number<std::int32_t>("v"), 6);
    EXPECT_EQ(f.last().column, 8);
    EXPECT_EQ(f.line_of(f.last()), "x,\t 5 ,6");
}

TEST(FieldReader, ValuesMustFitTheirWidth) {
    field_reader f(
        std::string_view("255,256,-1,32767,-32768,32768,-32769,2147483647,-2147483648,"
                         "2147483648,99999999999999999999999\r\n"));
    EXPECT_EQ(f.number<std::uint8_t>("a"), 255);
    EXPECT_EQ(messaggio([&] { f.number<std::uint8_t>("station kind"); }),
              "station kind: value 256 does not fit its field (0 to 255)");
    EXPECT_TRUE(f.failed());
    EXPECT_EQ(f.last().column, 5);
    EXPECT_ANY_THROW(f.number<std::uint8_t>("a"));
    EXPECT_EQ(f.number<std::int16_t>("a"), 32767);
    EXPECT_EQ(f.number<std::int16_t>("a"), -32768);
    EXPECT_ANY_THROW(f.number<std::int16_t>("a"));
    EXPECT_ANY_THROW(f.number<std::int16_t>("a"));
    EXPECT_EQ(f.number<std::int32_t>("a"), 2147483647);
    EXPECT_EQ(f.number<std::int32_t>("a"), -2147483647 - 1);
    EXPECT_ANY_THROW(f.number<std::int32_t>("a"));
    EXPECT_ANY_THROW(f.number<std::int32_t>("a"));
}

TEST(FieldReader, UnreadableFieldsFail) {
    EXPECT_EQ(messaggio([] { field_reader(std::string_view("")).text("keyword"); }),
              "keyword: end of document");
    EXPECT_EQ(messaggio([] { field_reader(std::string_view("12a,")).number<std::int32_t>("n"); }),
              "n: \"12a\" is not a number");
    EXPECT_ANY_THROW(field_reader(std::string_view("-,")).number<std::int32_t>("n"));
    EXPECT_ANY_THROW(field_reader(std::string_view("1.5,")).number<std::int32_t>("n"));

    // After a read past the end the reader still points at the last field read.
    field_reader f(std::string_view("a\r\n"));
    f.text("k");
    EXPECT_ANY_THROW(f.number<std::int32_t>("n"));
    EXPECT_TRUE(f.failed());
    EXPECT_EQ(f.last().line, 1);
}

}  // namespace
}  // namespace scenario

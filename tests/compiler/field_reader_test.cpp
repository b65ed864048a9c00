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
        EXPECT_EQ(f.testo("k"), "orologio");
        EXPECT_EQ(f.numero<std::int16_t>("h"), 19);
        EXPECT_EQ(f.numero<std::int16_t>("m"), 8);
        EXPECT_EQ(f.numero<std::int16_t>("s"), 15);
    }
    EXPECT_EQ(f.testo("k"), "x");
    EXPECT_FALSE(f.fine());
    EXPECT_EQ(f.numero<std::int32_t>("v"), -7);
    EXPECT_TRUE(f.fine());
}

TEST(FieldReader, EmptyFieldsReadAsZeroAndMissingFieldsComeFromTheNextLine) {
    const std::string testo =
        "indicatori_vmax,  700,  130,  140,  150,  0,  ,  ,  ,  0\r\n"
        "pendenza,  600\r\n"
        "  5\r\n";
    field_reader f(testo);
    EXPECT_EQ(f.testo("k"), "indicatori_vmax");
    const int attesi[] = {700, 130, 140, 150, 0, 0, 0, 0, 0};
    for (const int a : attesi) {
        EXPECT_EQ(f.numero<std::int32_t>("n"), a);
    }
    EXPECT_EQ(f.testo("k"), "pendenza");
    EXPECT_EQ(f.numero<std::int32_t>("p"), 600);
    EXPECT_EQ(f.numero<std::int32_t>("g"), 5);
    EXPECT_EQ(f.ultimo().riga, 3);
    EXPECT_EQ(f.ultimo().colonna, 3);
    EXPECT_TRUE(f.fine());
}

TEST(FieldReader, TextFieldsDropOuterBlanksAndStopAtCommaOrLineEnd) {
    const std::string testo =
        "cartello_indicatore,  650,   (  BIVIO   )(TRAVERSATA)  \r\n"
        "  a b  ,c\n"
        "\r\n"
        "[fine]\r\n";
    field_reader f(testo);
    EXPECT_EQ(f.testo("k"), "cartello_indicatore");
    EXPECT_EQ(f.numero<std::int32_t>("p"), 650);
    EXPECT_EQ(f.testo("t"), "(  BIVIO   )(TRAVERSATA)");
    EXPECT_EQ(f.ultimo().colonna, 30);
    EXPECT_EQ(f.testo("t"), "a b");
    EXPECT_EQ(f.testo("t"), "c");
    EXPECT_EQ(f.testo("t"), "");  // the empty line is one empty field
    EXPECT_EQ(f.ultimo().riga, 3);
    EXPECT_FALSE(f.fine());
    EXPECT_EQ(f.testo("t"), "[fine]");
    EXPECT_TRUE(f.fine());
}

TEST(FieldReader, EndOfDocumentOnlyAfterTheLastLineBreak) {
    field_reader f(std::string_view("a\r\n\r\n"));
    f.testo("k");
    EXPECT_FALSE(f.fine());  // an empty line is left
    f.testo("k");
    EXPECT_TRUE(f.fine());
    EXPECT_TRUE(field_reader(std::string_view("")).fine());
}

TEST(FieldReader, TracksLineColumnAndLineTextOfEveryField) {
    const std::string testo = "[generale]\r\nsfondo uno,    70000\nx,\t 5 ,6\r\n";
    field_reader f(testo);
    f.testo("k");
    EXPECT_EQ(f.ultimo().riga, 1);
    EXPECT_EQ(f.ultimo().colonna, 1);
    f.testo("k");
    f.numero<std::int32_t>("v");
    EXPECT_EQ(f.ultimo().riga, 2);
    EXPECT_EQ(f.ultimo().colonna, 16);
    EXPECT_EQ(f.riga_di(f.ultimo()), "sfondo uno,    70000");
    f.testo("k");
    f.numero<std::int32_t>("v");
    EXPECT_EQ(f.ultimo().colonna, 5);
    EXPECT_EQ(f.numero<std::int32_t>("v"), 6);
    EXPECT_EQ(f.ultimo().colonna, 8);
    EXPECT_EQ(f.riga_di(f.ultimo()), "x,\t 5 ,6");
}

TEST(FieldReader, ValuesMustFitTheirWidth) {
    field_reader f(
        std::string_view("255,256,-1,32767,-32768,32768,-32769,2147483647,-2147483648,"
                         "2147483648,99999999999999999999999\r\n"));
    EXPECT_EQ(f.numero<std::uint8_t>("a"), 255);
    EXPECT_EQ(messaggio([&] { f.numero<std::uint8_t>("station kind"); }),
              "station kind: value 256 does not fit its field (0 to 255)");
    EXPECT_TRUE(f.fallito());
    EXPECT_EQ(f.ultimo().colonna, 5);
    EXPECT_ANY_THROW(f.numero<std::uint8_t>("a"));
    EXPECT_EQ(f.numero<std::int16_t>("a"), 32767);
    EXPECT_EQ(f.numero<std::int16_t>("a"), -32768);
    EXPECT_ANY_THROW(f.numero<std::int16_t>("a"));
    EXPECT_ANY_THROW(f.numero<std::int16_t>("a"));
    EXPECT_EQ(f.numero<std::int32_t>("a"), 2147483647);
    EXPECT_EQ(f.numero<std::int32_t>("a"), -2147483647 - 1);
    EXPECT_ANY_THROW(f.numero<std::int32_t>("a"));
    EXPECT_ANY_THROW(f.numero<std::int32_t>("a"));
}

TEST(FieldReader, UnreadableFieldsFail) {
    EXPECT_EQ(messaggio([] { field_reader(std::string_view("")).testo("keyword"); }),
              "keyword: end of document");
    EXPECT_EQ(messaggio([] { field_reader(std::string_view("12a,")).numero<std::int32_t>("n"); }),
              "n: \"12a\" is not a number");
    EXPECT_ANY_THROW(field_reader(std::string_view("-,")).numero<std::int32_t>("n"));
    EXPECT_ANY_THROW(field_reader(std::string_view("1.5,")).numero<std::int32_t>("n"));

    // After a read past the end the reader still points at the last field read.
    field_reader f(std::string_view("a\r\n"));
    f.testo("k");
    EXPECT_ANY_THROW(f.numero<std::int32_t>("n"));
    EXPECT_TRUE(f.fallito());
    EXPECT_EQ(f.ultimo().riga, 1);
}

}  // namespace
}  // namespace scenario

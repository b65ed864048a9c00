#include "report/json_writer.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

#include <nlohmann/json.hpp>

namespace scenario::cli {
namespace {


TEST(JsonWriter, PlacesCommasInNestedObjectsAndArrays) {
    std::ostringstream out;
    json_writer w(out);
    w.begin_object();
    w.member("a", 1);
    w.key("list");
    w.begin_array();
    w.begin_object();
    w.end_object();
    w.begin_array();
    w.end_array();
    w.integer(-7);
    w.null();
    w.boolean(true);
    w.end_array();
    w.member_null("n");
    w.member("s", "x");
    w.end_object();
    EXPECT_EQ(out.str(), R"({"a":1,"list":[{},[],-7,null,true],"n":null,"s":"x"})");
    EXPECT_TRUE(nlohmann::ordered_json::accept(out.str()));
}

TEST(JsonWriter, EscapesQuotesBackslashesAndControlCharacters) {
    EXPECT_EQ(json_quote("a\"b\\c"), R"("a\"b\\c")");
    EXPECT_EQ(json_quote("l1\r\nl2\tx"), R"("l1\r\nl2\tx")");
    EXPECT_EQ(json_quote(std::string("\x01\x1f\x7f", 3)), R"("\u0001\u001f\u007f")");
    EXPECT_EQ(json_quote(std::string("a\0b", 3)), R"("a\u0000b")");
    const std::string text = std::string("x\"\\\n\x02 y", 7);
    EXPECT_EQ(nlohmann::ordered_json::parse(json_quote(text)).get<std::string>(), text);
}

TEST(JsonWriter, DocumentTextIsWindows1252AndTheToolsTextIsUtf8) {
    // In a document every byte is one character: 0x80 is the euro sign, and the two
    // bytes of a UTF-8 "è" are the two characters "Ã¨".
    std::ostringstream out;
    json_writer w(out);
    w.begin_array();
    w.document_string("\x80 \xE8 \xC3\xA8 \x81");
    w.string("\xC3\xA8 \x80");
    w.end_array();
    EXPECT_EQ(out.str(), "[\"€ è Ã¨ \uFFFD\",\"è €\"]");
    // The tool's own text (file names) keeps UTF-8; a byte that is not UTF-8 (above: a
    // lone 0x80) is read as Windows-1252. Nothing breaks the JSON.
    for (const char* bad : {"\xC3" "A", "\xC0\xAF", "\xED\xA0\x80", "\xF0\x9F\x98"}) {
        EXPECT_TRUE(nlohmann::ordered_json::accept(json_quote(bad))) << bad;
    }
    EXPECT_EQ(json_quote("\xC0\xAF"), "\"À¯\"");
}

TEST(JsonWriter, NumbersReadBackExactlyAndNonFiniteBecomeNull) {
    const double values[] = {
        0.0, -0.0, 1.0, -2.5, 0.1, 1e-300, 1.7976931348623157e308, -123.456789012345678};
    for (const double v : values) {
        std::ostringstream out;
        json_writer(out).number(v);
        const auto parsed = nlohmann::ordered_json::parse(out.str());
        EXPECT_EQ(parsed.get<double>(), v) << out.str();
    }
    std::ostringstream out;
    json_writer w(out);
    w.begin_array();
    w.number(std::numeric_limits<double>::quiet_NaN());
    w.number(-std::numeric_limits<double>::infinity());
    w.integer(std::numeric_limits<std::int64_t>::min());
    w.end_array();
    EXPECT_EQ(out.str(), "[null,null,-9223372036854775808]");
}

}  // namespace
}  // namespace scenario::cli

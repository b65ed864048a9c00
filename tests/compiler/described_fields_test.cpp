// The readers read what the description of the documents says: every keyword's example
// row reads without an error or a warning on its line, and every field is read under
// its described name at its described width. A row that ends before the field, or
// holds a number one past its width, is error 25 naming the field; a number at the
// width's limit is read.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>

#include "compiler/field_reader.hpp"
#include "grammar/grammar.hpp"
#include "reader_test_support.hpp"

namespace scenario::testing {
namespace {

// The documents around a row of a part, the row the last line of its document (then
// "[fine]" when closed). Its line is 3 in the line document's general part, 4 in the
// body, 2 in the train document.
struct documents {
    std::string line;
    std::string train;
};
documents around(document_part part, const std::string& row, bool closed) {
    const std::string end = closed ? "\r\n[fine]\r\n" : "\r\n";
    const std::string general = "[generale]\r\nlunghezza percorso,    63500\r\n";
    const std::string empty_train = "[generale]\r\n[fine]\r\n";
    if (part == document_part::general) {
        return {general + row + end, empty_train};
    }
    if (part == document_part::body) {
        return {general + "[curve]\r\n" + row + end, empty_train};
    }
    return {general + "[curve]\r\n[fine]\r\n", "[generale]\r\n" + row + end};
}

// The example row cut into its keyword field and its fields' values.
struct example_values {
    std::string keyword;
    std::vector<std::string> values;
};
example_values values_of(const keyword_description& k) {
    field_reader fields(k.example);
    example_values row{std::string(fields.text("keyword")), {}};
    for (const field_description& f : k.fields) {
        row.values.push_back(f.width == field_width::text
                                 ? std::string(fields.text("value"))
                                 : std::to_string(fields.number<std::int64_t>("value")));
    }
    return row;
}

// The keyword and the first `count` values, the one at `at` replaced by `value`.
std::string row_of(const example_values& e, std::size_t count, std::size_t at = 0,
                   const std::string& value = {}) {
    std::string row = e.keyword;
    for (std::size_t i = 0; i < count; ++i) {
        row += ", " + (i == at && !value.empty() ? value : e.values[i]);
    }
    return row;
}

// The errors 25 of a compile that name a field.
bool names_field(const compilato& c, std::string_view name) {
    const std::string named = std::string(name) + ": ";
    return std::any_of(c.stato.diagnostics.begin(), c.stato.diagnostics.end(),
                       [&](const diagnostic& d) {
                           return d.number == 25 && d.message.find(named) != std::string::npos;
                       });
}

struct limits {
    std::int64_t lowest;
    std::int64_t highest;
};
limits limits_of(field_width width) {
    switch (width) {
        case field_width::int16:
            return {-32768, 32767};
        case field_width::uint8:
            return {0, 255};
        default:
            return {-2147483648LL, 2147483647LL};
    }
}

const document_part parts[] = {document_part::general, document_part::body, document_part::train};

TEST(DescribedFields, ExampleRowsReadCleanly) {
    for (const document_part part : parts) {
        const int row_line = part == document_part::general ? 3
                             : part == document_part::body  ? 4
                                                            : 2;
        const std::string& row_document = part == document_part::train ? treno : linea;
        for (const keyword_description& k : keyword_descriptions(part)) {
            SCOPED_TRACE(k.example);
            ASSERT_FALSE(k.forms.empty());
            EXPECT_NE(std::find(k.forms.begin(), k.forms.end(), values_of(k).keyword),
                      k.forms.end());
            const documents d = around(part, std::string(k.example), true);
            const compilato c(d.line, d.train);
            for (const diagnostic& error : c.stato.diagnostics) {
                ADD_FAILURE() << error.message;
            }
            for (const diagnostic& w : c.warnings) {
                EXPECT_FALSE(w.document == row_document && w.line == row_line) << w.message;
            }
        }
    }
}

TEST(DescribedFields, EachFieldIsReadUnderItsNameAtItsWidth) {
    for (const document_part part : parts) {
        for (const keyword_description& k : keyword_descriptions(part)) {
            const example_values e = values_of(k);
            for (std::size_t i = 0; i < k.fields.size(); ++i) {
                const field_description& f = k.fields[i];
                SCOPED_TRACE(e.keyword + ", field " + std::string(f.name));
                if (i > 0) {  // a keyword field that ends its document is never acted on
                    const documents cut = around(part, row_of(e, i), false);
                    EXPECT_TRUE(names_field(compilato(cut.line, cut.train), f.name));
                }
                if (f.width == field_width::text) {
                    continue;
                }
                const limits l = limits_of(f.width);
                for (const auto& [value, fits] :
                     {std::pair{l.lowest, true}, std::pair{l.highest, true},
                      std::pair{l.lowest - 1, false}, std::pair{l.highest + 1, false}}) {
                    SCOPED_TRACE(value);
                    const documents d =
                        around(part, row_of(e, k.fields.size(), i, std::to_string(value)), true);
                    EXPECT_EQ(names_field(compilato(d.line, d.train), f.name), !fits);
                }
            }
        }
    }
}

}  // namespace
}  // namespace scenario::testing

// The line and train documents are read back by the compiler, so a slip in a
// transcribed row changes the compiled scenario. These tests parse the rows and check
// the rules the data obeys rather than comparing text with text.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document_lines.hpp"
#include "documents/built_in_documents.hpp"

namespace scenario {
namespace {

using testing::line_at;

constexpr int lunghezza_percorso = 63500;

std::vector<std::string> split_fields(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t comma = line.find(','); comma != std::string_view::npos;
         comma = line.find(',', start)) {
        fields.emplace_back(line.substr(start, comma - start));
        start = comma + 1;
    }
    fields.emplace_back(line.substr(start));
    return fields;
}

// A plain decimal integer with nothing around it, in the form to_string gives.
std::optional<int> plain_int(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || std::to_string(value) != text) {
        return std::nullopt;
    }
    return value;
}

// A field of exactly `width` characters holding a right-aligned integer.
std::optional<int> column_int(std::string_view field, std::size_t width) {
    const std::size_t first = field.find_first_not_of(' ');
    if (field.size() != width || first == std::string_view::npos) {
        return std::nullopt;
    }
    return plain_int(field.substr(first));
}

void expect_sections(line_list righe,
                     const std::vector<std::pair<std::size_t, std::string>>& headers,
                     const std::vector<std::string>& row_keywords) {
    for (std::size_t s = 0; s < headers.size(); ++s) {
        const auto& [line, header] = headers[s];
        EXPECT_EQ(line_at(righe, line), header);
        if (s + 1 == headers.size()) {
            EXPECT_EQ(line, righe.size()) << "the last section header ends the document";
            break;
        }
        for (std::size_t n = line + 1; n < headers[s + 1].first; ++n) {
            EXPECT_TRUE(righe[n - 1].starts_with(row_keywords[s])) << "line " << n;
        }
    }
}

TEST(LineDocument, SectionsStandWhereTheReaderExpectsThem) {
    expect_sections(righe_linea(),
                    {{1, "[generale]"},
                     {10, "[curve]"},
                     {53, "[pendenze]"},
                     {132, "[montagne]"},
                     {152, "[cartelli]"},
                     {174, "[indicazioni]"},
                     {179, "[fine]"}},
                    {"", "curva", "pendenza,  ", "montagna,   ", "indicatori_vmax,  ",
                     "cartello_indicatore,  "});
    EXPECT_EQ(line_at(righe_linea(), 2),
              "lunghezza percorso,    " + std::to_string(lunghezza_percorso));
}

TEST(LineDocument, CurvesAscendDoNotOverlapAndKeepTheirSpacing) {
    int fine_precedente = 0;
    int contigue = 0;
    for (std::size_t n = 11; n <= 52; ++n) {
        SCOPED_TRACE("line " + std::to_string(n));
        const std::string line = line_at(righe_linea(), n);
        const auto fields = split_fields(line);
        ASSERT_EQ(fields.size(), 3U);
        ASSERT_EQ(fields[0].size(), 7U);
        EXPECT_TRUE(fields[0][5] == 's' || fields[0][5] == 'd');
        EXPECT_TRUE(fields[0][6] >= '1' && fields[0][6] <= '6');
        const auto inizio = plain_int(std::string_view(fields[1]).substr(2));
        const auto lunghezza = plain_int(std::string_view(fields[2]).substr(2));
        ASSERT_TRUE(inizio && lunghezza);
        EXPECT_EQ(line,
                  fields[0] + ",  " + std::to_string(*inizio) + ",  " + std::to_string(*lunghezza));
        EXPECT_EQ(*inizio % 50, 0);
        EXPECT_EQ(*lunghezza % 50, 0);
        EXPECT_GT(*lunghezza, 0);
        EXPECT_GE(*inizio, fine_precedente);
        contigue += n > 11 && *inizio == fine_precedente;
        fine_precedente = *inizio + *lunghezza;
    }
    EXPECT_EQ(contigue, 13);
    EXPECT_LE(fine_precedente, lunghezza_percorso);
}

TEST(LineDocument, GradientsRampInSmallStepsFromLevelToLevel) {
    std::optional<int> progressiva_precedente;
    int pendenza_precedente = 0;
    for (std::size_t n = 54; n <= 131; ++n) {
        SCOPED_TRACE("line " + std::to_string(n));
        const std::string line = line_at(righe_linea(), n);
        const auto fields = split_fields(line);
        ASSERT_EQ(fields.size(), 3U);
        const auto progressiva = plain_int(std::string_view(fields[1]).substr(2));
        const auto pendenza = plain_int(std::string_view(fields[2]).substr(3));
        ASSERT_TRUE(progressiva && pendenza);
        EXPECT_EQ(line, "pendenza,  " + std::to_string(*progressiva) + ",   " +
                            std::to_string(*pendenza));
        EXPECT_EQ(*progressiva % 50, 0);
        EXPECT_LT(*progressiva, lunghezza_percorso);
        EXPECT_GE(*pendenza, -17);
        EXPECT_LE(*pendenza, 10);
        if (progressiva_precedente) {
            EXPECT_GT(*progressiva, *progressiva_precedente);
            EXPECT_LE(std::abs(*pendenza - pendenza_precedente), 2);
        } else {
            EXPECT_EQ(*progressiva, 0);
            EXPECT_EQ(*pendenza, 0);
        }
        progressiva_precedente = progressiva;
        pendenza_precedente = *pendenza;
    }
    EXPECT_EQ(pendenza_precedente, 0);
}

TEST(TrainDocument, SectionsStandWhereTheReaderExpectsThem) {
    expect_sections(
        righe_treno(),
        {{1, "[generale]"},
         {6, "[aderenze]"},
         {17, "[vel_limite]"},
         {31, "[stazioni]"},
         {45, "[rallentamenti]"},
         {48, "[segnali]"},
         {83, "[codici]"},
         {84, "[fine]"}},
        {"", "aderenza,   ", "velocita,", "stazione,", "rallentamento,", "segnale,", ""});
    EXPECT_EQ(line_at(righe_treno(), 5),
              "orologio,    19" + std::string(14, ' ') + "8" + std::string(13, ' ') + "15 ");
}

TEST(TrainDocument, FixedColumnRowsKeepTheirWidthsAndAscend) {
    struct row_kind {
        std::string keyword;
        std::vector<std::size_t> widths;
        bool named;  // a blank and one more value or a name follow the columns
        std::size_t first, last;
    };
    const row_kind kinds[] = {
        {"velocita", {8, 6}, false, 18, 30},
        {"stazione", {8, 3, 5, 3, 2, 2, 3, 1, 1, 3, 1, 1, 5, 4, 2, 2}, true, 32, 44},
        {"rallentamento", {8, 6, 5, 2, 3, 3}, false, 46, 47},
        {"segnale", {8, 4, 2, 2, 3, 2, 5, 3, 1, 1}, true, 49, 82},
    };
    for (const row_kind& k : kinds) {
        int precedente = -1;
        for (std::size_t n = k.first; n <= k.last; ++n) {
            SCOPED_TRACE("line " + std::to_string(n));
            const std::string line = line_at(righe_treno(), n);
            const auto f = split_fields(line);
            ASSERT_EQ(f.size(), 1 + k.widths.size() + (k.named ? 1 : 0));
            EXPECT_EQ(f[0], k.keyword);
            for (std::size_t i = 0; i < k.widths.size(); ++i) {
                EXPECT_TRUE(column_int(f[i + 1], k.widths[i])) << "field " << i + 1;
            }
            if (k.named) {
                const std::string& tail = f.back();
                ASSERT_GE(tail.size(), 2U);
                EXPECT_EQ(tail[0], ' ');
                EXPECT_NE(tail[1], ' ');
            }
            const int progressiva = column_int(f[1], 8).value_or(-1);
            EXPECT_GT(progressiva, precedente);
            EXPECT_LT(progressiva, lunghezza_percorso);
            precedente = progressiva;
        }
    }
}

TEST(TrainDocument, AdhesionRowsAscendWithTheWideFirstValue) {
    int precedente = -1;
    for (std::size_t n = 7; n <= 16; ++n) {
        const auto f = split_fields(line_at(righe_treno(), n));
        ASSERT_EQ(f.size(), 3U) << "line " << n;
        ASSERT_TRUE(f[1].starts_with("   ")) << "line " << n;
        const auto progressiva = plain_int(f[1].substr(3));
        ASSERT_TRUE(progressiva) << "line " << n;
        EXPECT_GT(*progressiva, precedente) << "line " << n;
        precedente = *progressiva;
        EXPECT_TRUE(column_int(f[2], n == 7 ? 7 : 6)) << "line " << n;
    }
}

}  // namespace
}  // namespace scenario

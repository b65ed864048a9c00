// The element index of a compiled scenario: every element names the document row that
// made it (a row of its own kind) or none, and the rows worked out by hand from the
// built-in documents are the ones named.
#include "compiled/element_index.hpp"

#include <gtest/gtest.h>

#include <map>

#include "compiled/compiled_scenario.hpp"
#include "documents/built_in_documents.hpp"

namespace scenario {
namespace {

std::string text_of(line_list lines) {
    std::string text;
    for (const std::string_view l : lines) {
        text += std::string(l) + "\r\n";
    }
    return text;
}

compiled_scenario compiled(const std::string& line, const std::string& train) {
    return compile({"S", "T", document_source{"S_linea.txt", line},
                    document_source{"S_T-.txt", train}, true, text_encoding::windows_1252,
                    timetable_options{}});
}

const compiled_scenario& example() {
    static const compiled_scenario c =
        compiled(text_of(line_document_lines()), text_of(train_document_lines()));
    return c;
}

// The keyword a row of each kind of element begins with.
const std::map<element_kind, std::string> keyword_of_kind = {
    {element_kind::station, "stazione"},       {element_kind::signal, "segnale"},
    {element_kind::board, "cartello_indicatore"}, {element_kind::speed_board, "indicatori_vmax"},
    {element_kind::slowdown, "rallentamento"}, {element_kind::tunnel, "montagna"},
    {element_kind::speed, "velocit"},          {element_kind::gradient, "pendenza"},
    {element_kind::adhesion, "aderenza"},      {element_kind::curve, "curva"},
};

TEST(ElementIndex, EveryElementOfTheExampleComesFromARowOfItsKind) {
    const compiled_scenario& c = example();
    ASSERT_TRUE(c.state.diagnostics.empty());
    ASSERT_EQ(c.elements().of(element_kind::station).size(), 13u);
    for (const element& e : c.elements().all()) {
        ASSERT_GE(e.row, 0) << "element " << static_cast<int>(e.kind) << " at " << e.position;
        const std::string text(row_text(c.state.trace, c.state.trace.rows[static_cast<std::size_t>(e.row)]));
        const auto want = keyword_of_kind.find(e.kind);
        if (want != keyword_of_kind.end()) {
            EXPECT_EQ(text.rfind(want->second, 0), 0u) << text;
        }
    }
}

TEST(ElementIndex, RowsWorkedOutByHand) {
    const compiled_scenario& c = example();
    const element_index& index = c.elements();
    const auto at = [&](element_kind kind, std::int32_t position) -> const element* {
        for (const element& e : index.of(kind)) {
            if (e.position == position) {
                return &e;
            }
        }
        return nullptr;
    };
    const auto line_of = [&](const element* e) {
        return c.state.trace.rows[static_cast<std::size_t>(e->row)].line;
    };
    // "pendenza,  700,   2" (line 56) fills cells 14 and 15: the step 700 to 800 m.
    const element* step = at(element_kind::gradient, 700);
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(line_of(step), 56);
    EXPECT_EQ(step->cell, 14);
    EXPECT_EQ(step->end, 800);
    EXPECT_EQ(step->value, 2);
    // "montagna,   29150,  32500,  11" (line 133): cells 583 to 649, type 11 as written.
    const element* tunnel = at(element_kind::tunnel, 29150);
    ASSERT_NE(tunnel, nullptr);
    EXPECT_EQ(line_of(tunnel), 133);
    EXPECT_EQ(tunnel->cell, 583);
    EXPECT_EQ(tunnel->end, 32500);
    EXPECT_EQ(tunnel->value, 11);
    // The first station (train document line 32) holds entry 1.
    const element* first = at(element_kind::station, 0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->entry, 1);
    EXPECT_EQ(c.state.trace.rows[static_cast<std::size_t>(first->row)].document,
              source_document::train);
    EXPECT_EQ(line_of(first), 32);
    // From a row back to what it made.
    const auto row = index.row_at(source_document::line, 56);
    ASSERT_TRUE(row.has_value());
    ASSERT_EQ(index.elements_of(*row).size(), 1u);
    EXPECT_EQ(&index.all()[static_cast<std::size_t>(index.elements_of(*row)[0])], step);
    EXPECT_TRUE(index.cells_of(*row).empty());  // a profile row holds no element cell
    const auto station_row = index.row_at(source_document::train, 32);
    ASSERT_TRUE(station_row.has_value());
    EXPECT_EQ(index.entry_of(*station_row), 1);
    EXPECT_EQ(index.entry_of(*index.row_at(source_document::line, 2)), voce_percorso);
}

TEST(ElementIndex, AZoneRowFillsTheEntryTheOrderingMovedItTo) {
    // The largest start goes to entry 81: "uno" (read into 83) moves there, "tre" to 82.
    const compiled_scenario c = compiled(
        "[generale]\r\nlunghezza percorso, 10000\r\nprogressiva chilometrica uno, 5000, 6000, 0\r\n"
        "progressiva chilometrica tre, 1000, 2000, 0\r\n[curve]\r\n[fine]\r\n",
        "[generale]\r\n[fine]\r\n");
    const element_index& index = c.elements();
    ASSERT_TRUE(index.row_at(source_document::line, 3).has_value());
    ASSERT_TRUE(index.row_at(source_document::line, 4).has_value());
    EXPECT_EQ(index.entry_of(*index.row_at(source_document::line, 3)), voce_zona_tre);
    EXPECT_EQ(index.entry_of(*index.row_at(source_document::line, 4)), voce_zona_due);
}

TEST(ElementIndex, AStepBeforeAnyRowHasNone) {
    // The gradient's first row at 1000 m: cells 0 to 19 keep the value before it.
    const compiled_scenario c = compiled(
        "[generale]\r\nlunghezza percorso, 5000\r\n[curve]\r\npendenza, 1000, 3\r\n[fine]\r\n",
        "[generale]\r\n[fine]\r\n");
    const auto steps = c.elements().of(element_kind::gradient);
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].row, -1);
    EXPECT_EQ(steps[0].end, 1000);
    EXPECT_EQ(steps[1].position, 1000);
    EXPECT_EQ(c.state.trace.rows[static_cast<std::size_t>(steps[1].row)].line, 4);
}

}  // namespace
}  // namespace scenario

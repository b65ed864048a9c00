#include "compiler/reading.hpp"

#include <cstring>
#include <stdexcept>
#include <utility>

#include "compiler/document_checks.hpp"
#include "compiler/grid_access.hpp"
#include "compiler/keyword_checks.hpp"
#include "compiler/messages.hpp"
#include "model/file_names.hpp"
#include "model/reader_failure.hpp"

namespace scenario {

bool section_header(std::string_view field) {
    return contains_exact(field, "[") && contains_exact(field, "]") && !field.starts_with('-');
}

std::vector<keyword_entry> bind_readers(document_part part,
                                        std::span<const reader_binding> readers) {
    const std::span<const keyword_description> described = keyword_descriptions(part);
    if (described.size() != readers.size()) {
        throw std::logic_error("a part's readers and its keywords differ in number");
    }
    std::vector<keyword_entry> table;
    for (std::size_t i = 0; i < readers.size(); ++i) {
        if (described[i].forms[0] != readers[i].form) {
            throw std::logic_error("the reader of \"" + std::string(readers[i].form) +
                                   "\" stands where the description has another keyword");
        }
        table.push_back({&described[i], readers[i].read});
    }
    return table;
}

reading::reading(run_state& s, document_store& d)
    : state(s),
      store(d),
      line_name(nome_documento_linea(s.nome_scenario)),
      train_name(nome_documento_treno(s.nome_scenario, s.nome_treno)) {}

shared_document reading::whole_document(const std::string& name, std::string_view which) {
    const std::string cannot = "the " + std::string(which) + " document cannot be opened";
    shared_document content;
    try {
        content = store.read(name);
    } catch (const failure& f) {
        throw reader_failure(cannot + ": " + f.reason());
    }
    if (!content) {
        throw reader_failure(cannot);
    }
    return content;
}

void reading::open(const std::string& name, shared_document content, source_document document_read) {
    document = name;
    which = document_read;
    part = section::before_general;
    held = std::move(content);
    text = *held;
    fields = field_reader(text);
    // Room for a trace row per line, asked for once: growing the rows by doubling would
    // copy them and touch twice the memory. The line document is read first and is
    // nearly always the longer, so it asks for a quarter more for the train document's.
    // A document of empty lines makes no rows: past the rows of the longest route's
    // documents, the rows grow as they come.
    constexpr std::size_t most_reserved = std::size_t{1} << 16;
    // The lines are counted up to that many only, a line break at a time.
    std::size_t lines = 1;
    for (std::size_t at = 0; lines < most_reserved && at < text.size(); ++lines) {
        const void* found = std::memchr(text.data() + at, '\n', text.size() - at);
        if (found == nullptr) {
            break;
        }
        at = static_cast<std::size_t>(static_cast<const char*>(found) - text.data()) + 1;
    }
    std::vector<source_row>& rows = state.trace.rows;
    const std::size_t wanted =
        rows.size() + (document_read == source_document::line ? lines + lines / 4 : lines);
    if (rows.capacity() < wanted) {
        rows.reserve(wanted);
    }
    keyword = {};
    keyword_place = field_place{};
    described = nullptr;
    entry_place.reset();
    entry_row = -1;
    keyword_warnings = true;
    row_start = false;
    quiet_line = 0;
    fine_line = 0;
    after_fine_warned = false;
    in_entry = false;
    cause.reset();
    early_keyword = {};
    known_keyword = {};
    check_document(*this);
}

void reading::read_keyword() {
    keyword = fields.text("keyword");
    keyword_place = fields.last();
    described = nullptr;
    entry_place.reset();
    entry_row = -1;
    state.riga.assign(keyword);
}

bool reading::next_keyword(std::span<const keyword_entry> table) {
    if (fields.at_end()) {
        return false;
    }
    row_start = fields.at_line_start();
    fields.forget_double_comma();
    read_keyword();
    if (fields.at_end()) {
        return false;
    }
    for (int remarks = 0; remarks < 2 && contains_exact(keyword, "-"); ++remarks) {
        check_remark(*this, table);
        const bool starts = fields.at_line_start();
        read_keyword();
        row_start = starts || row_start;
        if (fields.at_end()) {
            return false;
        }
    }
    return true;
}

outcome reading::act_on_keyword(std::span<const keyword_entry> table) {
    // The keyword field stays as it is while the entries read, so every test can be
    // made first. The tests see only the field's text (and the plan switch, the same for
    // the whole compile): a field written as the one before passes the same ones, as most
    // rows of a long document do.
    if (!last_tests.valid || last_tests.table.data() != table.data() ||
        last_tests.keyword != keyword) {
        std::uint32_t passed = 0;
        for (std::size_t i = 0; i < table.size(); ++i) {
            if (passes(table[i].description->test, keyword)) {
                passed |= 1u << i;
            }
        }
        last_tests.table = table;
        last_tests.keyword.assign(keyword);
        last_tests.passed = passed;
        last_tests.valid = true;
    }
    const std::uint32_t passed = last_tests.passed;
    check_keyword(*this, table, passed);
    if (passed == 0) {
        return outcome::go_on;
    }
    const std::size_t first = state.diagnostics.size();
    const std::size_t fields_before = fields.count();
    in_entry = true;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if ((passed & (1u << i)) != 0) {
            described = table[i].description;
            fields_taken = 0;
            if (const outcome o = table[i].read(*this); o != outcome::go_on) {
                in_entry = false;
                return o;
            }
        }
    }
    in_entry = false;
    check_row(*this, first, fields.count() - fields_before);
    if ((passed & (passed - 1)) == 0) {
        check_single_row(*this);
    }
    return outcome::go_on;
}

outcome reading::read_entries(std::span<const keyword_entry> table) {
    while (next_keyword(table)) {
        const outcome o = act_on_keyword(table);
        if (o == outcome::end_reading) {
            return o;
        }
        if (o == outcome::end_loop) {
            break;
        }
    }
    return outcome::go_on;
}

const field_description& reading::next_field(field_width width) {
    if (described == nullptr || fields_taken >= described->fields.size() ||
        described->fields[fields_taken].width != width) {
        throw std::logic_error("an entry reads a field its description does not give");
    }
    return described->fields[fields_taken++];
}

std::int32_t reading::chainage() {
    const auto p = number<std::int32_t>();
    entry_place = fields.last();
    entry_row = -1;
    return p;
}

cella& reading::cell(std::int64_t i) {
    return cell_at(state.celle, i);
}

voce& reading::entry(std::int64_t i) {
    if (i < 0 || i >= numero_voci) {
        throw reader_failure("header entry " + std::to_string(i) +
                             " is outside the table (0 to 86)");
    }
    return state.voci[static_cast<std::size_t>(i)];
}

bool reading::beyond_grid(std::int64_t p, std::int64_t margin) {
    // (p + margin) / 50 > N, exactly.
    if (p + margin <= metres_per_cell * last_cell(state.celle)) {
        const std::int32_t route = state.voci[voce_percorso].fine_area;
        if (p > route) {
            warn(warning::beyond_route, entry_place.value_or(keyword_place),
                 say(phrase::beyond_route, {std::to_string(p), std::to_string(route)}));
        }
        return false;
    }
    record(15, static_cast<std::int32_t>(p), entry_place.value_or(keyword_place));
    mark_stop();
    return true;
}

error_place reading::place_of(const field_place& place) const {
    return error_place{document, place.line, place.column, place.end_column,
                       std::string(fields.line_of(place))};
}

bool reading::left_empty(const field_place& place) const {
    if (!place.empty) {
        return false;
    }
    const std::string_view line = fields.line_of(place);
    const auto at = static_cast<std::size_t>(place.column - 1);
    return !(at >= 1 && at < line.size() && line[at] == ',' && line[at - 1] == ',');
}

void reading::record(std::int32_t number, std::optional<std::int32_t> position,
                     const field_place& place, std::vector<diagnostic_note> notes) {
    record_error(state, number, position, place_of(place), error_message(number), std::move(notes));
}

void reading::warn(warning w, const field_place& place, std::string message,
                   std::vector<diagnostic_note> notes, std::vector<diagnostic_fix> fixes) {
    record_warning(state, w, place_of(place), std::move(message), std::move(notes),
                   std::move(fixes));
}

diagnostic_fix reading::fix_at(const field_place& place, std::string replacement,
                               std::string title, bool certain) const {
    return diagnostic_fix{document,          place.line,       place.column, place.end_column,
                          std::move(replacement), std::move(title), certain};
}

diagnostic_fix reading::line_removal(int line, std::string title, bool certain) const {
    return diagnostic_fix{document, line, 0, 0, {}, std::move(title), certain};
}

void reading::warn_document(warning w, std::string message) {
    record_warning(state, w, error_place{document, 0, 0, 0, {}}, std::move(message));
}

diagnostic_note reading::note_at(const field_place& place, std::string message) const {
    return diagnostic_note{document, place.line, place.column, place.end_column,
                           std::move(message)};
}

std::int32_t reading::trace_row() {
    if (entry_row < 0) {
        const field_place& at = entry_place.value_or(keyword_place);
        const std::string_view line = fields.line_of(at);
        const auto offset = line.empty() ? 0 : static_cast<std::uint32_t>(line.data() - text.data());
        state.trace.rows.push_back(source_row{which, at.line, at.column, at.end_column, offset,
                                              static_cast<std::uint32_t>(line.size())});
        entry_row = static_cast<std::int32_t>(state.trace.rows.size() - 1);
    }
    return entry_row;
}

std::int32_t reading::trace_row(std::int32_t entry) {
    const std::int32_t row = trace_row();
    state.trace.rows[static_cast<std::size_t>(row)].entry = entry;
    return row;
}

void reading::stamp(std::int64_t cell) {
    if (cell >= 0 && cell < static_cast<std::int64_t>(state.trace.cells.size())) {
        state.trace.cells[static_cast<std::size_t>(cell)] = cell_origin{trace_row(), false};
    }
}

std::vector<diagnostic_note> reading::notes_on_cells(const std::vector<std::int64_t>& cells) const {
    for (const std::int64_t c : cells) {
        if (auto note = cell_note(state, c)) {
            return {std::move(*note)};
        }
    }
    return {};
}

outcome reading::end_with(std::int32_t number, std::optional<std::int32_t> position,
                          const field_place& place, std::vector<diagnostic_note> notes) {
    return end_with_message(number, position, place, error_message(number), std::move(notes));
}

outcome reading::end_with_message(std::int32_t number, std::optional<std::int32_t> position,
                                  const field_place& place, std::string message,
                                  std::vector<diagnostic_note> notes) {
    close_and_delete();
    record_error(state, number, position, place_of(place), std::move(message), std::move(notes));
    mark_stop();
    return outcome::end_reading;
}

void reading::mark_stop() {
    if (state.diagnostics.empty()) {
        return;
    }
    stops.push_back({state.diagnostics.size() - 1, fields.last().line});
    (document == train_name ? train_stopped : line_stopped) = true;
}

void reading::record_failure(const std::string& why) {
    if (cause) {
        record_error(state, 25, std::nullopt, cause->place, error_message(25, why),
                     std::move(cause->notes));
        mark_stop();
        return;
    }
    const field_place& at = fields.last();
    if (in_entry && fields.failed() && keyword_place.line > 0 && at.line > keyword_place.line) {
        // The line ended before this field: the error is the line's, just after its end;
        // where the reader looked for the field is a note.
        error_place place = place_of(keyword_place);
        std::string_view row = place.text;
        while (!row.empty() && (row.back() == ' ' || row.back() == '\t')) {
            row.remove_suffix(1);
        }
        place.column = static_cast<int>(row.size()) + 1;
        place.end_column = place.column;
        const std::string name(fields.last_name());
        std::string_view reason = why;
        if (reason.starts_with(name + ": ")) {
            reason.remove_prefix(name.size() + 2);
        }
        std::vector<diagnostic_note> notes{
            note_at(at, say(phrase::note_field_found_here, {name, reason}))};
        record_error(state, 25, std::nullopt, std::move(place),
                     error_message(25, say(phrase::detail_missing_field, {name})),
                     std::move(notes));
        mark_stop();
        return;
    }
    const field_place& place = fields.failed() || !entry_place ? at : *entry_place;
    record_error(state, 25, std::nullopt, place_of(place), error_message(25, why));
    mark_stop();
}

}  // namespace scenario
